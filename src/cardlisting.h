#ifndef FISCORA_CARDLISTING_H
#define FISCORA_CARDLISTING_H

#include "fiscora.h"
#include "indexfileanalyser.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

namespace fiscora {

/*!
 * What a card holds, as a read of it would find it, without writing anything: the registers that
 * a start path leads to and, for each, the data files of a date span, what its index file
 * announces and the month index a backup would get, or why a read of the register would fail.
 * The rules are the reader's own, so a listing and a read never disagree.
 *
 * \code
 * for (const fiscora::CardListing::Register &cashRegister : fiscora::CardListing::list(cardPath, from, to)) {
 *     if (!cashRegister.error.isEmpty())
 *         show(cashRegister.serialNumber, cashRegister.error, cashRegister.hint);
 *     else
 *         showMonths(cashRegister.index.getIndexMap());
 * }
 * \endcode
 *
 * Dates are taken as SDCardReader::startReading() takes them. Listing reads the directories and
 * the index files only; it is quick enough for the thread of a window, but blocks on a slow medium.
 */
class FISCORA_EXPORT CardListing
{
public:
    //! One register as a read would find it.
    struct Register
    {
        //! The register's serial-number folder.
        QString folder;
        //! Its serial number, without "CR#".
        QString serialNumber;
        //! The name a read gives its backup file in the target folder.
        QString backupFileName;
        //! The data files of the span, by month (the first day of each).
        QMap<QDate, QString> dataFiles;
        //! The data files that cannot be opened for reading; a read leaves their months out.
        QList<QDate> unreadableMonths;
        //! Whether the index file could be read.
        bool indexRead = false;
        //! The month index a backup would carry, with its serial number; empty when error is set.
        IndexFileAnalyser index;
        //! What a read of the register would fail with, and the hint to it; both empty when it would not.
        QString error;
        QString hint;

        //! Whether the index file announces data for \a month, which lies in the span.
        bool announces(const QDate &month) const;
    };

    /*!
     * The registers that \a startPath leads to, in the order in which a read takes them; empty
     * when it leads to none (a read then fails with "No valid serial number folder found!").
     * The errors name the backup files in \a targetPath, where a read would write them.
     */
    static QList<Register> list(const QString &startPath, const QDate &fromDate, const QDate &toDate,
                                const QString &targetPath = QStringLiteral("."));

    //! The label a read gives the backup of a span: "complete", one month "201903", or "201901_201912".
    static QString reportLabel(const QDate &fromDate, const QDate &toDate);
};

} // namespace fiscora

#endif // FISCORA_CARDLISTING_H
