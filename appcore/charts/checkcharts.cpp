#include "checkcharts.h"

#include "checkreport.h"
#include "checkwords.h"

#include <QLocale>

namespace fiscora::app {

namespace {

double euros(qint64 cents)
{
    return double(cents) / 100;
}

} // namespace

QList<ChartModel> CheckCharts::of(const CheckReport &report)
{
    return {takingsPerDay(report),
            takingsPerWeek(report),
            weekdayProfile(report),
            digits(report.lastDigit, tr("Last digit before the decimal point of the daily takings")),
            digits(report.firstDecimal, tr("First digit after the decimal point of the daily takings")),
            digits(report.itemDigits, tr("First digits of the item amounts against Benford's law")),
            paymentsByHour(report)};
}

ChartModel CheckCharts::takingsPerDay(const CheckReport &report)
{
    ChartModel chart;
    chart.title = tr("Takings per day, %1 to %2").arg(CheckWords::day(report.firstDay), CheckWords::day(report.lastDay));
    chart.valueLabel = tr("Takings in €");
    chart.note = tr("Marked: days without records on which the business usually opens.");
    for (QDate day = report.firstDay; day <= report.lastDay; day = day.addDays(1)) {
        const auto found = report.days.find(day);
        chart.values << (found == report.days.end() ? 0 : euros(found->second.takingsCents));
        chart.marked << report.missingDays.contains(day);
        chart.labels << (day.day() == 1 ? CheckWords::month(day) : QString());
    }
    return chart;
}

// Weeks start on Monday; a week cut by the period's edge holds only its days in the period.
ChartModel CheckCharts::takingsPerWeek(const CheckReport &report)
{
    ChartModel chart;
    chart.title = tr("Takings per week");
    chart.valueLabel = tr("Takings in €");
    for (QDate monday = report.firstDay.addDays(1 - report.firstDay.dayOfWeek()); monday <= report.lastDay;
         monday = monday.addDays(7)) {
        qint64 cents = 0;
        for (auto day = report.days.lower_bound(monday); day != report.days.end() && day->first < monday.addDays(7); ++day)
            cents += day->second.takingsCents;
        chart.values << euros(cents);
        const int week = monday.weekNumber();
        chart.labels << (week % 4 == 1 ? tr("W%1").arg(week) : QString());
    }
    return chart;
}

ChartModel CheckCharts::weekdayProfile(const CheckReport &report)
{
    ChartModel chart;
    chart.title = tr("Mean takings per open day, by weekday");
    chart.valueLabel = tr("Takings in €");
    const std::array<double, 7> means = report.weekdayMeans();
    for (int weekday = 1; weekday <= 7; ++weekday) {
        chart.labels << QLocale().dayName(weekday, QLocale::ShortFormat);
        chart.values << means[size_t(weekday - 1)] / 100;
    }
    return chart;
}

ChartModel CheckCharts::digits(const DigitTest &test, const QString &title)
{
    ChartModel chart;
    chart.title = title;
    chart.valueLabel = tr("Count");
    chart.note = tr("Line: the count expected of figures that were not made up.");
    for (int digit = test.firstLawDigit(); digit <= 9; ++digit) {
        chart.labels << QString::number(digit);
        chart.values << double(test.count(digit));
        chart.expected << test.total() * test.expectedShare(digit);
    }
    return chart;
}

ChartModel CheckCharts::paymentsByHour(const CheckReport &report)
{
    ChartModel chart;
    chart.title = tr("Payments by hour of the day");
    chart.valueLabel = tr("Payments");
    chart.note = tr("Marked: hours with payments in which the journal usually has none.");
    for (int hour = 0; hour < 24; ++hour) {
        chart.labels << QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0'));
        chart.values << double(report.paymentsByHour[size_t(hour)]);
        chart.marked << (report.paymentsByHour[size_t(hour)] > 0 && !(report.usualHours & (1u << hour)));
    }
    return chart;
}

} // namespace fiscora::app
