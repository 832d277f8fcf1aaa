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
// encrypted as a record; where each record starts, and where its line ends.
QByteArray journalRecords(QList<int> *starts, QList<int> *lineEnds)
{
    QByteArray records;
    for (int number = 1; number <= 3000; ++number) {
        QByteArray line = fiscora::sample::Journal("19AH"[number % 4], 3).line(number, QDate(2021, 5, 1));
        if (number % 3 == 0)
            line.replace("Kasse", "K\xc3\xa4sse");
        if (number % 5 == 0)
            line.replace("Artikel", "B\xe4" "ckerei");
        starts->append(records.size());
        lineEnds->append(records.size() + line.size());
        records += fiscora::sample::encryptRecord(line);
    }
    return records;
}

} // namespace

class RecordStartTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void journal();
    void byteTests();
};

// Every record start reads as one, and not as the continuation of the record before. A block
// boundary inside a record reads as the middle of its line, but where the block holds little more
// than the line's end, and as no start; any other offset reads as noise.
void RecordStartTest::journal()
{
    QList<int> starts;
    QList<int> lineEnds;
    const QByteArray records = journalRecords(&starts, &lineEnds);
    starts << records.size();
    int noiseTakenForStarts = 0;
    for (int record = 0; record + 1 < starts.size(); ++record) {
        const char *start = records.constData() + starts.at(record);
        QVERIFY2(fiscora::startsLine(start, record > 0), qPrintable(QString::number(starts.at(record))));
        QVERIFY(record == 0 || !fiscora::continuesRecordBefore(start));
        for (int offset = starts.at(record) + 1; offset < starts.at(record + 1); ++offset) {
            const char *at = records.constData() + offset;
            if ((offset - starts.at(record)) % fiscora::AesBlockSize == 0) {
                const bool middle = offset + fiscora::AesBlockSize < lineEnds.at(record);
                QVERIFY2(!middle || fiscora::continuesRecordBefore(at), qPrintable(QString::number(offset)));
                QVERIFY(!fiscora::startsLine(at, true));
            } else {
                noiseTakenForStarts += fiscora::startsLine(at, true);
            }
        }
    }
    // The line check decides in the end; this test spares it all but one offset in a thousand.
    QVERIFY2(noiseTakenForStarts * 1000 < records.size(), qPrintable(QString::number(noiseTakenForStarts)));
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
