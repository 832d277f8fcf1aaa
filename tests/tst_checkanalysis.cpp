// The auditors' tests of a journal: their figures on small journals made by hand, the worked
// figures auditors publish, and their power on the sample shop's journals, honest and manipulated.

#include "checkanalysis.h"
#include "checktally.h"
#include "distributions.h"
#include "journalfacts.h"
#include "shopjournal.h"
#include "shopline.h"

#include <QBuffer>
#include <QtTest>

#include <cmath>

using namespace fiscora::app;
using namespace fiscora::sample;

namespace {

// Journals made line by line: a receipt is an article line and its payment line.
class HandJournal
{
public:
    void receipt(const QDate &date, const QTime &time, qint64 cents, const QByteArray &way = "Bar", int staff = 1)
    {
        ShopLine line = next(date, time, staff);
        line.bookingType = "Artikel";
        line.functionType = "PLU";
        line.amountCents = cents;
        line.taxCode = 1;
        append(line);
        line.bookingType = "Zahlung";
        line.functionType = "Finanzweg";
        line.functionName = way;
        line.taxCode = 0;
        append(line);
        ++m_receipt;
    }
    void cancellation(const QDate &date, int staff)
    {
        ShopLine line = next(date, QTime(12, 0), staff);
        line.bookingType = "Storno";
        line.amountCents = -100;
        append(line);
    }
    //! Leaves out \a lines line numbers and \a receipts receipt numbers.
    void skip(int lines, int receipts = 0)
    {
        m_line += lines;
        m_receipt += receipts;
    }
    const QList<QByteArray> &lines() const { return m_lines; }

private:
    ShopLine next(const QDate &date, const QTime &time, int staff) const
    {
        ShopLine line;
        line.date = date;
        line.time = time;
        line.receiptNumber = m_receipt;
        line.operatorNumber = staff;
        return line;
    }
    void append(ShopLine &line)
    {
        line.lineNumber = m_line++;
        m_lines << line.bytes();
    }

    QList<QByteArray> m_lines;
    int m_line = 1;
    int m_receipt = 1;
};

CheckReport check(const QList<QByteArray> &lines, const QDate &firstMonth = QDate(), const QDate &lastMonth = QDate())
{
    CheckTally tally;
    JournalFacts facts(TableLayout::ofExports(), firstMonth, lastMonth);
    facts.setRowSink(&tally);
    QByteArray table = QByteArrayList(lines).join();
    QBuffer in(&table);
    in.open(QIODevice::ReadOnly);
    facts.addDevice(in);
    return CheckAnalysis::analyse(facts, tally);
}

CheckFinding finding(const CheckReport &report, const QString &test)
{
    for (const CheckFinding &candidate : report.findings) {
        if (candidate.test == test)
            return candidate;
    }
    return CheckFinding();
}

QStringList flaggedTests(const CheckReport &report)
{
    QStringList tests;
    for (const CheckFinding &candidate : report.findings) {
        if (candidate.verdict == CheckFinding::Flagged)
            tests << candidate.test;
    }
    return tests;
}

// The days of a span on which the journal has takings, \a skipped left out.
QList<QDate> daysFrom(const QDate &first, int count, const QList<int> &skippedWeekdays = {})
{
    QList<QDate> days;
    for (QDate day = first; days.size() < count; day = day.addDays(1)) {
        if (!skippedWeekdays.contains(day.dayOfWeek()))
            days << day;
    }
    return days;
}

CheckReport shopYear(quint32 seed, const QString &manipulation = QString())
{
    ShopOptions options;
    options.seed = seed;
    ShopJournal journal(options);
    if (!manipulation.isEmpty())
        journal.manipulate(Manipulation::fromText(manipulation).value());
    return check(journal.lines());
}

const int WorkedDigitCounts[] = {14, 32, 38, 25, 34, 12, 45, 18, 43, 39};

} // namespace

