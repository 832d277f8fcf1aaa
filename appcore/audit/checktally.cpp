#include "checktally.h"

#include <cmath>

namespace fiscora::app {

namespace {

constexpr int SecondsPerHour = 3600;

// The step of a positive amount on a scale of StepsPerDecade steps per power of ten from 1 cent.
int stepOf(qint64 cents)
{
    const int step = int(std::log10(double(cents)) * CheckTally::StepsPerDecade);
    return qBound(0, step, CheckTally::StepsPerDecade * CheckTally::Decades - 1);
}

} // namespace

CheckTally::CheckTally(const CheckTerms &terms)
    : m_terms(terms)
{
}

void CheckTally::take(const JournalRow &row)
{
    if (row.functionType.is(m_terms.paymentWay))
        ++entry(m_wayTypes, row.bookingType).count;
    if (row.bookingType.is(m_terms.takings))
        takePayment(row);
    else if (row.bookingType.is(m_terms.item) || row.bookingType.is(m_terms.cancellation)
             || row.bookingType.is(m_terms.itemReturn))
        takeItemLine(row);
}

void CheckTally::takePayment(const JournalRow &row)
{
    if (m_day == m_days.end() || m_day->first != row.date)
        m_day = m_days.try_emplace(row.date).first;
    DayTally &day = m_day->second;
    day.takingsCents += row.betragCents;
    ++day.payments;
    if (row.betragCents > 0)
        ++(row.functionName.is(m_terms.cash) ? day.cashSales : day.otherSales);
    if (row.time >= 0) {
        day.firstTime = day.firstTime < 0 ? row.time : qMin(day.firstTime, row.time);
        day.lastTime = qMax(day.lastTime, row.time);
        const int hour = row.time / SecondsPerHour;
        day.hours |= 1u << hour;
        ++m_byHour[size_t(row.date.dayOfWeek() - 1)][size_t(hour)];
    }
    ++entry(m_operators, row.operatorNumber).count;
    TallyEntry &kind = entry(m_kinds, row.functionName);
    ++kind.count;
    kind.cents += row.betragCents;
}

void CheckTally::takeItemLine(const JournalRow &row)
{
    TallyEntry &code = entry(m_taxCodes, row.taxCode);
    ++code.count;
    code.cents += row.betragCents;
    code.taxCents += row.steuerCents;
    if (row.bookingType.is(m_terms.cancellation))
        ++entry(m_operators, row.operatorNumber).cancellations;
    if (row.bookingType.is(m_terms.itemReturn))
        ++entry(m_operators, row.operatorNumber).returns;
    if (!row.bookingType.is(m_terms.item) || row.betragCents <= 0)
        return;
    m_itemDigits.add(DigitTest::firstDigit(row.betragCents));
    m_wholeEuroItems += row.betragCents % 100 == 0;
    ++m_itemSteps[size_t(stepOf(row.betragCents))];
}

qint64 CheckTally::itemQuantileCents(double share) const
{
    const qint64 wanted = qint64(std::ceil(share * m_itemDigits.total()));
    qint64 below = 0;
    for (size_t step = 0; step < m_itemSteps.size(); ++step) {
        below += m_itemSteps[step];
        if (below >= wanted && below > 0)
            return qint64(std::pow(10.0, double(step) / StepsPerDecade));
    }
    return 0;
}

// A journal has a handful of payment kinds, operators and tax codes, so a look along the list is
// quicker than a map, and a name is copied only the first time it comes up.
TallyEntry &CheckTally::entry(QList<TallyEntry> &entries, const FieldView &name)
{
    for (TallyEntry &known : entries) {
        if (name.is(known.name))
            return known;
    }
    entries.append({name.bytes()});
    return entries.last();
}

} // namespace fiscora::app
