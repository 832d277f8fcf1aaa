// The pipe between an export's thread and the facts' reader: the bytes arrive whole and in order,
// the named rows before the bytes of their rows, and neither side waits for one that has gone.

#include "linereader.h"
#include "tablepipe.h"

#include <QThread>
#include <QtTest>

#include <memory>

using fiscora::app::LineReader;
using fiscora::app::TablePipe;

namespace {

// Only a hung thread ends a test this way; no result depends on speed.
constexpr unsigned long HangGuardMs = 5 * 60 * 1000;

QByteArray rowsOf(int first, int count)
{
    QByteArray rows;
    for (int row = first; row < first + count; ++row)
        rows += "row " + QByteArray::number(row) + "\r\n";
    return rows;
}

} // namespace

class TablePipeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namedRowsComeFirst();
    void abandonedPipeTakesNothing();
};

// The export names a row of the piece it writes next, or of the one it wrote last, which it still
// holds: either way the reader hears of it before it reads that row.
void TablePipeTest::namedRowsComeFirst()
{
    constexpr int Pieces = 50;
    constexpr int RowsPerPiece = 1000;
    TablePipe pipe;
    qint64 rowsRead = 0;
    QList<qint64> lateRows;
    QList<qint64> heard;
    pipe.onRowsNamed([&](const QList<qint64> &rows) {
        for (qint64 row : rows) {
            if (row <= rowsRead)
                lateRows << row;
        }
        heard += rows;
    });
    const std::unique_ptr<QThread> exporting(QThread::create([&] {
        for (int piece = 0; piece < Pieces; ++piece) {
            const int first = piece * RowsPerPiece + 1;
            pipe.rowsNamed({first + 17});
            const QByteArray rows = rowsOf(first, RowsPerPiece);
            pipe.take(rows.constData(), rows.size());
        }
        pipe.rowsNamed({qint64(Pieces) * RowsPerPiece});
        pipe.endWriting();
    }));
    exporting->start();
    LineReader lines(&pipe, '\n', 100, 4096);
    QByteArray read;
    QByteArray line;
    while (lines.readLine(&line)) {
        read += line + '\n';
        rowsRead = lines.lineNumber();
    }
    QVERIFY(exporting->wait(HangGuardMs));
    QCOMPARE(read, rowsOf(1, Pieces * RowsPerPiece));
    QCOMPARE(lateRows, QList<qint64>{qint64(Pieces) * RowsPerPiece});
    QCOMPARE(heard.size(), Pieces + 1);
}

// A reader that stops leaves an export that has more to write to go on to its end.
void TablePipeTest::abandonedPipeTakesNothing()
{
    TablePipe pipe;
    const std::unique_ptr<QThread> exporting(QThread::create([&] {
        const QByteArray rows = rowsOf(1, 100);
        for (int piece = 0; piece < 100; ++piece)
            pipe.take(rows.constData(), rows.size());
        pipe.endWriting();
    }));
    exporting->start();
    char byte = 0;
    QCOMPARE(pipe.read(&byte, 1), qint64(1));
    pipe.abandon();
    QVERIFY(exporting->wait(HangGuardMs));
    QCOMPARE(byte, 'r');
}

QTEST_GUILESS_MAIN(TablePipeTest)
#include "tst_tablepipe.moc"
