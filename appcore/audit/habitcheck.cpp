#include "habitcheck.h"

#include "checkreport.h"
#include "checkwords.h"
#include "distributions.h"

#include <cmath>

namespace fiscora::app {

namespace {

constexpr quint32 EveryHour = (1u << 24) - 1;

QString hours(quint32 mask)
{
    QStringList spans;
    for (int hour = 0; hour < 24; ++hour) {
        if (!(mask & (1u << hour)))
            continue;
        int last = hour;
        while (last + 1 < 24 && (mask & (1u << (last + 1))))
            ++last;
        spans << QStringLiteral("%1–%2").arg(hour, 2, 10, QLatin1Char('0')).arg(last + 1, 2, 10, QLatin1Char('0'));
        hour = last;
    }
    return spans.join(QLatin1String(", "));
}

} // namespace

HabitCheck::HabitCheck(CheckReport &report, const CheckTally &tally)
    : m_report(report)
    , m_tally(tally)
{
    for (int weekday = 0; weekday < 7; ++weekday) {
        for (int hour = 0; hour < 24; ++hour)
            report.paymentsByHour[size_t(hour)] += tally.payments(weekday, hour);
    }
    findUsualHours();
}

void HabitCheck::findUsualHours()
{
    int days[7] = {};
    int withHour[7][24] = {};
    for (const auto &day : m_report.days) {
        const int weekday = day.first.dayOfWeek() - 1;
        ++days[weekday];
        for (int hour = 0; hour < 24; ++hour)
            withHour[weekday][hour] += (day.second.hours >> hour) & 1;
    }
    for (int weekday = 0; weekday < 7; ++weekday) {
        if (days[weekday] < WeekdaysNeeded) {
            m_usual[weekday] = EveryHour;
            continue;
        }
        for (int hour = 0; hour < 24; ++hour) {
            if (withHour[weekday][hour] >= UsualHourShare * days[weekday])
                m_usual[weekday] |= 1u << hour;
        }
        m_report.usualHours |= m_usual[weekday];
    }
}

QList<CheckFinding> HabitCheck::findings() const
{
    return {cashShare(QStringLiteral("cashByMonth"), tr("Share of cash among the sales, month by month"),
                      sharesBy(true), MonthsNeeded, true),
            cashShare(QStringLiteral("cashByDay"), tr("Share of cash among the sales, day by day"), sharesBy(false),
                      DaysNeeded, false),
            outsideHours(), cancellations()};
}

std::map<QDate, HabitCheck::Share> HabitCheck::sharesBy(bool month) const
{
    std::map<QDate, Share> groups;
    for (const auto &day : m_report.days) {
        Share &share = groups[month ? QDate(day.first.year(), day.first.month(), 1) : day.first];
        share.cash += day.second.cashSales;
        share.other += day.second.otherSales;
    }
    return groups;
}

// The chi-square test of homogeneity of the groups' counts of cash and other sales: if the
// share of cash is the same throughout, each group's counts differ from it by chance only.
CheckFinding HabitCheck::cashShare(const QString &name, const QString &title, const std::map<QDate, Share> &groups,
                                   int needed, bool byMonth) const
{
    CheckFinding finding;
    finding.test = name;
    finding.title = title;
    qint64 cash = 0;
    qint64 all = 0;
    for (const auto &group : groups) {
        cash += group.second.cash;
        all += group.second.cash + group.second.other;
    }
    const double mean = all > 0 ? double(cash) / all : 0;
    double statistic = 0;
    int counted = 0;
    for (const auto &group : groups) {
        const qint64 sales = group.second.cash + group.second.other;
        if (sales == 0)
            continue;
        ++counted;
        const double expected = sales * mean;
        const double deviation = group.second.cash - expected;
        const double variance = expected * (1 - mean);
        statistic += variance > 0 ? deviation * deviation / variance : 0;
        const double sigmas = variance > 0 ? deviation / std::sqrt(variance) : 0;
        if (byMonth || (sigmas < -LowDeviation && finding.details.size() < 20)) {
            finding.details << tr("%1: in cash %2 of the sales %3 (%4)")
                                       .arg(byMonth ? CheckWords::month(group.first) : CheckWords::day(group.first))
                                       .arg(group.second.cash)
                                       .arg(sales)
                                       .arg(CheckWords::share(double(group.second.cash) / sales));
        }
    }
    const int degrees = qMax(1, counted - 1);
    const double critical = Distributions::chiSquareCritical(degrees, FlagLevel);
    finding.figure = tr("chi² = %1; %3: %2; sales above zero: %4, in cash: %5 (%6), the lines of Buchungstyp "
                        "\"%7\" with Funktionsname \"%8\" against the others")
                             .arg(CheckWords::decimal(statistic))
                             .arg(counted)
                             .arg(byMonth ? tr("months") : tr("days"))
                             .arg(all)
                             .arg(cash)
                             .arg(CheckWords::share(mean), QString::fromLatin1(m_report.takingsType),
                                  QString::fromLatin1(m_tally.terms().cash));
    finding.threshold = tr("flagged above %1 (1 %, %2 degrees of freedom); needs %3 %4")
                                .arg(CheckWords::decimal(critical))
                                .arg(degrees)
                                .arg(needed)
                                .arg(byMonth ? tr("months") : tr("days"));
    if (cash == 0 || cash == all) {
        finding.verdict = CheckFinding::NotApplicable;
        finding.conclusion = tr("The sales are all paid one way: there is no share to compare.");
    } else if (counted < needed) {
        finding.verdict = CheckFinding::TooFew;
        finding.conclusion = tr("Too few %1 (%2): the test says nothing either way.")
                                     .arg(byMonth ? tr("months") : tr("days"))
                                     .arg(counted);
    } else if (statistic > critical) {
        finding.verdict = CheckFinding::Flagged;
        finding.conclusion = byMonth
            ? tr("The share of cash changes from month to month more than chance gives: an auditor comparing cash "
                 "and card payments over time asks why cash sales fell where they did (the months are below). "
                 "Explain what changed, such as prices, customers or a card terminal.")
            : tr("The share of cash changes from day to day more than chance gives: on the days below it is far "
                 "lower than usual, which an auditor takes for cash sales missing from those days. Explain them.");
    } else {
        finding.conclusion = tr("The share of cash stays as even as chance gives.");
    }
    if (!byMonth && finding.verdict != CheckFinding::Flagged)
        finding.details.clear();
    return finding;
}

CheckFinding HabitCheck::outsideHours() const
{
    CheckFinding finding;
    finding.test = QStringLiteral("outsideHours");
    finding.title = tr("Payments outside the usual hours");
    int days = 0;
    for (const auto &day : m_report.days) {
        const int weekday = day.first.dayOfWeek() - 1;
        const quint32 outside = day.second.hours & ~m_usual[weekday];
        if (!outside)
            continue;
        ++days;
        if (finding.details.size() < 20)
            finding.details << tr("%1 (%2): payments in %3, usually %4")
                                       .arg(CheckWords::day(day.first), CheckWords::weekday(weekday + 1), hours(outside),
                                            hours(m_usual[weekday]));
    }
    QStringList usual;
    for (int weekday = 0; weekday < 7; ++weekday) {
        if (m_usual[weekday] != EveryHour && m_usual[weekday] != 0)
            usual << tr("%1 %2").arg(CheckWords::weekday(weekday + 1), hours(m_usual[weekday]));
    }
    finding.figure = tr("days with payments outside the hours in which the journal usually has them: %1 (usual: %2)")
                             .arg(days)
                             .arg(usual.join(QLatin1String("; ")));
    finding.threshold = tr("an hour is usual on a weekday with payments on %1 of its days; weekdays with %2 days or "
                           "more are judged")
                                .arg(CheckWords::share(UsualHourShare))
                                .arg(WeekdaysNeeded);
    finding.verdict = days > 0 ? CheckFinding::Explain : CheckFinding::Passed;
    finding.conclusion = days > 0
        ? tr("An auditor looking at the payments by hour asks about those outside the usual hours: explain them "
             "(an event, a late delivery, a clock that was wrong).")
        : tr("Every payment falls in the hours in which the journal usually has them.");
    return finding;
}

CheckFinding HabitCheck::cancellations() const
{
    CheckFinding finding;
    finding.test = QStringLiteral("cancellations");
    finding.title = tr("Cancellations and returns by operator");
    qint64 receipts = 0;
    qint64 cancelled = 0;
    for (const TallyEntry &staff : m_tally.operators()) {
        receipts += staff.count;
        cancelled += staff.cancellations;
    }
    QStringList standing;
    for (const TallyEntry &staff : m_tally.operators()) {
        const qint64 otherReceipts = receipts - staff.count;
        const double share = staff.count > 0 ? double(staff.cancellations) / staff.count : 0;
        const double others = otherReceipts > 0 ? double(cancelled - staff.cancellations) / otherReceipts : 0;
        finding.details << tr("Bedienernummer %1: receipts %2, cancellations %3 (%4 of the receipts), returns %5")
                                   .arg(QString::fromLatin1(staff.name))
                                   .arg(staff.count)
                                   .arg(staff.cancellations)
                                   .arg(CheckWords::share(share))
                                   .arg(staff.returns);
        if (staff.cancellations >= CancellationsNeeded && share > CancellationFactor * others)
            standing << QString::fromLatin1(staff.name);
    }
    finding.figure = tr("cancellations (Buchungstyp \"%2\"): %1, receipts: %3, operators: %4")
                             .arg(cancelled)
                             .arg(QString::fromLatin1(m_tally.terms().cancellation))
                             .arg(receipts)
                             .arg(m_tally.operators().size());
    finding.threshold = tr("an operator stands out with %1 times the cancellations per receipt of the others and at least "
                           "%2 cancellations")
                                .arg(CheckWords::decimal(CancellationFactor, 0))
                                .arg(CancellationsNeeded);
    finding.verdict = standing.isEmpty() ? CheckFinding::Passed : CheckFinding::Explain;
    finding.conclusion = standing.isEmpty()
        ? tr("No operator cancels much more often than the others.")
        : tr("Bedienernummer %1 cancels far more often than the others: an auditor asks whether sales were "
             "cancelled after they were paid. Explain it (training, a difficult till) and keep the cancelled "
             "receipts at hand.")
                  .arg(standing.join(QLatin1String(", ")));
    return finding;
}

} // namespace fiscora::app