class CheckAnalysisTest : public QObject
{
    Q_OBJECT

private slots:
    void criticalValues_data();
    void criticalValues();
    void workedLastDigitExample();
    void benfordFigures_data();
    void benfordFigures();
    void benfordVerdict_data();
    void benfordVerdict();
    void wholeEuroPrices();
    void numbering_data();
    void numbering();
    void gapAtDamage();
    void missingDays();
    void missingMonths();
    void roundTakings_data();
    void roundTakings();
    void cashShareByMonth();
    void outsideHours();
    void cancellations();
    void honestJournals();
    void manipulations_data();
    void manipulations();
};

void CheckAnalysisTest::criticalValues_data()
{
    QTest::addColumn<int>("degrees");
    QTest::addColumn<double>("level");
    QTest::addColumn<int>("hundredths");
    QTest::newRow("digits at 5 %") << 9 << 0.05 << 1692;
    QTest::newRow("digits at 1 %") << 9 << 0.01 << 2167;
    QTest::newRow("digits at 0.1 %") << 9 << 0.001 << 2788;
    QTest::newRow("first digits at 5 %") << 8 << 0.05 << 1551;
    QTest::newRow("first digits at 1 %") << 8 << 0.01 << 2009;
    QTest::newRow("twelve months at 1 %") << 11 << 0.01 << 2472;
    QTest::newRow("three hundred days at 1 %") << 299 << 0.01 << 35881;
}

void CheckAnalysisTest::criticalValues()
{
    QFETCH(int, degrees);
    QFETCH(double, level);
    QFETCH(int, hundredths);
    const double critical = Distributions::chiSquareCritical(degrees, level);
    QCOMPARE(qRound(critical * 100), hundredths);
    QVERIFY(qAbs(Distributions::chiSquareTail(critical, degrees) - level) < 1e-9);
}

// The restaurant's 300 days of the auditors' worked example: Σ (o − e)² = 1,308 and chi² = 43.6.
void CheckAnalysisTest::workedLastDigitExample()
{
    HandJournal journal;
    const QList<QDate> days = daysFrom(QDate(2019, 1, 1), 300);
    int day = 0;
    for (int digit = 0; digit < 10; ++digit) {
        for (int count = 0; count < WorkedDigitCounts[digit]; ++count, ++day)
            journal.receipt(days.at(day), QTime(12, 0), 100000 + digit * 100 + 1 + day % 98);
    }
    const CheckReport report = check(journal.lines());
    const CheckFinding lastDigit = finding(report, QStringLiteral("lastDigit"));
    QCOMPARE(lastDigit.verdict, CheckFinding::Flagged);
    QCOMPARE(lastDigit.figure, QStringLiteral("chi² = 43.60; days with takings: 300, 01.01.2019 to 27.10.2019, the "
                                              "Betrag of the lines of Buchungstyp \"Zahlung\""));
    QCOMPARE(lastDigit.threshold, QStringLiteral("flagged above 21.67 (1 %, 9 degrees of freedom), worth a look above "
                                                 "16.92 (5 %); needs 50 days"));
    QCOMPARE(lastDigit.details.value(0).left(44), QStringLiteral("0: 14 (expected 30.0), 1: 32 (expected 30.0)"));
    QCOMPARE(report.lastDigit.count(6), 45);
}

void CheckAnalysisTest::benfordFigures_data()
{
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<int>("madTenThousandths");
    QTest::addColumn<int>("chiSquareHundredths");
    QTest::newRow("all ones") << QList<int>{100, 0, 0, 0, 0, 0, 0, 0, 0} << 1553 << 23219;
    QTest::newRow("as the law has it") << QList<int>{301, 176, 125, 97, 79, 67, 58, 51, 46} << 1 << 0;
    QTest::newRow("evenly") << QList<int>{100, 100, 100, 100, 100, 100, 100, 100, 100} << 597 << 36153;
}

