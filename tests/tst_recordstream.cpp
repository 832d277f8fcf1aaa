#include "ktlcyphertest.h"

#include <QtTest>

using fiscora::KTLCypher;
using fiscora::sample::encryptRecord;

namespace {

// A line of exactly length bytes, end included, with 16 fields; the last one fills it up.
QByteArray tableLine(const QByteArray &registerNumber, int length, const QByteArray &end = "\r\n")
{
    const QByteArray start = registerNumber + ";7;Kasse 1;" + QByteArray(12, ';');
    return start + QByteArray(length - start.size() - end.size(), 'x') + end;
}

QByteArray records(const QByteArray &line, int count)
{
    return encryptRecord(line).repeated(count);
}

// Fewer than 16 bytes of stream, whose block filled up with zero bytes decrypts to line: the
// first 15 bytes of a block whose ciphertext happens to end in a zero byte.
QByteArray shortStream(QByteArray *line)
{
    for (int i = 0;; ++i) {
        *line = "Storno Nr " + QByteArray::number(100 + i % 900) + "\r\n";
        const QByteArray cipher = fiscora::sample::encryptCbc(line->leftJustified(16, char(i / 900)));
        if (cipher.endsWith('\0'))
            return cipher.left(15);
    }
}

QString message(const char *text, int line)
{
    return messageLine(QLatin1String(text) + QString::number(line), true, 0);
}

} // namespace

class RecordStreamTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lines_data();
    void lines();
    void progress_data();
    void progress();
    void fileCannotBeOpened();
    void writeThreshold_data();
    void writeThreshold();

private:
    QTemporaryDir m_dir;
};

void RecordStreamTest::lines_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QStringList>("messages");
    const char *damaged = "Decryption error near line: ";
    const char *salvaged = "Check decryption near line: ";
    const QByteArray shortLine = "Storno Nummer\r\n";
    const QByteArray unreadable = QByteArray("\x01;").repeated(15) + "\r\n";
    const QByteArray filler = "#";
    QByteArray tail;
    const QByteArray tailStream = shortStream(&tail);

    QTest::newRow("lines without padding") << encryptedLines(1, 3) << plainLines(1, 3) << QStringList();
    QTest::newRow("empty") << QByteArray() << QByteArray() << QStringList();
    QTest::newRow("first line damaged: line 0")
            << encryptRecord(tableLine("I", 40)) + encryptedLines(1, 1)
            << tableLine("I", 40) + plainLines(1, 1) << QStringList{message(damaged, 0)};
    QTest::newRow("bare line feed salvaged, not reported twice")
            << encryptedLines(1, 12) + encryptRecord(tableLine("1", 40, "\n"))
            << plainLines(1, 12) + tableLine("1", 41) << QStringList{message(damaged, 12)};
    QTest::newRow("rejections name a line once, one byte past the line")
            << encryptRecord(unreadable) + filler + encryptRecord(unreadable) + filler + encryptedLines(1, 1)
            << plainLines(1, 1) << QStringList{message(damaged, 0)};
    QTest::newRow("salvaged lines reported from line 10, then 11 apart")
            << encryptedLines(1, 9) + encryptRecord(shortLine) + encryptedLines(1, 9) + encryptRecord(shortLine)
                    + encryptedLines(1, 1) + encryptRecord(shortLine)
            << plainLines(1, 9) + shortLine + plainLines(1, 9) + shortLine + plainLines(1, 1) + shortLine
            << QStringList{message(salvaged, 10), message(salvaged, 22)};
    QTest::newRow("salvage keeps the longest run, the first of equals")
            << encryptRecord("Bon~Storno Nummer 17 Euro\r\n") + encryptRecord("Kasse \xc3\xa4 Storno Nummer 17\r\n")
                    + encryptRecord("Bon 1~Bon 2\r\n")
            << QByteArray("Storno Nummer 17 Euro\r\n Storno Nummer 17\r\nBon 1\r\n") << QStringList();
    QTest::newRow("salvage needs more than a quarter of the line")
            << encryptRecord("abcd" + QByteArray(11, '\x01') + '\n') + filler + encryptRecord("abcde" + QByteArray(10, '\x01') + '\n')
            << QByteArray("abcde\r\n") << QStringList();
    QTest::newRow("no readable part: rejected") << encryptRecord(QByteArray(15, '\x02') + '\n') << QByteArray()
                                                << QStringList();
    QTest::newRow("line of 256 bytes") << encryptRecord(tableLine("1", 256)) + encryptedLines(1, 1)
                                       << tableLine("1", 256) + plainLines(1, 1) << QStringList();
    // A line longer than the window is judged by its first 256 bytes; the stream ends with them,
    // as what follows them would decrypt out of step.
    QTest::newRow("line of 257 bytes salvaged") << encryptRecord(tableLine("1", 257)).left(256)
                                                << tableLine("1", 257).left(255) + "\r\n"
                                                << QStringList{message(damaged, 0)};
    QTest::newRow("line of 258 bytes rejected") << encryptRecord(tableLine("1", 258)).left(256) << QByteArray()
                                                << QStringList{message(damaged, 0)};
    QTest::newRow("tail of 15 bytes") << tailStream << tail << QStringList();
}

