// Bytes written against a file: the line at which they part, wherever the pieces end.

#include "filecomparison.h"

#include <QTemporaryDir>
#include <QtTest>

using fiscora::app::FileComparison;

namespace {

// Lines of 40 bytes, about 2.4 MB: more than one piece of the comparison.
QByteArray table(int lines = 60000)
{
    QByteArray bytes;
    for (int line = 1; line <= lines; ++line)
        bytes += QByteArray::number(line).rightJustified(37, '0') + ";\r\n";
    return bytes;
}

QByteArray changedAt(QByteArray bytes, int offset)
{
    bytes[offset] = 'x';
    return bytes;
}

} // namespace

class FileComparisonTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstDifference_data();
    void firstDifference();
};

void FileComparisonTest::firstDifference_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<int>("writeSize");
    QTest::addColumn<qint64>("line");

    const QByteArray rows = table();
    QTest::newRow("the same, row by row") << rows << rows << 40 << qint64(-1);
    QTest::newRow("the same, in one write") << rows << rows << rows.size() << qint64(-1);
    QTest::newRow("both empty") << QByteArray() << QByteArray() << 1 << qint64(-1);
    QTest::newRow("first byte") << rows << changedAt(rows, 0) << 40 << qint64(1);
    QTest::newRow("a line feed") << rows << changedAt(rows, 39) << 40 << qint64(1);
    QTest::newRow("behind the first piece") << rows << changedAt(rows, 40 * 30000 + 5) << 40 << qint64(30001);
    QTest::newRow("the last byte") << rows << changedAt(rows, rows.size() - 1) << 7 << qint64(60000);
    QTest::newRow("a line short") << rows << rows.chopped(40) << 40 << qint64(60000);
    QTest::newRow("a line more") << rows.chopped(40) << rows << 40 << qint64(60000);
    QTest::newRow("nothing written") << rows << QByteArray() << 1 << qint64(1);
}

void FileComparisonTest::firstDifference()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, written);
    QFETCH(int, writeSize);
    QFETCH(qint64, line);
    QTemporaryDir dir;
    QFile table(dir.filePath("gobd.csv"));
    QVERIFY(table.open(QIODevice::WriteOnly) && table.write(file) == file.size());
    table.close();

    FileComparison comparison(table.fileName());
    for (int at = 0; at < written.size(); at += writeSize)
        QCOMPARE(comparison.write(written.constData() + at, qMin(writeSize, written.size() - at)),
                 qint64(qMin(writeSize, written.size() - at)));
    QCOMPARE(comparison.firstDifference(), line);
}

QTEST_GUILESS_MAIN(FileComparisonTest)
#include "tst_filecomparison.moc"
