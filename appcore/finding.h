#ifndef FISCORA_APP_FINDING_H
#define FISCORA_APP_FINDING_H

#include <QCoreApplication>
#include <QString>

namespace fiscora::app {

/*!
 * One thing wrong with an export: where it is and what it is. A report prints toString(); a
 * machine-readable one takes the members.
 *
 * \code
 * const Finding finding{QStringLiteral("gobd.csv"), 17, QStringLiteral("Betrag"),
 *                       QStringLiteral("\"37,5\" is not a number with 2 decimals.")};
 * finding.toString(); // "gobd.csv, line 17, column Betrag: \"37,5\" is not a number with 2 decimals."
 * \endcode
 */
struct Finding
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::Finding)

public:
    //! The file, relative to the export folder ("gobd.csv", "index.xml").
    QString file;
    //! The line in the file, counted from 1; 0 when the finding concerns the whole file.
    qint64 line = 0;
    //! The table column the finding concerns, or nothing.
    QString column;
    //! What is wrong, one translated sentence.
    QString text;

    //! The finding as one line of text, with its place in front of the text.
    QString toString() const;

    //! A file that an export needs is not there.
    static Finding fileMissing(const QString &file);
    //! A file is there but cannot be read, for the system's \a reason.
    static Finding fileUnreadable(const QString &file, const QString &reason);
};

} // namespace fiscora::app

#endif // FISCORA_APP_FINDING_H
