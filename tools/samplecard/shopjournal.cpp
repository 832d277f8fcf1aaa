#include "shopjournal.h"

#include "receiptmaker.h"

#include <cmath>

namespace fiscora::sample {

namespace {

constexpr double UsualTakingsCents = 85000;
constexpr double WeekdayShares[] = {0.85, 0.9, 0.95, 1.0, 1.15, 1.5, 1.3}; // Monday to Sunday
constexpr double MonthShares[] = {0.8, 0.82, 0.9, 1.0, 1.1, 1.2, 1.3, 1.25, 1.1, 0.95, 0.9, 1.15};
// The spread of a day's takings around what its weekday and month lead to expect.
constexpr double TakingsSpread = 0.15;

double standardNormal(QRandomGenerator &random)
{
    // Box and Muller; 1 - u keeps the logarithm finite.
    const double u = 1 - random.generateDouble();
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * M_PI * random.generateDouble());
}

qint64 expectedTakingsCents(const QDate &date, QRandomGenerator &random)
{
    return qint64(UsualTakingsCents * WeekdayShares[date.dayOfWeek() - 1] * MonthShares[date.month() - 1]
                  * std::exp(TakingsSpread * standardNormal(random)));
}

} // namespace

ShopJournal::ShopJournal(const ShopOptions &options)
    : m_options(options)
{
    const OpeningHours hours(options.closedOn, options.publicHolidays);
    for (QDate date = options.firstDay; date <= options.lastDay; date = date.addDays(1)) {
        if (hours.isOpen(date))
            m_days.append(openDay(date, hours));
    }
    number();
}

void ShopJournal::manipulate(const Manipulation &manipulation)
{
    manipulation.apply(m_days, m_options.seed);
    number();
}

QList<QByteArray> ShopJournal::lines() const
{
    QList<QByteArray> lines;
    for (const ShopDay &day : m_days)
        lines += day.lines(m_options.registerNumber);
    return lines;
}

QList<QByteArray> ShopJournal::monthLines(const QDate &month) const
{
    QList<QByteArray> lines;
    for (const ShopDay &day : m_days) {
        if (day.date.year() == month.year() && day.date.month() == month.month())
            lines += day.lines(m_options.registerNumber);
    }
    return lines;
}

ShopDay ShopJournal::openDay(const QDate &date, const OpeningHours &hours) const
{
    ShopDay day;
    day.date = date;
    day.opens = hours.opens(date);
    day.closes = hours.closes(date);
    QRandomGenerator random = day.random(m_options.seed, 0);
    ReceiptMaker maker(random);
    day.receipts = maker.receiptsReaching(expectedTakingsCents(date, random));
    maker.spread(day.receipts, day.opens, day.closes);
    day.close();
    return day;
}

void ShopJournal::number()
{
    int line = 1;
    int receiptNumber = 1;
    int customer = 0;
    for (int report = 1; report <= m_days.size(); ++report) {
        ShopDay &day = m_days[report - 1];
        for (ShopReceipt &receipt : day.receipts) {
            receipt.firstLine = line;
            receipt.receiptNumber = receiptNumber++;
            receipt.customer = ++customer;
            line += receipt.lineCount();
        }
        day.closing.firstLine = line;
        day.closing.receiptNumber = receiptNumber++;
        day.closing.reportNumber = report;
        day.closing.customer = customer;
        line += ClosingReport::LineCount;
    }
}

} // namespace fiscora::sample