void CheckAnalysisTest::benfordFigures()
{
    QFETCH(QList<int>, counts);
    QFETCH(int, madTenThousandths);
    QFETCH(int, chiSquareHundredths);
    DigitTest test(DigitTest::Benford);
    for (int digit = 1; digit <= 9; ++digit) {
        for (int i = 0; i < counts.at(digit - 1); ++i)
            test.add(DigitTest::firstDigit(digit * 1000 + 234));
    }
    QCOMPARE(qRound(test.meanAbsoluteDeviation() * 10000), madTenThousandths);
    QCOMPARE(qRound(test.chiSquare() * 100), chiSquareHundredths);
    QCOMPARE(test.degreesOfFreedom(), 8);
}

void CheckAnalysisTest::benfordVerdict_data()
{
    QTest::addColumn<int>("decades");
    QTest::addColumn<int>("firstDigit");
    QTest::addColumn<int>("verdict");
    // 600 amounts from 1 € up, evenly on a logarithmic scale over the decades, as Benford's law has it.
    QTest::newRow("a price list of one decade") << 1 << 0 << int(CheckFinding::NotApplicable);
    QTest::newRow("three decades") << 3 << 0 << int(CheckFinding::Passed);
    QTest::newRow("four decades, all made up with a 5") << 4 << 5 << int(CheckFinding::Flagged);
}

void CheckAnalysisTest::benfordVerdict()
{
    QFETCH(int, decades);
    QFETCH(int, firstDigit);
    QFETCH(int, verdict);
    HandJournal journal;
    for (int i = 0; i < 600; ++i) {
        qint64 cents = qRound64(100 * std::pow(10.0, decades * (i + 0.5) / 600));
        if (firstDigit > 0)
            cents = firstDigit * qint64(std::pow(10.0, std::floor(std::log10(double(cents))))) + cents % 97;
        journal.receipt(QDate(2019, 3, 1).addDays(i / 20), QTime(9, 0).addSecs(i), cents);
    }
    const CheckFinding benford = finding(check(journal.lines()), QStringLiteral("benford"));
    QVERIFY2(int(benford.verdict) == verdict, qPrintable(benford.figure + " | " + benford.details.join(" | ")));
}

// Whole-euro prices make whole-euro takings, whose cents say nothing: the test does not apply.
void CheckAnalysisTest::wholeEuroPrices()
{
    HandJournal journal;
    for (const QDate &day : daysFrom(QDate(2019, 1, 1), 60))
        journal.receipt(day, QTime(9, 0), 100 * (300 + day.dayOfYear() * 7));
    const CheckReport report = check(journal.lines());
    const CheckFinding decimal = finding(report, QStringLiteral("firstDecimal"));
    QCOMPARE(decimal.verdict, CheckFinding::NotApplicable);
    QVERIFY2(decimal.conclusion.startsWith(QStringLiteral("100.0 % of the item amounts are whole euros")),
             qPrintable(decimal.conclusion));
    // The days in whole euros are flagged all the same: an auditor sees them.
    QCOMPARE(finding(report, QStringLiteral("roundTakings")).verdict, CheckFinding::Flagged);
}

void CheckAnalysisTest::numbering_data()
{
    QTest::addColumn<int>("skippedLines");
    QTest::addColumn<int>("skippedReceipts");
    QTest::addColumn<QString>("lineFigure");
    QTest::addColumn<QStringList>("lineDetails");
    QTest::addColumn<QString>("receiptFigure");
    QTest::newRow("whole") << 0 << 0 << "missing: 0, gaps: 0, repeated or out of order: 0, records of the period: 6"
                           << QStringList() << "missing: 0, gaps: 0";
    QTest::newRow("a receipt gone") << 2 << 1 << "missing: 2, gaps: 1, repeated or out of order: 0, records of the period: 6"
        << QStringList{"Zeilennummer 3 to 4 missing (count: 2) between 04.03.2019 09:00:00 and 04.03.2019 10:00:00"}
        << "missing: 1, gaps: 1";
    QTest::newRow("a line gone") << 1 << 0 << "missing: 1, gaps: 1, repeated or out of order: 0, records of the period: 6"
        << QStringList{"Zeilennummer 3 to 3 missing (count: 1) between 04.03.2019 09:00:00 and 04.03.2019 10:00:00"}
        << "missing: 0, gaps: 0";
}

