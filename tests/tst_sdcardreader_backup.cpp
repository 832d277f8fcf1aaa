// The reading job end to end: backup bytes, index report, error pairs, stop and write failures,
// and the worker's start and stop protocol.

#include "readertest.h"

#include <samplecard.h>
#include <samplecipher.h>

#include <QtTest>

using namespace readertest;
using fiscora::sample::CardOptions;
using fiscora::sample::RegisterFiles;

namespace {

// The month map of a register whose index and data files agree: 128 months from January 2016, all fine.
const QByteArray allMonthsFine = QByteArray::fromHex("8001");

// Cards of four months, January to April 2019.
QList<RegisterFiles> writeTestCard(const QString &path, CardOptions options = CardOptions())
{
    options.lastMonth = QDate(2019, 4, 1);
    return fiscora::sample::writeCard(path, options);
}

// A backup: the header with the register's serial number and month map, then the data files in their order.
QByteArray expectedBackup(const RegisterFiles &reg, const QStringList &dataFiles, const QByteArray &map = allMonthsFine)
{
    QByteArray body;
    for (const QString &file : dataFiles)
        body += fileBytes(file);
    const QByteArray serialNumber = QFileInfo(reg.folder).fileName().toLatin1();
    return backupHeader(serialNumber, map, fiscora::HelperClass::calculateMD5Hash(body)) + body;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class SDCardReaderBackupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void completeBackup();
    void indexReport_data();
    void indexReport();
    void noBackup_data();
    void noBackup();
    void unreadableDataFile_data();
    void unreadableDataFile();
    void stopKeepsOlderBackup();
    void headerTooLarge();
    void writeFailure();
    void secondStartWhileRunning();
};

void SDCardReaderBackupTest::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
}

void SDCardReaderBackupTest::completeBackup()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = QStringList{"12345678", "87654321"};
    const QList<RegisterFiles> registers = writeTestCard(card.path(), options);
    QCOMPARE(registers.size(), 2);
    // A backup of the same name from an earlier run is replaced.
    QVERIFY(writeFile(backupPath(target.path(), "12345678"), "older backup"));

    QCOMPARE(runJob(card.path(), target.path()),
             goodBackup(target.path(), "12345678") + goodBackup(target.path(), "87654321"));
    QCOMPARE(entries(target.path()),
             QStringList({"Backup_CR#12345678_complete.enc", "Backup_CR#87654321_complete.enc"}));
    for (const RegisterFiles &reg : registers) {
        QCOMPARE(fileBytes(backupPath(target.path(), QFileInfo(reg.folder).fileName())),
                 expectedBackup(reg, reg.dataFiles));
    }
}

void SDCardReaderBackupTest::indexReport_data()
{
    QTest::addColumn<QDate>("missingMonth");
    QTest::addColumn<bool>("withIndexFile");
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<QStringList>("report");

    const QStringList good = goodReport(QStringLiteral("12345678"));
    QTest::newRow("index and files agree") << QDate() << true << allMonthsFine << good;
    // 38 months up to February 2019 fine, March missing, 89 months fine.
    QTest::newRow("announced month missing")
        << QDate(2019, 3, 1) << true << QByteArray::fromHex("260101025901")
        << good.mid(0, 2) + QStringList{message("INDEX ERROR: The file for the date 03/2019 is missing.", true, 3)};
    QTest::newRow("no index file: 2048 months without a verdict")
        << QDate() << false << QByteArray::fromHex("ff04").repeated(8) + QByteArray::fromHex("0804")
        << QStringList{indexUnreadable};
}

// The report follows the finished backup, whose header holds what the index check found.
void SDCardReaderBackupTest::indexReport()
{
    QFETCH(QDate, missingMonth);
    QFETCH(bool, withIndexFile);
    QFETCH(QByteArray, map);
    QFETCH(QStringList, report);
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.missingMonth = missingMonth;
    options.withIndexFile = withIndexFile;
    const RegisterFiles reg = writeTestCard(card.path(), options).value(0);

    const QString backup = backupPath(target.path(), "12345678", "201902_201904");
    const QStringList read = reg.dataFiles.mid(1);
    QCOMPARE(runJob(card.path(), target.path(), QDate(2019, 2, 1), QDate(2019, 4, 30)),
             progress(read.size()) + QStringList{finished(backup)} + report);
    QCOMPARE(fileBytes(backup), expectedBackup(reg, read, map));
}

