// The journal's facts of a table: per month and day, the numbering with its gaps and repeats, the
// damaged rows, the period with the rows outside it, and the period's rows copied on the way.

#include "journalfacts.h"

#include <QBuffer>
#include <QtTest>

using namespace fiscora::app;

namespace {

struct Line
{
    int number;
    QByteArray date;
    QByteArray time = "10:00:00";
    int receipt = 1;
    QByteArray betrag = "1,00";
    QByteArray type = "Artikel";
    QByteArray registerNumber = "1";
};

// A row as an export writes it: 27 fields, Steuer a tenth of Betrag's cents, StKz 1.
QByteArray row(const Line &line)
{
    QByteArrayList fields;
    for (int i = 0; i < 27; ++i)
        fields << QByteArray();
    fields[0] = line.registerNumber;
    fields[1] = QByteArray::number(line.number);
    fields[2] = "Kasse 1";
    fields[3] = line.date;
    fields[4] = line.time;
    fields[5] = QByteArray::number(line.receipt);
    fields[8] = line.type;
    fields[17] = line.betrag;
    fields[21] = "0,10";
    fields[25] = "1";
    return fields.join(';') + "\r\n";
}

JournalFacts factsOf(const QByteArray &table, const QDate &first = QDate(), const QDate &last = QDate(),
                     QByteArray *copied = nullptr)
{
    JournalFacts facts(TableLayout::ofExports(), first, last);
    QBuffer in;
    in.setData(table);
    in.open(QIODevice::ReadOnly);
    QBuffer out(copied);
    out.open(QIODevice::WriteOnly);
    facts.addDevice(in, copied ? &out : nullptr);
    return facts;
}

QString place(const RowPlace &place)
{
    return QStringLiteral("row %1 (%2) %3 %4%5")
        .arg(place.row)
        .arg(place.sourceRow)
        .arg(place.date.toString(QStringLiteral("dd.MM.yyyy")))
        .arg(place.time)
        .arg(place.inPeriod ? "" : " outside");
}

QStringList gaps(const Numbering &numbering)
{
    QStringList gaps;
    for (const NumberGap &gap : numbering.gaps)
        gaps << QStringLiteral("%1-%2 after %3, before %4").arg(gap.first).arg(gap.last).arg(place(gap.before), place(gap.after));
    return gaps;
}

// What a row sink is handed, one line per row.
class RowLog : public RowSink
{
public:
    void take(const JournalRow &row) override
    {
        lines << QStringLiteral("%1 %2 %3 %4 %5 %6")
                         .arg(row.lineNumber)
                         .arg(row.date.toString(QStringLiteral("dd.MM.")))
                         .arg(row.time)
                         .arg(QString::fromLatin1(row.bookingType.bytes()))
                         .arg(row.betragCents)
                         .arg(QString::fromLatin1(row.taxCode.bytes()));
    }
    QStringList lines;
};

} // namespace

class JournalFactsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numbering_data();
    void numbering();
    void monthsAndDays();
    void damagedRows();
    void period();
    void periodCopy_data();
    void periodCopy();
    void rowSink();
};

void JournalFactsTest::numbering_data()
{
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QStringList>("gaps");
    QTest::addColumn<QList<qint64>>("duplicates");
    QTest::addColumn<QList<qint64>>("backwards");
    QTest::addColumn<qint64>("missing");
    QTest::newRow("in order") << QList<int>{5, 6, 7, 8} << QStringList() << QList<qint64>() << QList<qint64>() << 0LL;
    QTest::newRow("one gap") << QList<int>{5, 6, 9, 10}
                             << QStringList("7-8 after row 2 (2) 01.03.2020 36000, before row 3 (3) 01.03.2020 36000")
                             << QList<qint64>() << QList<qint64>() << 2LL;
    // A month file copied: the numbers step back and come again.
    QTest::newRow("a month twice") << QList<int>{1, 2, 3, 1, 2, 3, 4} << QStringList() << QList<qint64>{1, 2, 3}
                                   << QList<qint64>{1} << 0LL;
    QTest::newRow("swapped rows") << QList<int>{1, 3, 2, 4} << QStringList() << QList<qint64>() << QList<qint64>{2}
                                  << 0LL;
    QTest::newRow("a run joining two") << QList<int>{1, 2, 6, 7, 3, 4, 5}
                                       << QStringList() << QList<qint64>() << QList<qint64>{3} << 0LL;
    QTest::newRow("two gaps, one closed later")
            << QList<int>{10, 12, 15, 11}
            << QStringList("13-14 after row 2 (2) 01.03.2020 36000, before row 3 (3) 01.03.2020 36000")
            << QList<qint64>() << QList<qint64>{11} << 2LL;
}

