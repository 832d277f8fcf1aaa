// Lines read in chunks: against splitting the whole text at once, with lines that straddle chunks,
// lines cut at the longest length, and a device that fails part way.

#include "linereader.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtTest>

using fiscora::app::LineReader;

namespace {

QString described(qint64 number, const QByteArray &line, bool ended, bool truncated)
{
    return QStringLiteral("%1 %2%3%4")
            .arg(number)
            .arg(QString::fromLatin1(line.toPercentEncoding()))
            .arg(ended ? QStringLiteral(" ended") : QString())
            .arg(truncated ? QStringLiteral(" truncated") : QString());
}

// The lines of \a text split at once, each cut to \a longestLine bytes.
QStringList splitAtOnce(const QByteArray &text, int longestLine)
{
    QList<QByteArray> lines = text.split('\n');
    const QByteArray last = lines.takeLast();
    QStringList described;
    for (const QByteArray &line : lines)
        described << ::described(described.size() + 1, line.left(longestLine), true, line.size() > longestLine);
    if (!last.isEmpty())
        described << ::described(described.size() + 1, last.left(longestLine), false, last.size() > longestLine);
    return described;
}

QStringList readInChunks(QIODevice *device, int longestLine, int chunkSize)
{
    LineReader reader(device, '\n', longestLine, chunkSize);
    QStringList described;
    QByteArray line;
    while (reader.readLine(&line))
        described << ::described(reader.lineNumber(), line, reader.ended(), reader.truncated());
    if (reader.hasError())
        described << QStringLiteral("error");
    return described;
}

// Gives its first bytes, then fails.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(const QByteArray &bytes)
        : m_bytes(bytes)
    {
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_bytes.isEmpty())
            return -1;
        const qint64 size = qMin<qint64>(maxSize, m_bytes.size());
        memcpy(data, m_bytes.constData(), size_t(size));
        m_bytes.remove(0, int(size));
        return size;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
};

} // namespace

class LineReaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreesWithSplittingAtOnce();
    void stopsWhereTheDeviceFails();
};

void LineReaderTest::agreesWithSplittingAtOnce()
{
    QRandomGenerator random(20240613);
    static const char bytes[] = "ab\r\n\n";
    for (int i = 0; i < 5000; ++i) {
        QByteArray text;
        for (int size = random.bounded(40); size > 0; --size)
            text += bytes[random.bounded(5)];
        const int longestLine = 1 + random.bounded(12);
        const int chunkSize = 1 + random.bounded(9);
        QBuffer buffer(&text);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const QStringList expected = splitAtOnce(text, longestLine);
        const QStringList read = readInChunks(&buffer, longestLine, chunkSize);
        if (read != expected) {
            QCOMPARE(read.join(QLatin1Char('|')) + QStringLiteral(" in chunks of %1").arg(chunkSize),
                     expected.join(QLatin1Char('|')) + QStringLiteral(" in chunks of %1").arg(chunkSize));
        }
    }
}

// A line begun before the failure is no line: its end is unknown.
void LineReaderTest::stopsWhereTheDeviceFails()
{
    FailingDevice device("one\ntwo\nthr");
    QCOMPARE(readInChunks(&device, 100, 5), QStringList({"1 one ended", "2 two ended", "error"}));
}

QTEST_GUILESS_MAIN(LineReaderTest)
#include "tst_linereader.moc"
