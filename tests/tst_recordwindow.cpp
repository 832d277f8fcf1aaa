#include "recordwindow_p.h"

#include "samplecipher.h"

#include <QRandomGenerator>
#include <QtTest>

using fiscora::RecordWindow;

namespace {

// The line as decryptBuffer() gives it on a zero-filled window.
QByteArray lineByWholeWindow(const QByteArray &stream)
{
    QByteArray window = stream.left(RecordWindow::Size).leftJustified(RecordWindow::Size, '\0');
    const int decrypted = fiscora::decryptBuffer(reinterpret_cast<quint8 *>(window.data()),
                                                 qMin(stream.size(), RecordWindow::Size));
    const int end = window.left(decrypted).indexOf('\n');
    return window.left(end < 0 ? decrypted : end + 1);
}

} // namespace

class RecordWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameLineAsWholeWindow();
};

// Every length of stream left, from a tail of one byte to more than a window, with the line
// feed in every kind of place: first and last byte of a block, beyond the window, beyond the
// bytes left, or nowhere. One window serves them all, so that its guess from the line before
// is too short, right and too long in turn.
void RecordWindowTest::sameLineAsWholeWindow()
{
    QRandomGenerator random(7);
    QList<QByteArray> streams;
    for (int lineFeedAt : {-1, 0, 15, 16, 63, 64, 65, 127, 128, 200, 255, 256, 270}) {
        QByteArray plain(17 * fiscora::AesBlockSize, Qt::Uninitialized);
        for (char &byte : plain)
            byte = char(random.bounded(11, 256));
        if (lineFeedAt >= 0)
            plain[lineFeedAt] = '\n';
        streams << fiscora::sample::encryptCbc(plain);
    }
    RecordWindow window;
    for (int remaining = 1; remaining <= streams.first().size(); ++remaining) {
        for (const QByteArray &stream : qAsConst(streams)) {
            const QByteArray left = stream.left(remaining);
            const int length = window.decryptLine(left.constData(), remaining);
            QCOMPARE(QByteArray(window.line(), length), lineByWholeWindow(left));
        }
    }
}

QTEST_GUILESS_MAIN(RecordWindowTest)
#include "tst_recordwindow.moc"
