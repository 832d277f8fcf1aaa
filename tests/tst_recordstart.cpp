// Where a record starts, against the records of a journal: every record start is seen as one,
// no offset inside a record is, and the byte tests agree with plain loops.

#include "aes_p.h"
#include "recordstart_p.h"

#include "journal.h"
#include "samplecipher.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Journal lines of several registers and lengths, with and without letters beyond ASCII, each
// encrypted as a record; where each record starts, and its line.
QByteArray journalRecords(QList<int> *starts, QList<QByteArray> *lines)
{
    QByteArray records;
    for (int number = 1; number <= 3000; ++number) {
        QByteArray line = fiscora::sample::Journal("19AH"[number % 4], 3).line(number, QDate(2021, 5, 1));
        if (number % 3 == 0)
            line.replace("Kasse", "K\xc3\xa4sse");
        if (number % 5 == 0)
            line.replace("Artikel", "B\xe4" "ckerei");
        starts->append(records.size());
        lines->append(line);
        records += fiscora::sample::encryptRecord(line);
    }
    return records;
}

QByteArray block(const char *text)
{
    return QByteArray(text, 16);
}

} // namespace

class RecordStartTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void journal();
    void opensTableLine_data();
    void opensTableLine();
    void byteTests();
};

// Every record start reads as one, and not as the continuation of the record before. No block
// boundary inside a record is taken for a record start, and one in its middle reads as part of
// its line; of the other offsets, only a few in a hundred read as a start of text.
void RecordStartTest::journal()
{
    QList<int> starts;
    QList<QByteArray> lines;
    const QByteArray records = journalRecords(&starts, &lines);
    starts << records.size();
    int noiseTakenForStarts = 0;
    for (int record = 0; record + 1 < starts.size(); ++record) {
        const char *start = records.constData() + starts.at(record);
        const QByteArray &line = lines.at(record);
        QVERIFY2(fiscora::startsLine(start, record > 0), qPrintable(QString::number(starts.at(record))));
        QVERIFY(record == 0 || !fiscora::continuesRecordBefore(start));
        QVERIFY(fiscora::opensTableLine(line.constData()));
        for (int offset = starts.at(record) + 1; offset < starts.at(record + 1); ++offset) {
            const char *at = records.constData() + offset;
            const int inRecord = offset - starts.at(record);
            if (inRecord % fiscora::AesBlockSize == 0) {
                const bool middle = inRecord + fiscora::AesBlockSize < line.size();
                QVERIFY2(!middle || fiscora::continuesRecordBefore(at), qPrintable(QString::number(offset)));
                QVERIFY(inRecord >= line.size()
                        || !fiscora::startsRecordInLine(at, line.constData(), inRecord, line.size()));
            } else {
                noiseTakenForStarts += fiscora::startsLine(at, true);
            }
        }
    }
    // The line check decides in the end; this test spares it all but a few offsets in a hundred.
    QVERIFY2(noiseTakenForStarts * 50 < records.size(), qPrintable(QString::number(noiseTakenForStarts)));
}

void RecordStartTest::opensTableLine_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<bool>("opens");
    QTest::newRow("register, line number, text") << block("1;791248;Kasse 1") << true;
    QTest::newRow("register H, long first field") << block("H123456789;7;Ka ") << true;
    QTest::newRow("behind a byte-order mark") << block("\xEF\xBB\xBF" "1;7;Kasse 1;0") << true;
    QTest::newRow("register I") << block("I;791248;Kasse 1") << false;
    QTest::newRow("empty first field") << block(";791248;Kasse 1;") << false;
    QTest::newRow("no digits") << block("1;;Kasse 1;01.05") << false;
    QTest::newRow("a letter among the digits") << block("1;79x248;Kasse 1") << false;
    QTest::newRow("line number running on") << block("1;12345678901234") << false;
    QTest::newRow("a letter beyond ASCII in the name") << block("1;7912;K\xc3\xa4sse 12") << true;
    QTest::newRow("two letters beyond ASCII") << block("1;7912;K\xc3\xa4\xc3\xa4" "e 1") << false;
    QTest::newRow("a letter beyond ASCII in the first field") << block("1\xe4;791248;Kasse") << false;
    QTest::newRow("control byte") << block("1;791248;Kasse\x01" "1") << false;
    QTest::newRow("line feed") << block("1;7;Kasse 1\r\n\0\0\0") << false;
}

void RecordStartTest::opensTableLine()
{
    QFETCH(QByteArray, block);
    QFETCH(bool, opens);
    QCOMPARE(fiscora::opensTableLine(block.constData()), opens);
}
// Every byte value at every place of buffers around the eight bytes that the tests take at once.
void RecordStartTest::byteTests()
{
    for (int size = 1; size <= 17; ++size) {
        for (int at = 0; at < size; ++at) {
            for (int value = 0; value < 256; ++value) {
                QByteArray bytes(size, 'x');
                bytes[at] = char(value);
                const char *begin = bytes.constData();
                const bool nonAscii = value < ' ' || value >= 0x80;
                const bool control = value < ' ' && value != '\t';
                QCOMPARE(fiscora::holdsNonAscii(begin, begin + size), nonAscii);
                QCOMPARE(fiscora::holdsControlBytes(begin, begin + size), control);
                QCOMPARE(fiscora::holdsNonAscii(begin, begin + at), false);
            }
        }
    }
}

QTEST_GUILESS_MAIN(RecordStartTest)
#include "tst_recordstart.moc"
