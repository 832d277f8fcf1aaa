#include "recordwindow_p.h"

#include "samplecipher.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cstring>

using fiscora::RecordWindow;

namespace {

// The line as the zero-filled window and decryptBuffer() give it.
QByteArray lineByWholeWindow(const QByteArray &stream)
{
    quint8 window[RecordWindow::Size] = {};
    const int size = qMin(stream.size(), RecordWindow::Size);
    std::memcpy(window, stream.constData(), size_t(size));
    const int decrypted = fiscora::decryptBuffer(window, size);
    const auto *end = static_cast<const quint8 *>(std::memchr(window, '\n', size_t(decrypted)));
    return QByteArray(reinterpret_cast<const char *>(window), end ? int(end - window) + 1 : decrypted);
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