// Failures that leave no backup file; "@card" and "@target" stand for the two folders.
void SDCardReaderBackupTest::noBackup_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<QString>("failure");

    const QString card = QStringLiteral("@card");
    const QString target = QStringLiteral("@target");
    QTest::newRow("E1 no register folder") << target << target << QDate() << QDate() << noSerialNumberFolder;
    QTest::newRow("E2 register folder missing") << "@card/KORVANE/87654321" << target << QDate() << QDate()
                                                << invalidFolder;
    QTest::newRow("E3 single date") << card << target << QDate(2020, 1, 1) << QDate() << noDataForDate("01/2020");
    QTest::newRow("E3 same day twice") << card << target << QDate(2020, 1, 1) << QDate(2020, 1, 1)
                                       << noDataForDate("01/2020");
    QTest::newRow("E4 span within one month") << card << target << QDate(2020, 1, 1) << QDate(2020, 1, 31)
                                              << noDataForSpan("01/2020", "01/2020");
    QTest::newRow("E5 no start date") << card << target << QDate() << QDate(2019, 3, 1)
                                      << noDataInFolder("@card/KORVANE/12345678");
    QTest::newRow("E6 target folder missing") << card << "@target/missing" << QDate() << QDate()
                                              << cannotCreate("@target/missing/Backup_CR#12345678_complete.enc");
    QTest::newRow("E6 target folder not writable") << card << "/proc" << QDate() << QDate()
                                                   << cannotCreate("/proc/Backup_CR#12345678_complete.enc");
}

void SDCardReaderBackupTest::noBackup()
{
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(QDate, fromDate);
    QFETCH(QDate, toDate);
    QFETCH(QString, failure);
    QTemporaryDir card;
    QTemporaryDir targetDir;
    QCOMPARE(writeTestCard(card.path()).size(), 1);
    const auto resolved = [&](QString text) {
        return text.replace(QStringLiteral("@card"), card.path()).replace(QStringLiteral("@target"), targetDir.path());
    };

    QCOMPARE(runJob(resolved(source), resolved(target), fromDate, toDate), QStringList{resolved(failure)});
    QVERIFY(entries(targetDir.path()).isEmpty());
}

// Links in place of the second of four data files: one that cannot be opened, and one whose
// read breaks off, which still counts as done.
void SDCardReaderBackupTest::unreadableDataFile_data()
{
    QTest::addColumn<QString>("linkTarget");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("filesDone");

    QTest::newRow("cannot be opened") << "/proc/sys/vm/drop_caches" << cannotOpen("@file") << 3;
    QTest::newRow("read breaks off") << "/proc/self/mem" << cannotRead("@file", "Input/output error") << 4;
}

void SDCardReaderBackupTest::unreadableDataFile()
{
    QFETCH(QString, linkTarget);
    QFETCH(QString, failure);
    QFETCH(int, filesDone);
    if (!QFile::exists(linkTarget))
        QSKIP("This system has no such file to link to.");
    QTemporaryDir card;
    QTemporaryDir target;
    const RegisterFiles reg = writeTestCard(card.path()).value(0);
    QStringList read = reg.dataFiles;
    const QString broken = read.takeAt(1);
    QVERIFY(QFile::remove(broken));
    QVERIFY(QFile::link(linkTarget, broken));

    QStringList log = goodBackup(target.path(), "12345678", filesDone);
    log[0] = QStringLiteral("initProgressBar(0, 4)");
    log.insert(2, failure.replace(QStringLiteral("@file"), broken));
    QCOMPARE(runJob(card.path(), target.path()), log);
    QCOMPARE(fileBytes(backupPath(target.path(), "12345678")), expectedBackup(reg, read));
}

