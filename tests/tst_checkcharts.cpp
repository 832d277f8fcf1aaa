// The data of the check's charts, which the PDF report and the window draw alike.

#include "checkcharts.h"
#include "checkreport.h"

#include <QtTest>

using namespace fiscora::app;

namespace {

// A week of March 2019: takings on Monday, Tuesday and Thursday, Wednesday missing.
CheckReport week()
{
    CheckReport report;
    report.firstDay = QDate(2019, 3, 1);
    report.lastDay = QDate(2019, 3, 10);
    report.takingsType = "Zahlung";
    report.days[QDate(2019, 3, 4)].takingsCents = 12345;
    report.days[QDate(2019, 3, 5)].takingsCents = 20000;
    report.days[QDate(2019, 3, 7)].takingsCents = 5;
    report.missingDays = {QDate(2019, 3, 6)};
    report.paymentsByHour[9] = 30;
    report.paymentsByHour[23] = 1;
    report.usualHours = 1u << 9;
    for (int digit : {3, 3, 7})
        report.lastDigit.add(digit);
    return report;
}

} // namespace

class CheckChartsTest : public QObject
{
    Q_OBJECT

private slots:
    void takingsPerDay();
    void takingsPerWeek();
    void weekdayProfile();
    void digits();
    void paymentsByHour();
};

void CheckChartsTest::takingsPerDay()
{
    const ChartModel chart = CheckCharts::takingsPerDay(week());
    QCOMPARE(chart.values, QList<double>({0, 0, 0, 123.45, 200, 0, 0.05, 0, 0, 0}));
    QCOMPARE(chart.marked, QList<bool>({false, false, false, false, false, true, false, false, false, false}));
    QCOMPARE(chart.labels.value(0), QStringLiteral("03/2019"));
    QCOMPARE(chart.labels.value(1), QString());
    QCOMPARE(chart.title, QStringLiteral("Takings per day, 01.03.2019 to 10.03.2019"));
}

// Weeks start on Monday: the period's first days belong to the week of 25 February.
void CheckChartsTest::takingsPerWeek()
{
    const ChartModel chart = CheckCharts::takingsPerWeek(week());
    QCOMPARE(chart.values, QList<double>({0, 323.5}));
    QCOMPARE(chart.labels, QStringList({QStringLiteral("W9"), QString()}));
}

void CheckChartsTest::weekdayProfile()
{
    const ChartModel chart = CheckCharts::weekdayProfile(week());
    QCOMPARE(chart.values, QList<double>({123.45, 200, 0, 0.05, 0, 0, 0}));
    QCOMPARE(chart.labels.size(), 7);
}

void CheckChartsTest::digits()
{
    const ChartModel chart = CheckCharts::digits(week().lastDigit, QStringLiteral("Last digit"));
    QCOMPARE(chart.labels.first(), QStringLiteral("0"));
    QCOMPARE(chart.values, QList<double>({0, 0, 0, 2, 0, 0, 0, 1, 0, 0}));
    QCOMPARE(chart.expected.size(), 10);
    for (const double expected : chart.expected)
        QVERIFY(qFuzzyCompare(expected, 0.3));
}

void CheckChartsTest::paymentsByHour()
{
    const ChartModel chart = CheckCharts::paymentsByHour(week());
    QCOMPARE(chart.values.value(9), 30.0);
    QCOMPARE(chart.marked.indexOf(true), 23);
    QCOMPARE(chart.marked.count(true), 1);
}

QTEST_GUILESS_MAIN(CheckChartsTest)
#include "tst_checkcharts.moc"