// Gaps with the rows on both sides, numbers that come again and steps back, in the order rows come.
void JournalFactsTest::numbering()
{
    QFETCH(QList<int>, numbers);
    QFETCH(QStringList, gaps);
    QFETCH(QList<qint64>, duplicates);
    QFETCH(QList<qint64>, backwards);
    QFETCH(qint64, missing);
    QByteArray table;
    for (const int number : numbers)
        table += row({number, "01.03.2020"});
    const JournalFacts facts = factsOf(table);
    const Numbering numbering = facts.lineNumbers().value("1");
    QCOMPARE(::gaps(numbering), gaps);
    QList<qint64> seen;
    for (const NumberRepeat &repeat : numbering.duplicates)
        seen << repeat.number;
    QCOMPARE(seen, duplicates);
    QCOMPARE(numbering.duplicateCount, qint64(duplicates.size()));
    seen.clear();
    for (const NumberRepeat &repeat : numbering.backwards)
        seen << repeat.number;
    QCOMPARE(seen, backwards);
    QCOMPARE(facts.missingLines(), missing);
}

// Rows, receipts, sums and the hours of each day and month.
void JournalFactsTest::monthsAndDays()
{
    const QByteArray table = row({1, "30.04.2020", "08:15:00", 7, "2,50"}) + row({2, "30.04.2020", "17:45:10", 7, "-0,50", "Storno"})
        + row({3, "02.05.2020", "09:00:00", 8, "1.234,05"}) + row({4, "02.05.2020", "09:01:00", 9, "12"});
    const JournalFacts facts = factsOf(table);
    QCOMPARE(facts.months().keys(), QList<QDate>({QDate(2020, 4, 1), QDate(2020, 5, 1)}));
    const PeriodSums april = facts.months().value(QDate(2020, 4, 1));
    QCOMPARE(april.rows, 2);
    QCOMPARE(april.receipts, 1);
    QCOMPARE(april.betragCents, 200);
    QCOMPARE(april.steuerCents, 20);
    QCOMPARE(april.firstTime, 8 * 3600 + 15 * 60);
    QCOMPARE(april.lastTime, 17 * 3600 + 45 * 60 + 10);
    const PeriodSums may = facts.days().value(QDate(2020, 5, 2));
    QCOMPARE(may.rows, 2);
    QCOMPARE(may.receipts, 2);
    QCOMPARE(may.betragCents, 123405 + 1200);
    QCOMPARE(facts.total().rows, 4);
    QCOMPARE(facts.total().betragCents, 200 + 123405 + 1200);
    QCOMPARE(facts.betragByBookingType(), (QMap<QByteArray, qint64>{{"Artikel", 250 + 124605}, {"Storno", -50}}));
    QCOMPARE(facts.steuerByTaxCode(), (QMap<QByteArray, qint64>{{"1", 40}}));

    // A row without a date at the start belongs to the month of the first row with one.
    const JournalFacts leading = factsOf("Zwischensumme;1,00\r\n" + row({1, "30.04.2020"}));
    QCOMPARE(leading.months().keys(), QList<QDate>{QDate(2020, 4, 1)});
    QCOMPARE(leading.months().value(QDate(2020, 4, 1)).rows, 2);
}

// A row that an import cannot read whole is counted where it stands, with the column that fails; a
// row without a date belongs to the month of the row before it.
void JournalFactsTest::damagedRows()
{
    QByteArray noDate = row({3, "31.13.2020"});
    const QByteArray table = row({1, "30.04.2020"}) + row({2, "30.04.2020", "10:00:00", 1, "1,0x"}) + noDate
        + "Zwischensumme;1,00\r\n" + row({4, "01.05.2020", "25:00:00"});
    const JournalFacts facts = factsOf(table);
    QStringList damaged;
    for (const DamagedRow &row : facts.damagedRows())
        damaged << QStringLiteral("%1 line %2 %3").arg(place(row.place)).arg(row.lineNumber).arg(row.column);
    QCOMPARE(damaged, QStringList({"row 2 (2) 30.04.2020 36000 line 2 Betrag", "row 3 (3)  36000 line 3 Datum",
                                   "row 4 (4)  -1 line -1 ", "row 5 (5) 01.05.2020 -1 line 4 Uhrzeit"}));
    QCOMPARE(facts.months().value(QDate(2020, 4, 1)).rows, 4);
    QCOMPARE(facts.months().value(QDate(2020, 4, 1)).damagedRows, 3);
    QCOMPARE(facts.months().value(QDate(2020, 4, 1)).unreadableAmounts, 2);
    QCOMPARE(facts.total().damagedRows, 4);
    QCOMPARE(facts.days().value(QDate(2020, 4, 30)).rows, 2);
}

