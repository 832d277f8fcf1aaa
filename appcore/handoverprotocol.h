#ifndef FISCORA_APP_HANDOVERPROTOCOL_H
#define FISCORA_APP_HANDOVERPROTOCOL_H

#include <fiscora/indexfileanalyser.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QMap>
#include <QString>
#include <QStringList>

namespace fiscora::app {

//! What the export holds of one month of the period handed over.
struct MonthSummary
{
    QDate month; //!< its first day
    IndexFileAnalyser::IndexStatus status = IndexFileAnalyser::INDEX_OK;
    qint64 records = 0;
    qint64 betragCents = 0; //!< the sum of the field Betrag over the month's records, in cents
    qint64 steuerCents = 0; //!< the sum of the field Steuer, in cents
    //! What keeps the month from passing, in words; nothing when it is OK.
    QStringList faults;
};

//! What a hand-over protocol states.
struct HandoverFacts
{
    QString serialNumber; //!< of the cash register, "12345678"
    QString backupFile;   //!< the backup file the export was made from, as given
    QString source;       //!< where the backup's data came from, in words
    QDate firstMonth;     //!< the first day of the period's first month
    QDate lastMonth;      //!< the first day of the period's last month
    QList<MonthSummary> months;
    qint64 records = 0; //!< the rows of the table file
    //! What was repaired or could not be read, and the other flagged report lines, as the export
    //! reported them; a "<br>" in one starts a new line.
    QStringList problems;
    QByteArray storedMd5;   //!< the MD5 value in the backup header
    QByteArray computedMd5; //!< the MD5 value computed over the backup's data
    QByteArray backupSha256; //!< the SHA-256 value of the whole backup file, in hexadecimal
    //! The SHA-256 value of each file of the export folder, by its name there, in hexadecimal.
    QMap<QString, QByteArray> sha256;
    QString toolVersion;    //!< "fiscora 1.3.0"
    QDateTime created;
    QString exportFolder; //!< the export's folder inside the archive, "CR#12345678/201901_201903"
};

/*!
 * The protocol an auditor gets with a hand-over archive: an A4 PDF that names the register, the
 * period, the backup with its MD5 proof and SHA-256 value, the index status, records and sums of
 * Betrag and Steuer of every month, what the export reported, and the SHA-256 value of every file
 * of the export folder, so that the printed and signed protocol pins the data. Its texts are those of the installed translation; dates,
 * numbers and amounts are written as \a locale writes them, so the caller passes the locale of
 * that translation's language.
 *
 * \code
 * const QByteArray pdf = HandoverProtocol(QLocale(QLocale::German)).pdf(facts);
 * archive.addFile(HandoverProtocol::fileName(), pdf, facts.created);
 * \endcode
 *
 * The PDF is laid out with the system's fonts, which needs a QGuiApplication (the offscreen
 * platform will do).
 */
class HandoverProtocol
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::HandoverProtocol)

public:
    explicit HandoverProtocol(const QLocale &locale = QLocale());

    //! The protocol of \a facts as a PDF document.
    QByteArray pdf(const HandoverFacts &facts) const;
    //! The protocol of \a facts as the HTML the PDF is laid out from, for showing it in a window.
    QString html(const HandoverFacts &facts) const;

    //! The protocol's name in a hand-over archive, the same in every language: "protokoll.pdf".
    static QString fileName();

private:
    QString factsTable(const HandoverFacts &facts) const;
    QString md5Table(const HandoverFacts &facts) const;
    QString monthsTable(const QList<MonthSummary> &months) const;
    QString sha256Table(const QMap<QString, QByteArray> &sha256) const;
    QString reportList(const QStringList &problems) const;
    QString period(const HandoverFacts &facts) const;
    QString monthName(const QDate &month) const;
    QString money(qint64 cents) const;

    QLocale m_locale;
};

} // namespace fiscora::app

#endif // FISCORA_APP_HANDOVERPROTOCOL_H
