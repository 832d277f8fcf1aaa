#ifndef FISCORA_SAMPLE_SHOPJOURNAL_H
#define FISCORA_SAMPLE_SHOPJOURNAL_H

#include "manipulation.h"
#include "openinghours.h"
#include "shopday.h"

#include <QByteArray>
#include <QDate>
#include <QList>

namespace fiscora::sample {

//! What the shop's journal covers.
struct ShopOptions
{
    QDate firstDay = QDate(2019, 1, 1);
    QDate lastDay = QDate(2019, 12, 31);
    //! The first field of each line, a digit or A to H; "Kasse" and it name the register.
    char registerNumber = '1';
    quint32 seed = 1;
    //! The weekday (Qt::DayOfWeek) on which the shop stays closed; 0 opens it every day of the week.
    int closedOn = Qt::Sunday;
    //! Whether the shop closes on the public holidays that all of Germany keeps.
    bool publicHolidays = true;
};

/*!
 * The journal of a café with a bakery counter over a period, as its register writes it: on each
 * day it opens (OpeningHours), receipts between opening and closing time of article lines
 * (Buchungstyp "Artikel", cancellations "Storno", returns "Retoure"; Funktionstyp "PLU") followed
 * by one payment line (Buchungstyp "Zahlung", Funktionstyp "Finanzweg", "Bar" or "EC-Karte"),
 * then the closing report (Buchungstyp "Bericht", last line "Z-Bericht") at closing time. The
 * Zeilennummer, the Bonnummer (closing reports have one too) and the Kundenzähler (receipts only)
 * count on from 1 over the whole journal.
 *
 * The takings follow the weekday (Saturday strongest), the season (summer and December strongest)
 * and chance, so that their digits pass the tests auditors run on honest journals. Everything
 * comes from the seed and the date: a day is the same whatever period holds it.
 *
 * \code
 * ShopOptions options;
 * options.seed = 7;
 * ShopJournal journal(options);
 * journal.manipulate(Manipulation(ManipulationKind::CutTakings, QDate(2019, 3, 1), QDate(2019, 3, 31)));
 * const QList<QByteArray> march = journal.monthLines(QDate(2019, 3, 1));
 * \endcode
 */
class ShopJournal
{
public:
    explicit ShopJournal(const ShopOptions &options = ShopOptions());

    //! Applies \a manipulation and numbers the journal anew; lines taken off the card keep
    //! their numbers.
    void manipulate(const Manipulation &manipulation);

    //! The days on which the shop was open.
    const QList<ShopDay> &days() const { return m_days; }
    //! Every line, each at most 256 bytes and ending in "\r\n".
    QList<QByteArray> lines() const;
    //! The lines of the month of \a month.
    QList<QByteArray> monthLines(const QDate &month) const;

private:
    ShopDay openDay(const QDate &date, const OpeningHours &hours) const;
    void number();

    ShopOptions m_options;
    QList<ShopDay> m_days;
};

} // namespace fiscora::sample

#endif // FISCORA_SAMPLE_SHOPJOURNAL_H