// The period's rows are counted and copied as they stand; those outside are summed up apart. The
// numbering runs over all rows, so that a gap at the edge shows as one, and rows without a date at
// the start go where the first row with one goes.
void JournalFactsTest::period()
{
    const QByteArray leading = "Zwischensumme;1,00\r\n";
    const QByteArray march = row({10, "31.03.2020"});
    const QByteArray april = row({13, "01.04.2020"}) + row({14, "30.04.2020"});
    const QByteArray may = row({15, "01.05.2020"}) + row({17, "02.05.2020"});
    QByteArray copied;
    const JournalFacts facts = factsOf(leading + march + april + may, QDate(2020, 4, 1), QDate(), &copied);
    QCOMPARE(copied, april);
    QCOMPARE(facts.total().rows, 2);
    QCOMPARE(facts.outside().rows, 4);
    QCOMPARE(facts.outside().damagedRows, 1);
    QCOMPARE(facts.months().keys(), QList<QDate>{QDate(2020, 4, 1)});
    QCOMPARE(::gaps(facts.lineNumbers().value("1")),
             QStringList({"11-12 after row 2 (2) 31.03.2020 36000 outside, before row 1 (3) 01.04.2020 36000",
                          "16-16 after row 5 (5) 01.05.2020 36000 outside, before row 6 (6) 02.05.2020 36000 outside"}));
    QCOMPARE(facts.missingLines(), 0);
    QCOMPARE(facts.missingLines(true), 2);

    QByteArray leadingCopied;
    factsOf(leading + march, QDate(2020, 3, 1), QDate(), &leadingCopied);
    QCOMPARE(leadingCopied, leading + march);
}

void JournalFactsTest::periodCopy_data()
{
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArrayList>("kept");
    QTest::addColumn<qint64>("leftOut");

    const QByteArray january = "1;15.01.2019;1,00\r\n";
    const QByteArray february = "1;03.02.2019;1,00\r\n";
    const QByteArray march = "1;28.03.2019;1,00\r\n";
    const QByteArray repaired = "1;0";
    QTest::newRow("by date") << QByteArrayList{january, february, march} << QByteArrayList{february} << qint64(2);
    QTest::newRow("undated after a kept line") << QByteArrayList{january, february, repaired + "\r\n", march}
                                              << QByteArrayList{february, repaired + "\r\n"} << qint64(2);
    QTest::newRow("undated after a left line") << QByteArrayList{january, repaired + "\r\n", february}
                                              << QByteArrayList{february} << qint64(2);
    QTest::newRow("undated at the start go with the first date") << QByteArrayList{repaired + "\r\n", february}
                                                                << QByteArrayList{repaired + "\r\n", february}
                                                                << qint64(0);
    // A last line without its line end is copied as it is.
    QTest::newRow("no line end at the end") << QByteArrayList{february, repaired} << QByteArrayList{february, repaired}
                                            << qint64(0);
}

// A table file's rows of February 2019, copied as they stand; of a table of three columns: a
// number, the date, the amount.
void JournalFactsTest::periodCopy()
{
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArrayList, kept);
    QTemporaryDir dir;
    QFile table(dir.filePath("table.csv"));
    QVERIFY(table.open(QIODevice::WriteOnly) && table.write(lines.join()) > 0 && table.flush());
    TableLayout layout;
    layout.columnCount = 3;
    layout.dateColumn = 1;
    layout.amountColumn = 2;
    JournalFacts facts(layout, QDate(2019, 2, 1));
    QByteArray copied;
    QBuffer out(&copied);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QVERIFY(facts.addFile(table.fileName(), &out));
    QCOMPARE(copied, kept.join());
    QCOMPARE(facts.total().rows, qint64(kept.size()));
    QTEST(facts.outside().rows, "leftOut");
}

// The sink is handed the records of the period, not those outside it nor the damaged ones.
void JournalFactsTest::rowSink()
{
    QByteArray table = row({1, "28.02.2019", "23:59:00", 1, "9,99"}) + row({2, "01.03.2019", "08:00:01", 2, "1,50"})
        + "broken\r\n" + row({4, "01.03.2019", "08:00:05", 2, "-2,00", "Storno"});
    RowLog log;
    JournalFacts facts(TableLayout::ofExports(), QDate(2019, 3, 1));
    facts.setRowSink(&log);
    QBuffer in(&table);
    in.open(QIODevice::ReadOnly);
    facts.addDevice(in);
    QCOMPARE(log.lines, QStringList({QStringLiteral("2 01.03. 28801 Artikel 150 1"),
                                     QStringLiteral("4 01.03. 28805 Storno -200 1")}));
}

QTEST_GUILESS_MAIN(JournalFactsTest)
#include "tst_journalfacts.moc"
