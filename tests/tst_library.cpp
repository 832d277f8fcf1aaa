#include "fixtures.h"

#include <samplecard.h>

#include <fiscora/fiscora.h>
#include <fiscora/indexfileanalyser.h>
#include <fiscora/ktlcypher.h>

#include <QtTest>

class LibraryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void analyserMetaType();
    void version();
};

void LibraryTest::version()
{
    const char *first = getFiscoraLibVersion();
    QCOMPARE(first, "1.3.0");
    QCOMPARE(static_cast<const void *>(getFiscoraLibVersion()), static_cast<const void *>(first));
}

// Nothing but the resources (which tst_exportrun compares with their originals) is set up when
// the library is loaded: the analyser's meta type is registered with the first decryptor, in time
// for an automatic connection across threads, whose receiver gets a copy of what the backup header
// said.
void LibraryTest::analyserMetaType()
{
    QCOMPARE(QMetaType::type("fiscora::IndexFileAnalyser"), int(QMetaType::UnknownType));
    QThread receiverThread;
    QObject receiver;
    receiver.moveToThread(&receiverThread);
    receiverThread.start();
    fiscora::KTLCypher cypher;
    QByteArray taken;
    QThread *takenIn = nullptr;
    connect(&cypher, &fiscora::KTLCypher::finishSuccessful, &receiver,
            [&](const QString &, const fiscora::IndexFileAnalyser &analyser) {
                taken = analyser.getCompessIndex();
                takenIn = QThread::currentThread();
            });
    QTemporaryDir dir;
    const QByteArray header = fiscora::sample::backupHeader("12345678", QByteArray::fromHex("0c01"),
                                                            QByteArray(16, 'x'));
    QVERIFY_DONE(writeFile(dir.filePath("Backup_CR#12345678_complete.enc"), header));

    QVERIFY(cypher.startDecryption(dir.filePath("Backup_CR#12345678_complete.enc"), dir.path(), false, false, false, false));
    QVERIFY(cypher.wait(60000));
    // Queued behind the result, so the thread ends once the result is taken.
    QMetaObject::invokeMethod(&receiver, [&receiverThread] { receiverThread.quit(); });
    QVERIFY(receiverThread.wait(60000));
    QCOMPARE(takenIn, &receiverThread);
    QCOMPARE(taken, header);
}

QTEST_GUILESS_MAIN(LibraryTest)
#include "tst_library.moc"
