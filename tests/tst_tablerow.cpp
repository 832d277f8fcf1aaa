// How a row of a table file falls into its fields, encapsulated ones included.

#include "tablerow.h"

#include <QtTest>

using fiscora::app::TableRow;

class TableRowTest : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void fieldsOfTheLastRowOnly();
};

void TableRowTest::split_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArrayList>("fields");

    QTest::newRow("plain") << QByteArray("1;Kasse;12,50") << QByteArrayList{"1", "Kasse", "12,50"};
    QTest::newRow("empty fields") << QByteArray(";;") << QByteArrayList{"", "", ""};
    QTest::newRow("an empty line is one empty field") << QByteArray() << QByteArrayList{""};
    QTest::newRow("delimiter encapsulated") << QByteArray("1;\"Kasse; Theke\";\"12\"\"\";")
                                            << QByteArrayList{"1", "Kasse; Theke", "12\"", ""};
    QTest::newRow("text after the closing encapsulator") << QByteArray("\"ab\"c\"d;e")
                                                         << QByteArrayList{"abc\"d", "e"};
    QTest::newRow("encapsulator inside a field") << QByteArray("a\"b;c") << QByteArrayList{"a\"b", "c"};
    QTest::newRow("never closed") << QByteArray("1;\"open; still") << QByteArrayList{"1", "open; still"};
    QTest::newRow("empty encapsulated") << QByteArray("\"\";x") << QByteArrayList{"", "x"};
}

void TableRowTest::split()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArrayList, fields);
    TableRow row(';', '"');
    row.split(line);
    QByteArrayList split;
    for (int i = 0; i < row.size(); ++i)
        split << row.field(i).bytes();
    QCOMPARE(split, fields);
}

// The row's copy of encapsulated fields is refilled for each line and must not keep old ones.
void TableRowTest::fieldsOfTheLastRowOnly()
{
    TableRow row(';', '"');
    row.split("\"a long first field\";\"x\"\"\"");
    row.split("\"b\";\"c\"");
    QCOMPARE(row.size(), 2);
    QCOMPARE(row.field(0).bytes(), QByteArray("b"));
    QCOMPARE(row.field(1).bytes(), QByteArray("c"));
}

QTEST_GUILESS_MAIN(TableRowTest)
#include "tst_tablerow.moc"
