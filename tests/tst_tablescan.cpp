// What the applications read from a table's rows: amounts to the cent, and the period a line
// without a date goes with.

#include "periodfilter.h"
#include "tablescan.h"

#include <QBuffer>
#include <QtTest>

using fiscora::app::PeriodFilter;
using fiscora::app::TableLayout;

namespace {

// A table of three columns: a number, the date, the amount.
TableLayout layout()
{
    TableLayout layout;
    layout.columnCount = 3;
    layout.dateColumn = 1;
    layout.amountColumn = 2;
    return layout;
}

QByteArray row(const char *day, const char *amount = "1,00")
{
    return QByteArray("1;") + day + ';' + amount + "\r\n";
}

} // namespace

class TableScanTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void amount_data();
    void amount();
    void period_data();
    void period();
};

void TableScanTest::amount_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<qint64>("cents");

    QTest::newRow("two decimals") << row("01.01.2019", "37,50") << true << qint64(3750);
    QTest::newRow("negative, grouped") << row("01.01.2019", "-1.234,05") << true << qint64(-123405);
    QTest::newRow("whole") << row("01.01.2019", "12") << true << qint64(1200);
    QTest::newRow("one decimal") << row("01.01.2019", "0,5") << true << qint64(50);
    QTest::newRow("quoted") << QByteArray("1;01.01.2019;\"7,25\"\r\n") << true << qint64(725);
    QTest::newRow("letter") << row("01.01.2019", "3O,00") << false << qint64(0);
    QTest::newRow("empty") << row("01.01.2019", "") << false << qint64(0);
    // A garbled row is no record: its third field is no amount of this column.
    QTest::newRow("a field too many") << QByteArray("1;01.01.2019;x;5,00\r\n") << false << qint64(0);
}

void TableScanTest::amount()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, readable);
    qint64 cents = 0;
    QCOMPARE(layout().amountCents(layout().fields(line), &cents), readable);
    QTEST(cents, "cents");
}

void TableScanTest::period_data()
{
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArrayList>("kept");
    QTest::addColumn<qint64>("leftOut");

    const QByteArray january = row("15.01.2019");
    const QByteArray february = row("03.02.2019");
    const QByteArray march = row("28.03.2019");
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

void TableScanTest::period()
{
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArrayList, kept);
    QByteArray table = lines.join();
    QBuffer in(&table);
    QByteArray copied;
    QBuffer out(&copied);
    QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));

    PeriodFilter filter(QDate(2019, 2, 1), QDate(), layout());
    QVERIFY(filter.copy(in, out));
    QCOMPARE(copied, kept.join());
    QCOMPARE(filter.linesKept(), qint64(kept.size()));
    QTEST(filter.linesLeftOut(), "leftOut");
}

QTEST_GUILESS_MAIN(TableScanTest)
#include "tst_tablescan.moc"