void RecordStreamTest::lines()
{
    QFETCH(QByteArray, stream);
    QFETCH(QByteArray, table);
    QFETCH(QStringList, messages);
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    const QString path = m_dir.filePath(QStringLiteral("lines.csv"));

    QVERIFY(cypher.dencryptByteArray(stream, path));
    QCOMPARE(fileBytes(path), table);
    QCOMPARE(recorder.lines, QStringList(QStringLiteral("initProgressBar(0, 100)")) + messages);
}

void RecordStreamTest::progress_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QList<int>>("progress");
    QList<int> percent;
    for (int value = 1; value <= 100; ++value)
        percent << value;
    QTest::newRow("empty") << QByteArray() << QList<int>();
    QTest::newRow("160 bytes, step 1, capped") << records("Storno Nr 12\r\n", 10)
                                               << QList<int>{16, 32, 48, 64, 80, 96, 100};
    QTest::newRow("3200 bytes, step 32") << records("Storno Nummer 123456\r\n", 100) << percent;
}

void RecordStreamTest::progress()
{
    QFETCH(QByteArray, stream);
    QFETCH(QList<int>, progress);
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    QVERIFY(cypher.dencryptByteArray(stream, m_dir.filePath(QStringLiteral("progress.csv"))));
    QCOMPARE(recorder.progress, progress);
}

void RecordStreamTest::fileCannotBeOpened()
{
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    const QString path = m_dir.filePath(QStringLiteral("missing/lines.csv"));
    QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("Couldn't open %1: No such file or directory").arg(path)));
    QVERIFY(!cypher.dencryptByteArray(encryptedLines(1, 2), path));
    QCOMPARE(recorder.lines, QStringList({QStringLiteral("initProgressBar(0, 100)"),
        QStringLiteral("error(Couldn't init temporary space for the data. | Check if the file is open or if you have write permissions.)")}));
    QVERIFY(!QFile::exists(path));
}

void RecordStreamTest::writeThreshold_data()
{
    QTest::addColumn<int>("lastLine");
    QTest::addColumn<qint64>("writtenBeforeEnd");
    QTest::newRow("49 999 999 bytes stay in memory") << 127 << qint64(0);
    QTest::newRow("50 000 000 bytes are written at once") << 128 << qint64(50000000);
}

// 195 312 lines of 256 bytes and a last line of 127 or 128 bytes, in 50 000 000 bytes of
// records: the file is looked at when the last progress value arrives, before the final write.
void RecordStreamTest::writeThreshold()
{
    QFETCH(int, lastLine);
    QFETCH(qint64, writtenBeforeEnd);
    if (writtenBeforeEnd > 0)
        QTest::ignoreMessage(QtDebugMsg, "50MB write file");
    const QString path = m_dir.filePath(QStringLiteral("threshold.csv"));
    KTLCypher cypher;
    qint64 writtenAtLastProgress = -1;
    connect(&cypher, &KTLCypher::updateProgressBar, this, [&](int value) {
        if (value == 100)
            writtenAtLastProgress = QFileInfo(path).size();
    });
    QVERIFY(cypher.dencryptByteArray(records(tableLine("1", 256), 195312) + encryptRecord(tableLine("1", lastLine)),
                                     path));
    QCOMPARE(writtenAtLastProgress, writtenBeforeEnd);
    QCOMPARE(QFileInfo(path).size(), qint64(195312 * 256 + lastLine));
}

QTEST_GUILESS_MAIN(RecordStreamTest)
#include "tst_recordstream.moc"