void CheckAnalysisTest::numbering()
{
    QFETCH(int, skippedLines);
    QFETCH(int, skippedReceipts);
    QFETCH(QString, lineFigure);
    QFETCH(QStringList, lineDetails);
    QFETCH(QString, receiptFigure);
    HandJournal journal;
    journal.receipt(QDate(2019, 3, 4), QTime(9, 0), 350);
    journal.skip(skippedLines, skippedReceipts);
    journal.receipt(QDate(2019, 3, 4), QTime(10, 0), 420);
    journal.receipt(QDate(2019, 3, 5), QTime(9, 30), 180);
    const CheckReport report = check(journal.lines());
    const CheckFinding lines = finding(report, QStringLiteral("lineNumbers"));
    QCOMPARE(lines.figure, lineFigure);
    QCOMPARE(lines.details, lineDetails);
    QCOMPARE(lines.verdict, skippedLines > 0 ? CheckFinding::Flagged : CheckFinding::Passed);
    const CheckFinding receipts = finding(report, QStringLiteral("receiptNumbers"));
    QCOMPARE(receipts.figure, receiptFigure);
    QCOMPARE(receipts.verdict, skippedReceipts > 0 ? CheckFinding::Flagged : CheckFinding::Passed);
    QCOMPARE(report.flagged(), skippedLines > 0);
}

// A row the card damaged takes its Zeilennummer with it: the gap says that damage may explain it.
void CheckAnalysisTest::gapAtDamage()
{
    HandJournal journal;
    journal.receipt(QDate(2019, 3, 4), QTime(9, 0), 350);
    journal.skip(2);
    journal.receipt(QDate(2019, 3, 4), QTime(10, 0), 420);
    QList<QByteArray> lines = journal.lines();
    lines.insert(2, "1;x;broken\r\n");
    const CheckReport report = check(lines);
    QCOMPARE(finding(report, QStringLiteral("lineNumbers")).details,
             QStringList{QStringLiteral("Zeilennummer 3 to 4 missing (count: 2) between 04.03.2019 09:00:00 and "
                                        "04.03.2019 10:00:00: a damaged row lies between them, so the card's damage "
                                        "may explain it")});
    const CheckFinding damaged = finding(report, QStringLiteral("damagedRows"));
    QCOMPARE(damaged.figure, QStringLiteral("damaged rows: 1, rows of the period: 5"));
    QCOMPARE(damaged.details, QStringList{QStringLiteral("Row 3 (no date): wrong number of fields")});
    QCOMPARE(damaged.verdict, CheckFinding::Flagged);
}

// April 2019: open Monday to Saturday, closed on Good Friday and Easter Monday as everyone is, and
// on Wednesday the 10th, which wants explaining.
void CheckAnalysisTest::missingDays()
{
    HandJournal journal;
    for (const QDate &day : daysFrom(QDate(2019, 4, 1), 23, {Qt::Sunday})) {
        if (day != QDate(2019, 4, 10) && day != QDate(2019, 4, 19) && day != QDate(2019, 4, 22))
            journal.receipt(day, QTime(9, 0), 1234);
    }
    const CheckReport report = check(journal.lines());
    QCOMPARE(report.closedWeekdays, QList<int>{Qt::Sunday});
    QCOMPARE(report.missingDays, QList<QDate>{QDate(2019, 4, 10)});
    const CheckFinding missing = finding(report, QStringLiteral("missingDays"));
    QCOMPARE(missing.figure, QStringLiteral("days without records: 1, from 01.04.2019 to 26.04.2019, beyond the closing "
                                            "pattern (closed on Sunday; public holidays without records: 2)"));
    QCOMPARE(missing.details, QStringList{QStringLiteral("10.04.2019 (Wednesday)")});
    QCOMPARE(missing.verdict, CheckFinding::Explain);
    QVERIFY(!report.flagged());
}

