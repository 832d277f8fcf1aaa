#include "ktlcyphertest.h"

#include <fiscora/helperclass.h>
#include <fiscora/indexfileanalyser.h>

#include <QMetaMethod>
#include <QtTest>

using fiscora::IndexFileAnalyser;
using fiscora::KTLCypher;

namespace {

const QString AbortPair = QStringLiteral("error(Process abbort by the user. | Saving of the decrypted data was not successful!)");
const QString Init = QStringLiteral("initProgressBar(0, 100)");

} // namespace

// Takes the analyser in a thread of its own.
class Receiver : public QObject
{
    Q_OBJECT

public:
    IndexFileAnalyser analyser;
    QThread *thread = nullptr;

public Q_SLOTS:
    void take(const QString &, const fiscora::IndexFileAnalyser &analyse)
    {
        analyser = analyse;
        thread = QThread::currentThread();
        Q_EMIT taken();
    }

Q_SIGNALS:
    void taken();
};

class KTLCypherTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void signalSet();
    void finishSuccessfulQueued();
    void messagesWithoutCount();
    void stopDuringRun();
    void stopWhenIdle();
    void startWhileRunning();

private:
    QString source() const { return m_dir.filePath(QStringLiteral("Backup_CR#12345678_202003.enc")); }
    QString table() const { return m_dir.filePath(QStringLiteral("out/CR#12345678/202003/gobd.csv")); }

    QTemporaryDir m_dir;
};

void KTLCypherTest::initTestCase()
{
    QVERIFY(writeFile(source(), backup(encryptedLines(1, 200))));
}

// The signal indexes and parameter names are part of the interface.
void KTLCypherTest::signalSet()
{
    const QMetaObject &meta = KTLCypher::staticMetaObject;
    QCOMPARE(meta.className(), "fiscora::KTLCypher");
    QCOMPARE(meta.superClass(), &QThread::staticMetaObject);
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Signal);
        methods << QString::fromLatin1(method.methodSignature() + ' ' + method.parameterNames().join(','));
    }
    QCOMPARE(methods, QStringList({
        QStringLiteral("finishSuccessful(QString,fiscora::IndexFileAnalyser) filename,analyse"),
        QStringLiteral("processMessages(QString,bool,int) message,isError,messageCount"),
        QStringLiteral("processMessages(QString,bool) message,isError"),
        QStringLiteral("error(QString,QString) error,hint"),
        QStringLiteral("initProgressBar(int,int) startValue,endValue"),
        QStringLiteral("updateProgressBar(int) currenValue"),
        QStringLiteral("fileSaved(QString) filename")}));
}

void KTLCypherTest::finishSuccessfulQueued()
{
    QThread receiverThread;
    Receiver receiver;
    receiver.moveToThread(&receiverThread);
    receiverThread.start();
    KTLCypher cypher;
    connect(&cypher, &KTLCypher::finishSuccessful, &receiver, &Receiver::take);
    QSignalSpy taken(&receiver, &Receiver::taken);

    QVERIFY(cypher.startDecryption(source(), m_dir.filePath(QStringLiteral("out")), false, true, false, false));
    const bool delivered = taken.wait(20000);
    receiverThread.quit();
    QVERIFY(receiverThread.wait());
    QVERIFY(cypher.wait());
    QVERIFY(delivered);
    QCOMPARE(receiver.thread, &receiverThread);
    IndexFileAnalyser expected;
    expected.readCompressIndex(fileBytes(source()));
    QCOMPARE(receiver.analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_SD);
    QCOMPARE(receiver.analyser.getCRSerialnumber(), expected.getCRSerialnumber());
    QCOMPARE(receiver.analyser.getMD5Value(), expected.getMD5Value());
    QCOMPARE(receiver.analyser.getIndexMap(), expected.getIndexMap());
    QCOMPARE(receiver.analyser.getIndexMap().size(), 12);
}

void KTLCypherTest::messagesWithoutCount()
{
    KTLCypher cypher;
    QSignalSpy messages(&cypher, SIGNAL(processMessages(QString,bool)));
    QVERIFY(cypher.startDecryption(source(), m_dir.filePath(QStringLiteral("out")), false, false, false, false));
    QVERIFY(cypher.wait());
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages.last(), QVariantList({QStringLiteral("Hash value: OK<br>The data seems not corrupted!"), false}));
}

// A stop asked for at the first progress value ends the run after that record with the abort
// pair alone; the request then stands until the next start.
void KTLCypherTest::stopDuringRun()
{
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    const QMetaObject::Connection stopper =
            connect(&cypher, &KTLCypher::updateProgressBar, [&cypher] { cypher.stopProcess(); });
    QTest::ignoreMessage(QtInfoMsg, "Stop GoBD Decryption");
    QVERIFY(cypher.startDecryption(source(), m_dir.filePath(QStringLiteral("out")), false, true, true, false));
    QVERIFY(cypher.wait());
    disconnect(stopper);
    QCOMPARE(recorder.lines, QStringList({Init, AbortPair}));
    QCOMPARE(recorder.progress.size(), 1);
    QVERIFY(fileBytes(table() + QStringLiteral(".~tmp")).startsWith("INDEX_INFO;SOURCE_SD;2;;12345678;"));
    QVERIFY(fileBytes(table() + QStringLiteral(".~tmp")).endsWith("\r\n"));
    QCOMPARE(fileBytes(table() + QStringLiteral(".~tmp")).count('\n'), 1);

    recorder.lines.clear();
    const QString direct = m_dir.filePath(QStringLiteral("direct.csv"));
    QVERIFY(!cypher.dencryptByteArray(encryptedLines(1, 3), direct));
    QCOMPARE(recorder.lines, QStringList({Init, AbortPair}));
    QCOMPARE(fileBytes(direct), QByteArray());

    recorder.lines.clear();
    QVERIFY(cypher.startDecryption(source(), m_dir.filePath(QStringLiteral("out")), false, true, false, false));
    QVERIFY(cypher.wait());
    QCOMPARE(recorder.lines.value(1), QStringLiteral("finishSuccessful(%1)").arg(table()));
    QCOMPARE(fileBytes(table()), plainLines(1, 200));
}

void KTLCypherTest::stopWhenIdle()
{
    KTLCypher cypher;
    cypher.stopProcess();
    const QString path = m_dir.filePath(QStringLiteral("idle.csv"));
    QVERIFY(cypher.dencryptByteArray(encryptedLines(1, 3), path));
    QCOMPARE(fileBytes(path), plainLines(1, 3));
}

// A second start while the first job runs is refused and changes nothing of that job.
void KTLCypherTest::startWhileRunning()
{
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    QList<bool> secondStarts;
    connect(&cypher, &KTLCypher::initProgressBar, [&] {
        cypher.stopProcess();
        secondStarts << cypher.startDecryption(m_dir.filePath(QStringLiteral("other.enc")), QString(), true, false, false, true);
    });
    QTest::ignoreMessage(QtInfoMsg, "Stop GoBD Decryption");
    QTest::ignoreMessage(QtDebugMsg, "GoBD Decryption already running!");
    QVERIFY(cypher.startDecryption(source(), m_dir.filePath(QStringLiteral("out")), false, true, false, false));
    QVERIFY(cypher.wait());
    QCOMPARE(secondStarts, QList<bool>{false});
    QCOMPARE(recorder.lines, QStringList({Init, AbortPair}));
}

QTEST_GUILESS_MAIN(KTLCypherTest)
#include "tst_ktlcypher.moc"
