#ifndef FISCORA_APP_CHECKTALLY_H
#define FISCORA_APP_CHECKTALLY_H

#include "digittest.h"
#include "rowsink.h"

#include <QByteArray>
#include <QDate>
#include <QList>

#include <array>
#include <map>

namespace fiscora::app {

//! The journal's words for the lines the check tells apart, by Buchungstyp and Funktionsname.
struct CheckTerms
{
    //! The payment lines, one closing each receipt: their Betrag summed are the takings.
    QByteArray takings = QByteArrayLiteral("Zahlung");
    //! The Funktionstyp of the lines that name a payment way, the payment lines among them.
    QByteArray paymentWay = QByteArrayLiteral("Finanzweg");
    //! The Funktionsname of a payment in cash.
    QByteArray cash = QByteArrayLiteral("Bar");
    QByteArray item = QByteArrayLiteral("Artikel");
    QByteArray cancellation = QByteArrayLiteral("Storno");
    QByteArray itemReturn = QByteArrayLiteral("Retoure");
};

//! What the payment lines of one day hold.
struct DayTally
{
    qint64 takingsCents = 0;
    //! Payment lines, and of those with a positive Betrag the ones in cash and the others.
    int payments = 0;
    int cashSales = 0;
    int otherSales = 0;
    //! Seconds since midnight of the day's first and last payment; -1 without a time.
    int firstTime = -1;
    int lastTime = -1;
    //! Bit h is set when a payment falls in hour h.
    quint32 hours = 0;
};

//! A payment kind (Funktionsname of the payment lines), an operator or a tax code, with its figures.
struct TallyEntry
{
    QByteArray name;
    //! Payments: lines; operators: receipts (their payment lines); tax codes: item lines.
    qint64 count = 0;
    qint64 cents = 0;
    qint64 taxCents = 0;
    qint64 cancellations = 0;
    qint64 returns = 0;
};

/*!
 * The figures of the auditors' tests, taken from each record as JournalFacts reads it: the
 * takings and payments of each day, the payments by kind and by hour of the weekday, the receipts,
 * cancellations and returns of each operator, Betrag and Steuer per StKz of the item lines, and
 * the first digits of the item amounts. Nothing of a row is copied unless a new name comes up.
 *
 * \code
 * CheckTally tally;
 * facts.setRowSink(&tally);
 * facts.addFile(table);
 * const DayTally &day = tally.days().at(QDate(2019, 3, 1));
 * \endcode
 */
class CheckTally : public RowSink
{
public:
    //! Item amounts are sorted into this many steps per power of ten, for the span they cover.
    static constexpr int StepsPerDecade = 20;
    static constexpr int Decades = 16;

    explicit CheckTally(const CheckTerms &terms = CheckTerms());

    void take(const JournalRow &row) override;

    const CheckTerms &terms() const { return m_terms; }
    //! The days with payment lines.
    const std::map<QDate, DayTally> &days() const { return m_days; }
    const QList<TallyEntry> &paymentKinds() const { return m_kinds; }
    //! The Buchungstyp values of the lines that name a payment way, with their lines: what else
    //! the takings could be taken from.
    const QList<TallyEntry> &paymentWayTypes() const { return m_wayTypes; }
    const QList<TallyEntry> &operators() const { return m_operators; }
    const QList<TallyEntry> &taxCodes() const { return m_taxCodes; }
    //! Payments by weekday (Monday 0) and hour.
    qint64 payments(int weekday, int hour) const { return m_byHour[size_t(weekday)][size_t(hour)]; }
    //! The first digits of the positive item amounts.
    const DigitTest &itemDigits() const { return m_itemDigits; }
    //! Positive item amounts that are whole euros.
    qint64 wholeEuroItems() const { return m_wholeEuroItems; }
    //! The item amount below which \a share of the positive item amounts lie, to a step.
    qint64 itemQuantileCents(double share) const;

private:
    void takePayment(const JournalRow &row);
    void takeItemLine(const JournalRow &row);
    static TallyEntry &entry(QList<TallyEntry> &entries, const FieldView &name);

    const CheckTerms m_terms;
    std::map<QDate, DayTally> m_days;
    // The day of the row before, for the many payments of a day in a row.
    std::map<QDate, DayTally>::iterator m_day = m_days.end();
    QList<TallyEntry> m_kinds;
    QList<TallyEntry> m_wayTypes;
    QList<TallyEntry> m_operators;
    QList<TallyEntry> m_taxCodes;
    std::array<std::array<qint64, 24>, 7> m_byHour{};
    DigitTest m_itemDigits{DigitTest::Benford};
    qint64 m_wholeEuroItems = 0;
    std::array<qint64, StepsPerDecade * Decades> m_itemSteps{};
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHECKTALLY_H