void CheckAnalysisTest::missingMonths()
{
    HandJournal journal;
    journal.receipt(QDate(2019, 3, 4), QTime(9, 0), 1234);
    journal.receipt(QDate(2019, 5, 6), QTime(9, 0), 1234);
    const CheckReport report = check(journal.lines(), QDate(2019, 3, 1), QDate(2019, 5, 1));
    const CheckFinding months = finding(report, QStringLiteral("missingMonths"));
    QCOMPARE(months.figure, QStringLiteral("months without records: 1, in 03/2019 to 05/2019"));
    QCOMPARE(months.details, QStringList{QStringLiteral("04/2019")});
    QCOMPARE(months.verdict, CheckFinding::Flagged);
    QCOMPARE(report.firstDay, QDate(2019, 3, 1));
    QCOMPARE(report.lastDay, QDate(2019, 5, 31));
}

void CheckAnalysisTest::roundTakings_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("round");
    QTest::addColumn<int>("verdict");
    // Of 60 days, 4 in whole euros come by chance with 0.3 %, 3 with 2.2 %.
    QTest::newRow("three of sixty") << 60 << 3 << int(CheckFinding::Passed);
    QTest::newRow("four of sixty") << 60 << 4 << int(CheckFinding::Flagged);
    QTest::newRow("too few days") << 49 << 20 << int(CheckFinding::TooFew);
}

void CheckAnalysisTest::roundTakings()
{
    QFETCH(int, days);
    QFETCH(int, round);
    QFETCH(int, verdict);
    HandJournal journal;
    const QList<QDate> dates = daysFrom(QDate(2019, 1, 1), days);
    for (int day = 0; day < days; ++day)
        journal.receipt(dates.at(day), QTime(9, 0), 50000 + day * 100 + (day < round ? 0 : 17));
    const CheckFinding found = finding(check(journal.lines()), QStringLiteral("roundTakings"));
    QCOMPARE(int(found.verdict), verdict);
    QVERIFY2(found.figure.startsWith(QStringLiteral("days in whole euros: %1 (").arg(round)), qPrintable(found.figure));
    if (days == 60)
        QVERIFY2(found.threshold.startsWith(QStringLiteral("flagged from 4 such days on")), qPrintable(found.threshold));
}

// Three months of 100 sales each, 60, 60 and 30 in cash: against 50 expected each, with a variance
// of 25, the deviations 10, 10 and −20 give 4 + 4 + 16 = 24.
void CheckAnalysisTest::cashShareByMonth()
{
    HandJournal journal;
    const int cashSales[] = {60, 60, 30};
    for (int month = 0; month < 3; ++month) {
        for (int sale = 0; sale < 100; ++sale) {
            const QDate day(2019, 1 + month, 1 + sale % 20);
            journal.receipt(day, QTime(9, 0).addSecs(sale), 500, sale < cashSales[month] ? "Bar" : "EC-Karte");
        }
    }
    const CheckFinding byMonth = finding(check(journal.lines()), QStringLiteral("cashByMonth"));
    QCOMPARE(byMonth.figure, QStringLiteral("chi² = 24.00; months: 3; sales above zero: 300, in cash: 150 (50.0 %), the "
                                            "lines of Buchungstyp \"Zahlung\" with Funktionsname \"Bar\" against the "
                                            "others"));
    QCOMPARE(byMonth.threshold, QStringLiteral("flagged above 9.21 (1 %, 2 degrees of freedom); needs 3 months"));
    QCOMPARE(byMonth.details.value(2), QStringLiteral("03/2019: in cash 30 of the sales 100 (30.0 %)"));
    QCOMPARE(byMonth.verdict, CheckFinding::Flagged);
}

