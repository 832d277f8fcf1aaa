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
    void resources_data();
    void resources();
};

void LibraryTest::version()
{
    const char *first = getFiscoraLibVersion();
    QCOMPARE(first, "1.3.0");
    QCOMPARE(static_cast<const void *>(getFiscoraLibVersion()), static_cast<const void *>(first));
}

void LibraryTest::resources_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("original");
    QTest::addColumn<int>("size");
    QTest::newRow("index.xml") << QStringLiteral(":/index.xml") << QStringLiteral(FISCORA_INDEX_XML) << 3554;
    QTest::newRow("DTD") << QStringLiteral(":/gdpdu-01-09-2004.dtd") << QStringLiteral(FISCORA_GDPDU_DTD) << 8868;
}

void LibraryTest::resources()
{
    QFETCH(QString, resource);
    QFETCH(QString, original);
    QFETCH(int, size);
    const QByteArray bytes = fileBytes(resource);
    QCOMPARE(bytes.size(), size);
    QCOMPARE(bytes, fileBytes(original));
}

// Nothing but the resources is set up when the library is loaded: the analyser's meta type is
// registered with the first decryptor, in time for an automatic connection across threads.
void LibraryTest::analyserMetaType()
{
    QCOMPARE(QMetaType::type("fiscora::IndexFileAnalyser"), int(QMetaType::UnknownType));
    QThread receiverThread;
    QObject receiver;
    receiver.moveToThread(&receiverThread);
    receiverThread.start();
    fiscora::KTLCypher cypher;
    QByteArray serialNumber;
    connect(&cypher, &fiscora::KTLCypher::finishSuccessful, &receiver,
            [&serialNumber](const QString &, const fiscora::IndexFileAnalyser &analyser) {
                serialNumber = analyser.getCRSerialnumber();
            });
    QTemporaryDir dir;
    QVERIFY_DONE(writeFile(dir.filePath("Backup_CR#12345678_complete.enc"),
                           fiscora::sample::backupHeader("12345678", {}, QByteArray(16, '\0'))));

    QVERIFY(cypher.startDecryption(dir.filePath("Backup_CR#12345678_complete.enc"), dir.path(), false, false, false, false));
    QVERIFY(cypher.wait(60000));
    QMetaObject::invokeMethod(&receiver, [&receiverThread] { receiverThread.quit(); });
    QVERIFY(receiverThread.wait(60000));
    QCOMPARE(serialNumber, QByteArray("12345678").leftJustified(20, '\0'));
}

QTEST_GUILESS_MAIN(LibraryTest)
#include "tst_library.moc"