void SDCardReaderBackupTest::stopKeepsOlderBackup()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = QStringList{"12345678", "87654321"};
    QCOMPARE(writeTestCard(card.path(), options).size(), 2);
    QVERIFY(writeFile(backupPath(target.path(), "12345678"), "older backup"));

    fiscora::SDCardReader reader;
    QStringList log;
    recordSignals(reader, log);
    // Asked in the reader's thread when the second file is done, so the job sees it right after.
    connect(&reader, &fiscora::SDCardReader::updateProgressBar, &reader, [&reader](int filesRead) {
        if (filesRead == 2)
            reader.stopProcess();
    }, Qt::DirectConnection);
    QVERIFY(reader.startReading(card.path(), target.path(), QDate(), QDate()));
    QVERIFY(reader.wait());

    QCOMPARE(log, progress(4).mid(0, 3) + QStringList{stopped});
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#12345678_complete.enc"});
    QCOMPARE(fileBytes(backupPath(target.path(), "12345678")), QByteArray("older backup"));
}

// 0x55 announces every other month: with every month in the span that makes one run per month,
// 65536 bytes of map, more than a header can hold. The next register is still written.
void SDCardReaderBackupTest::headerTooLarge()
{
    QTemporaryDir card;
    QTemporaryDir target;
    const QString tooLarge = card.path() + QStringLiteral("/11111111");
    QVERIFY(writeFile(tooLarge + QStringLiteral("/2016/1601.a03"), QByteArray(32, 'x')));
    QVERIFY(writeFile(tooLarge + QStringLiteral("/11111111.a00"),
                      fiscora::sample::encryptIndexFile(QByteArray(4096, '\x55'))));
    CardOptions options;
    options.makerFolder.clear();
    options.serialNumbers = QStringList{"22222222"};
    QCOMPARE(writeTestCard(card.path(), options).size(), 1);

    QCOMPARE(runJob(card.path(), target.path()),
             QStringList{cannotSave(backupPath(target.path(), "11111111"),
                                    "The index of the register is too large for a backup header.")}
                 + goodBackup(target.path(), "22222222"));
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#22222222_complete.enc"});
}

// A child process runs the job under a file size limit that the first register's backup exceeds.
void SDCardReaderBackupTest::writeFailure()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions large;
    large.linesPerMonth = 200;
    CardOptions small;
    small.serialNumbers = QStringList{"87654321"};
    QCOMPARE(writeTestCard(card.path(), large).size(), 1);
    QCOMPARE(writeTestCard(card.path(), small).size(), 1);
    QVERIFY(writeFile(backupPath(target.path(), "12345678"), "older backup"));

    QProcess child;
    child.start(QStringLiteral(FISCORA_READJOB), {card.path(), target.path(), QStringLiteral("16384")});
    QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             QStringList({"initProgressBar(0, 4)", cannotSave(backupPath(target.path(), "12345678"), "File too large")})
                 + goodBackup(target.path(), "87654321"));
    QCOMPARE(entries(target.path()),
             QStringList({"Backup_CR#12345678_complete.enc", "Backup_CR#87654321_complete.enc"}));
    QCOMPARE(fileBytes(backupPath(target.path(), "12345678")), QByteArray("older backup"));
}

// A second start while a job runs is refused and leaves the running job alone.
void SDCardReaderBackupTest::secondStartWhileRunning()
{
    QTemporaryDir card;
    QTemporaryDir target;
    QTemporaryDir otherTarget;
    QCOMPARE(writeTestCard(card.path()).size(), 1);
    fiscora::SDCardReader reader;
    QStringList log;
    recordSignals(reader, log);
    QSemaphore jobRunning;
    QSemaphore mayGoOn;
    connect(&reader, &fiscora::SDCardReader::initProgressBar, &reader, [&] {
        jobRunning.release();
        mayGoOn.acquire();
    }, Qt::DirectConnection);

    QVERIFY(reader.startReading(card.path(), target.path(), QDate(), QDate()));
    jobRunning.acquire();
    const bool secondStarted = reader.startReading(card.path(), otherTarget.path(), QDate(2019, 1, 1), QDate());
    mayGoOn.release();
    QVERIFY(reader.wait());

    QVERIFY(!secondStarted);
    QCOMPARE(log, goodBackup(target.path(), "12345678"));
    QVERIFY(entries(otherTarget.path()).isEmpty());
}

QTEST_GUILESS_MAIN(SDCardReaderBackupTest)
#include "tst_sdcardreader_backup.moc"
