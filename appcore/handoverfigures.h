#ifndef FISCORA_APP_HANDOVERFIGURES_H
#define FISCORA_APP_HANDOVERFIGURES_H

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QMap>
#include <QString>

#include <optional>

namespace fiscora::app {

struct HandoverFacts;

/*!
 * The figures of a hand-over protocol, for machines: the file protokoll.json beside the table in
 * the archive's export folder. It holds the register, the period, the backup's name, MD5 and
 * SHA-256 values, the rows and the sums of Betrag and Steuer of the table and of each month, and
 * the SHA-256 value of every other file of the export folder. Amounts are written in euros with
 * two decimals, as text ("-2.50"), so that no reader takes them through a floating-point value:
 *
 * \code
 * {"serialNumber": "12345678", "period": {"first": "2019-01", "last": "2019-03"},
 *  "backup": {"name": "Backup_CR#12345678_complete.enc", "md5": "43c8...", "sha256": "4448..."},
 *  "months": [{"month": "2019-01", "rows": 8, "betrag": "399.54", "steuer": "63.75"}, ...],
 *  "total": {"rows": 24, "betrag": "1217.23", "steuer": "194.21"},
 *  "files": {"gdpdu-01-09-2004.dtd": "957e...", "gobd.csv": "1320...", "index.xml": "21b0..."}}
 * \endcode
 *
 * \code
 * const QByteArray json = HandoverFigures::of(facts).toJson();
 * archive.addFile(exportFolder + '/' + HandoverFigures::fileName(), json, facts.created);
 *
 * QString why;
 * const std::optional<HandoverFigures> figures = HandoverFigures::fromJson(json, &why);
 * if (!figures)
 *     report(why);
 * \endcode
 */
struct HandoverFigures
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::HandoverFigures)

public:
    //! The rows and sums of a month or of the whole period.
    struct Sums
    {
        qint64 rows = 0;
        qint64 betragCents = 0;
        qint64 steuerCents = 0;
    };

    //! The figures that the protocol of \a facts states.
    static HandoverFigures of(const HandoverFacts &facts);
    //! The name of the file in the export folder, the same in every language: "protokoll.json".
    static QString fileName();
    //! An amount as the figures write it: "-2.50" for -250 cents.
    static QString amount(qint64 cents);

    //! The figures that \a json holds; nothing, and \a why says why, when it holds none.
    static std::optional<HandoverFigures> fromJson(const QByteArray &json, QString *why);
    //! The figures as the JSON document of protokoll.json.
    QByteArray toJson() const;

    QString serialNumber;
    //! The first days of the period's first and last month.
    QDate firstMonth;
    QDate lastMonth;
    //! The backup's file name, and its MD5 and SHA-256 values in hexadecimal.
    QString backupName;
    QByteArray backupMd5;
    QByteArray backupSha256;
    //! By the first day of each month of the period.
    QMap<QDate, Sums> months;
    Sums total;
    //! The SHA-256 value of each file of the export folder but protokoll.json, by its name there.
    QMap<QString, QByteArray> sha256;
};

} // namespace fiscora::app

#endif // FISCORA_APP_HANDOVERFIGURES_H
