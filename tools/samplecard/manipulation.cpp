#include "manipulation.h"

#include "receiptmaker.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace fiscora::sample {

namespace {

constexpr int DeletedShare = 8;     // delete-receipts: one cash sale in this many
constexpr int MaxDeletedRun = 4;    // delete-lines: receipts in a run
constexpr qint64 CutPercent = 30;   // cut-takings
// Figures people make up end in a few digits they like, in whole or half euros.
constexpr int FavouriteDigits[] = {0, 5, 8};

// The day's cash sales in random order.
QList<int> cashSales(const ShopDay &day, QRandomGenerator &random)
{
    QList<int> sales;
    for (int i = 0; i < day.receipts.size(); ++i) {
        if (day.receipts.at(i).way == PaymentWay::Cash && day.receipts.at(i).totalCents() > 0)
            sales.append(i);
    }
    // Fisher and Yates by hand: std::shuffle differs between standard libraries, the cards must not.
    for (int i = int(sales.size()) - 1; i > 0; --i)
        sales.swapItemsAt(i, random.bounded(i + 1));
    return sales;
}

void removeReceipts(ShopDay &day, QList<int> indices)
{
    std::sort(indices.begin(), indices.end(), std::greater<int>());
    for (const int index : indices)
        day.receipts.removeAt(index);
    day.close();
}

void deleteLines(ShopDay &day, QRandomGenerator &random)
{
    if (day.receipts.isEmpty())
        return;
    const int first = random.bounded(int(day.receipts.size()));
    const int last = qMin(int(day.receipts.size()), first + 1 + random.bounded(MaxDeletedRun));
    for (int i = first; i < last; ++i)
        day.receipts[i].linesDeleted = true;
}

void deleteReceipts(ShopDay &day, QRandomGenerator &random)
{
    const QList<int> sales = cashSales(day, random);
    removeReceipts(day, sales.mid(0, qMax(1, int(sales.size()) / DeletedShare)));
}

void cutTakings(ShopDay &day, QRandomGenerator &random)
{
    if (random.bounded(2) == 0)
        return;
    const qint64 cut = (day.takingsCents() * CutPercent + 99) / 100;
    QList<int> taken;
    qint64 takenCents = 0;
    for (const int sale : cashSales(day, random)) {
        if (takenCents >= cut)
            break;
        taken.append(sale);
        takenCents += day.receipts.at(sale).totalCents();
    }
    removeReceipts(day, taken);
}

qint64 inventedCents(qint64 takingsCents, QRandomGenerator &random)
{
    const qint64 euros = takingsCents * (75 + random.bounded(16)) / 10000;
    const int digit = FavouriteDigits[random.bounded(int(std::size(FavouriteDigits)))];
    const int cents = random.bounded(10) < 3 ? 50 : 0;
    return (euros / 10 * 10 + digit) * 100 + cents;
}

void inventTakings(ShopDay &day, QRandomGenerator &random)
{
    const qint64 invented = inventedCents(day.takingsCents(), random);
    ReceiptMaker maker(random);
    day.receipts = maker.receiptsMaking(invented);
    maker.spread(day.receipts, day.opens, day.closes);
    day.close();
}

// A span of days: "2019-03" for a month, "2019-03-05" for a day, "2019-03-01..2019-03-14".
bool readSpan(const QString &text, QDate &first, QDate &last)
{
    const QDate month = QDate::fromString(text, QStringLiteral("yyyy-MM"));
    if (month.isValid()) {
        first = month;
        last = month.addMonths(1).addDays(-1);
        return true;
    }
    const QStringList ends = text.split(QStringLiteral(".."));
    first = QDate::fromString(ends.first(), QStringLiteral("yyyy-MM-dd"));
    last = QDate::fromString(ends.last(), QStringLiteral("yyyy-MM-dd"));
    return ends.size() <= 2 && first.isValid() && last.isValid() && first <= last;
}

} // namespace

Manipulation::Manipulation(ManipulationKind kind, const QDate &first, const QDate &last)
    : m_kind(kind)
    , m_first(first)
    , m_last(last)
{
}

std::optional<Manipulation> Manipulation::fromText(const QString &text)
{
    const int kind = kindNames().indexOf(text.section(QLatin1Char('@'), 0, 0));
    QDate first;
    QDate last;
    if (kind < 0 || text.count(QLatin1Char('@')) != 1 || !readSpan(text.section(QLatin1Char('@'), 1), first, last))
        return std::nullopt;
    return Manipulation(ManipulationKind(kind), first, last);
}

QStringList Manipulation::kindNames()
{
    return {QStringLiteral("delete-lines"), QStringLiteral("delete-receipts"), QStringLiteral("invent-takings"),
            QStringLiteral("cut-takings")};
}

void Manipulation::apply(QList<ShopDay> &days, quint32 seed) const
{
    using Change = void (*)(ShopDay &, QRandomGenerator &);
    static const Change changes[] = {deleteLines, deleteReceipts, inventTakings, cutTakings};
    for (ShopDay &day : days) {
        if (day.date < m_first || day.date > m_last)
            continue;
        // Each kind draws on a chance of its own, so that one does not shift the next.
        QRandomGenerator random = day.random(seed, 1 + quint32(m_kind));
        changes[int(m_kind)](day, random);
    }
}

} // namespace fiscora::sample
