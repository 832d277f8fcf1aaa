// Amounts of a table's rows, to the cent.

#include "tablelayout.h"

#include <QtTest>

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

} // namespace

class TableLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void amount_data();
    void amount();
};

void TableLayoutTest::amount_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<qint64>("cents");

    QTest::newRow("two decimals") << QByteArray("37,50") << true << qint64(3750);
    QTest::newRow("negative, grouped") << QByteArray("-1.234,05") << true << qint64(-123405);
    QTest::newRow("whole") << QByteArray("12") << true << qint64(1200);
    QTest::newRow("one decimal") << QByteArray("0,5") << true << qint64(50);
    QTest::newRow("three decimals, the third dropped") << QByteArray("0,509") << true << qint64(50);
    QTest::newRow("letter") << QByteArray("3O,00") << false << qint64(0);
    QTest::newRow("empty") << QByteArray() << false << qint64(0);
    QTest::newRow("a sign alone") << QByteArray("-") << false << qint64(0);
    QTest::newRow("no decimals behind the comma") << QByteArray("5,") << false << qint64(0);
    QTest::newRow("sixteen digits") << QByteArray("1234567890123456") << false << qint64(0);
}

void TableLayoutTest::amount()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, readable);
    qint64 cents = 0;
    QCOMPARE(layout().cents(value.constData(), value.size(), &cents), readable);
    QTEST(cents, "cents");
}

QTEST_GUILESS_MAIN(TableLayoutTest)
#include "tst_tablelayout.moc"
