#ifndef FISCORA_CARDLAYOUT_P_H
#define FISCORA_CARDLAYOUT_P_H

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>

namespace fiscora {

/*!
 * How a card lays out its registers and their data files, and what the reader therefore looks
 * for where: the serial-number folders a start path leads to (through a maker folder "KORVANE",
 * or up from a year folder), the year folders and monthly data files "yyMM.a03" of a date span,
 * and the names of the index file and of the backup.
 *
 * \code
 * for (const QString &folder : CardLayout::serialNumberFolders(cardPath))
 *     const QList<QFileInfo> files = CardLayout::dataFiles(folder, fromDate, toDate);
 * \endcode
 *
 * Dates: both invalid take everything; only \a fromDate valid takes the month that starts on
 * it; both valid take the months from \a fromDate to \a toDate; only \a toDate valid takes
 * nothing. The texts that become parts of file names are translated in the reader's context.
 */
class CardLayout
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::SDCardReader)

public:
    //! The serial-number folders that \a startPath leads to; each folder is searched once.
    static QStringList serialNumberFolders(const QString &startPath);

    //! 8 characters that are a number, or "G" or "g" and a 7-digit number.
    static bool isSerialNumber(const QString &name);

    //! The register's serial number as its files carry it, "CR#" in front unless \a withoutPrefix.
    static QString serialNumber(const QString &folder, bool withoutPrefix);

    //! The folder below \a folder that holds the year folders: \a folder itself, or a
    //! serial-number folder inside it or inside its maker folder.
    static QString yearPath(const QString &folder);

    //! The data files of the span in the register's \a folder, year by year, month by month.
    static QList<QFileInfo> dataFiles(const QString &folder, QDate fromDate, QDate toDate);
    static QList<QFileInfo> yearFolders(const QString &folder, const QDate &fromDate, const QDate &toDate);
    static QList<QFileInfo> monthlyFiles(const QString &yearFolder, const QDate &fromDate, const QDate &toDate);

    //! "complete", one month "201903", or a span "201901_201912".
    static QString reportLabel(const QDate &fromDate, const QDate &toDate);

    //! "Backup_CR#<serial number>_<label>.enc", the backup of the register in \a folder.
    static QString backupFileName(const QString &folder, const QDate &fromDate, const QDate &toDate);

    //! The register's index file, "<serial number>.a00" in its \a folder.
    static QString indexFilePath(const QString &folder);

    //! The month of a data file named after it, "yyMM"; invalid for any other name.
    static QDate dataFileMonth(const QFileInfo &file);
};

} // namespace fiscora

#endif // FISCORA_CARDLAYOUT_P_H
