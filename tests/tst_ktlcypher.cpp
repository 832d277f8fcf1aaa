// The decryptor as an application sees it: what its signals carry, in which order and from which
// thread, a stop, a second start, and the direct decryption of a byte array. What the export and
// the record stream do is tested without the worker (tst_exportrun, tst_recordstream), the result
// crossing threads in tst_library. Each test runs in a temporary folder of its own.

#include "decryptortest.h"
#include "fixtures.h"

#include <fiscora/ktlcypher.h>

#include <QtTest>

using namespace decryptortest;
using fiscora::KTLCypher;
using fiscora::sample::encryptRecord;
using joblog::error;

namespace {

// A GDPdU export of Source.
void exportWith(KTLCypher &cypher, bool indexInfoLine)
{
    QVERIFY(cypher.startDecryption(Source, QStringLiteral("out"), false, true, indexInfoLine, false));
    QVERIFY(cypher.wait(5 * 60 * 1000));
}

} // namespace

class KTLCypherTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void signalsOfAnExport();
    void stopAndSecondStart();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void KTLCypherTest::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid() && QDir::setCurrent(m_dir->path()));
}

// Every signal of a GDPdU export, in order: progress first, the table, the description files, the
// index report numbered from 1 and the hash verdict; all from the worker's thread.
void KTLCypherTest::signalsOfAnExport()
{
    QVERIFY_DONE(writeFile(Source, backup(encryptedLines(1, 300))));
    KTLCypher cypher;
    joblog::SignalLog log(cypher);
    QSet<QThread *> threads;
    connect(&cypher, &KTLCypher::processMessages, &cypher, [&threads] { threads << QThread::currentThread(); },
            Qt::DirectConnection);
    exportWith(cypher, false);

    QCOMPARE(joblog::withoutProgress(log.lines),
             QStringList({Start, joblog::tableWritten(GdpduTable),
                          joblog::fileSaved(GdpduFolder + "gdpdu-01-09-2004.dtd"),
                          joblog::fileSaved(GdpduFolder + "index.xml")})
                 + goodReport());
    QCOMPARE(log.lines.filter("updateProgressBar(").last(), joblog::progress(100));
    QCOMPARE(fileBytes(GdpduTable), plainLines(1, 300));
    QCOMPARE(threads, QSet<QThread *>{&cypher});
}

// A stop asked for at the start ends the run after the first record with the abort pair alone,
// and a second start meanwhile is refused. The next start clears the request; when idle, a stop
// is no request at all, so the direct decryption that follows checks its lines and replaces the
// file as a run does.
void KTLCypherTest::stopAndSecondStart()
{
    QVERIFY_DONE(writeFile(Source, backup(encryptedLines(1, 200))));
    KTLCypher cypher;
    joblog::SignalLog log(cypher);
    QList<bool> secondStarts;
    const QMetaObject::Connection stopper = connect(&cypher, &KTLCypher::initProgressBar, [&] {
        cypher.stopProcess();
        secondStarts << cypher.startDecryption(Source, QStringLiteral("raw"), true, false, false, true);
    });
    QTest::ignoreMessage(QtInfoMsg, "Stop GoBD Decryption");
    QTest::ignoreMessage(QtDebugMsg, "GoBD Decryption already running!");
    exportWith(cypher, true);
    disconnect(stopper);
    QCOMPARE(secondStarts, QList<bool>{false});
    QCOMPARE(log.lines, QStringList({Start, error("Process abbort by the user.",
                                                  "Saving of the decrypted data was not successful!")}));
    QCOMPARE(fileBytes(GdpduTable), QByteArray("<missing>"));

    log.lines.clear();
    exportWith(cypher, false);
    QCOMPARE(log.lines.filter("finishSuccessful("), QStringList{joblog::tableWritten(GdpduTable)});
    QCOMPARE(fileBytes(GdpduTable), plainLines(1, 200));
    cypher.stopProcess();
    log.lines.clear();
    QVERIFY_DONE(writeFile(QStringLiteral("direct.csv"), "an earlier table"));
    const QByteArray wrongRegister = "I;7;Kasse 1;;;;;;;;;;;;;x\r\n";
    QVERIFY(cypher.dencryptByteArray(encryptedLines(1, 2) + encryptRecord(wrongRegister) + encryptedLines(3, 1),
                                     QStringLiteral("direct.csv")));
    QCOMPARE(fileBytes(QStringLiteral("direct.csv")), plainLines(1, 2) + wrongRegister + plainLines(3, 1));
    QCOMPARE(joblog::withoutProgress(log.lines), QStringList({Start, damaged(2), lost(1, 0)}));
}

QTEST_GUILESS_MAIN(KTLCypherTest)
#include "tst_ktlcypher.moc"