// Twelve Mondays with payments from nine to ten, one of them with a payment late at night.
void CheckAnalysisTest::outsideHours()
{
    HandJournal journal;
    for (const QDate &monday : daysFrom(QDate(2019, 1, 7), 12, {2, 3, 4, 5, 6, 7})) {
        journal.receipt(monday, QTime(9, 15), 800);
        if (monday == QDate(2019, 2, 4))
            journal.receipt(monday, QTime(22, 40), 900);
    }
    const CheckReport report = check(journal.lines());
    const CheckFinding outside = finding(report, QStringLiteral("outsideHours"));
    QCOMPARE(outside.figure, QStringLiteral("days with payments outside the hours in which the journal usually has "
                                            "them: 1 (usual: Monday 09–10)"));
    QCOMPARE(outside.details, QStringList{QStringLiteral("04.02.2019 (Monday): payments in 22–23, usually 09–10")});
    QCOMPARE(outside.verdict, CheckFinding::Explain);
    QCOMPARE(report.paymentsByHour[22], qint64(1));
    QCOMPARE(report.paymentsByHour[9], qint64(12));
}

void CheckAnalysisTest::cancellations()
{
    HandJournal journal;
    for (int i = 0; i < 40; ++i) {
        const QDate day = QDate(2019, 3, 1).addDays(i % 20);
        journal.receipt(day, QTime(10, 0).addSecs(i), 500, "Bar", 1 + i % 2);
        if (i % 2 == 1 && i < 25)
            journal.cancellation(day, 2);
    }
    journal.cancellation(QDate(2019, 3, 1), 1);
    const CheckFinding found = finding(check(journal.lines()), QStringLiteral("cancellations"));
    QCOMPARE(found.figure, QStringLiteral("cancellations (Buchungstyp \"Storno\"): 13, receipts: 40, operators: 2"));
    QCOMPARE(found.details, QStringList({QStringLiteral("Bedienernummer 1: receipts 20, cancellations 1 (5.0 % of the "
                                                        "receipts), returns 0"),
                                         QStringLiteral("Bedienernummer 2: receipts 20, cancellations 12 (60.0 % of "
                                                        "the receipts), returns 0")}));
    QCOMPARE(found.verdict, CheckFinding::Explain);
    QVERIFY(found.conclusion.startsWith(QStringLiteral("Bedienernummer 2 cancels far more often")));
}

// Of twenty honest years of the sample shop, no test at 1 % flags more than one.
void CheckAnalysisTest::honestJournals()
{
    QStringList flagged;
    for (quint32 seed = 1; seed <= 20; ++seed) {
        const QStringList tests = flaggedTests(shopYear(seed));
        if (!tests.isEmpty())
            flagged << QStringLiteral("%1: %2").arg(seed).arg(tests.join(QLatin1Char(' ')));
    }
    QVERIFY2(flagged.size() <= 1, qPrintable(flagged.join(QLatin1String(", "))));
}

void CheckAnalysisTest::manipulations_data()
{
    QTest::addColumn<QString>("manipulation");
    QTest::addColumn<QStringList>("tests");
    QTest::newRow("delete-lines") << "delete-lines@2019-03" << QStringList{"lineNumbers", "receiptNumbers"};
    QTest::newRow("delete-receipts") << "delete-receipts@2019-04-01..2019-09-30" << QStringList{"cashByMonth"};
    QTest::newRow("cut-takings") << "cut-takings@2019-03" << QStringList{"cashByDay"};
    QTest::newRow("invent-takings for a month") << "invent-takings@2019-03" << QStringList{"roundTakings"};
    QTest::newRow("invent-takings for a quarter") << "invent-takings@2019-04-01..2019-06-30" << QStringList{"lastDigit"};
}

// Each manipulation of a year's journal is flagged by the tests meant to find it.
void CheckAnalysisTest::manipulations()
{
    QFETCH(QString, manipulation);
    QFETCH(QStringList, tests);
    for (quint32 seed = 1; seed <= 2; ++seed) {
        const QStringList flagged = flaggedTests(shopYear(seed, manipulation));
        for (const QString &test : qAsConst(tests))
            QVERIFY2(flagged.contains(test), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(flagged.join(' '))));
    }
}

QTEST_GUILESS_MAIN(CheckAnalysisTest)
#include "tst_checkanalysis.moc"
