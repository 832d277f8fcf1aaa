// The reading job end to end: backup bytes, index report, error pairs, stop and write failures,
// and the worker's start and stop protocol.

#include "readertest.h"

#include <fiscora/indexfileanalyser.h>
#include <samplecard.h>
#include <samplecipher.h>

#include <QtTest>

using namespace readertest;
using fiscora::IndexFileAnalyser;
using fiscora::sample::CardOptions;
using fiscora::sample::RegisterFiles;

namespace {

const QString sdSource = QStringLiteral("processMessage(The data was created by reading from SD-Card or Backup., false, 1)");
const QString indexCorrect = QStringLiteral("processMessage(The data index is correct, no issues recognised., false, 3)");

QString serialMessage(const QString &serialNumber)
{
    return QStringLiteral("processMessage(Serialnumber of the cash register: %1, false, 2)").arg(serialNumber);
}

QString backupPath(const QTemporaryDir &target, const QString &serialNumber,
                   const QString &label = QStringLiteral("complete"))
{
    return target.path() + QStringLiteral("/Backup_CR#%1_%2.enc").arg(serialNumber, label);
}

//! What a register whose index and data files agree emits: progress, the backup, its report.
QStringList goodBackup(const QTemporaryDir &target, const QString &serialNumber, int files = 4)
{
    return progress(files)
        + QStringList{finished(backupPath(target, serialNumber)), sdSource, serialMessage(serialNumber), indexCorrect};
}

// Cards of four months, January to April 2019.
QList<RegisterFiles> writeTestCard(const QString &path, CardOptions options = CardOptions())
{
    options.lastMonth = QDate(2019, 4, 1);
    return fiscora::sample::writeCard(path, options);
}

QByteArray concatenated(const QStringList &files)
{
    QByteArray bytes;
    for (const QString &file : files)
        bytes += readFile(file);
    return bytes;
}

// The header that the backup of register must start with: the index check over the listed files
// and the MD5 value of body.
QByteArray expectedHeader(const RegisterFiles &reg, const QStringList &listed, const QByteArray &body,
                          const QDate &fromDate = QDate(), const QDate &toDate = QDate())
{
    QList<QFileInfo> fileList;
    for (const QString &file : listed)
        fileList << QFileInfo(file);
    IndexFileAnalyser analyser;
    analyser.setMD5Value(QCryptographicHash::hash(body, QCryptographicHash::Md5));
    analyser.setCRSerialnumber(QFileInfo(reg.folder).fileName().toLatin1());
    analyser.checkA00IndexFile(reg.indexFile, fileList, fromDate, toDate, IndexFileAnalyser::SOURCE_SD);
    return analyser.getCompessIndex();
}

QStringList targetEntries(const QTemporaryDir &target)
{
    return QDir(target.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
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
    QVERIFY(writeFile(backupPath(target, "12345678"), "older backup"));

    QCOMPARE(runJob(card.path(), target.path()), goodBackup(target, "12345678") + goodBackup(target, "87654321"));
    QCOMPARE(targetEntries(target),
             QStringList({"Backup_CR#12345678_complete.enc", "Backup_CR#87654321_complete.enc"}));
    for (const RegisterFiles &reg : registers) {
        const QByteArray backup = readFile(backupPath(target, QFileInfo(reg.folder).fileName()));
        const QByteArray body = concatenated(reg.dataFiles);
        const QByteArray header = expectedHeader(reg, reg.dataFiles, body);
        QCOMPARE(backup.left(header.size()), header);
        QCOMPARE(backup.mid(header.size()), body);
        QCOMPARE(backup.mid(4, 16), QCryptographicHash::hash(body, QCryptographicHash::Md5));
    }
}

void SDCardReaderBackupTest::indexReport_data()
{
    QTest::addColumn<QDate>("missingMonth");
    QTest::addColumn<bool>("withIndexFile");
    QTest::addColumn<QStringList>("report");

    QTest::newRow("index and files agree") << QDate() << true
                                           << QStringList{sdSource, serialMessage("12345678"), indexCorrect};
    QTest::newRow("announced month missing")
        << QDate(2019, 3, 1) << true
        << QStringList{sdSource, serialMessage("12345678"),
                       "processMessage(INDEX ERROR: The file for the date 03/2019 is missing., true, 3)"};
    QTest::newRow("no index file") << QDate() << false << QStringList{indexUnreadable};
}

// The report follows the finished backup, whose header holds what the index check found.
void SDCardReaderBackupTest::indexReport()
{
    QFETCH(QDate, missingMonth);
    QFETCH(bool, withIndexFile);
    QFETCH(QStringList, report);
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.missingMonth = missingMonth;
    options.withIndexFile = withIndexFile;
    const RegisterFiles reg = writeTestCard(card.path(), options).value(0);
    const QDate fromDate(2019, 2, 1);
    const QDate toDate(2019, 4, 30);

    const QString backup = backupPath(target, "12345678", "201902_201904");
    const QStringList read = reg.dataFiles.mid(1);
    QCOMPARE(runJob(card.path(), target.path(), fromDate, toDate),
             progress(read.size()) + QStringList{finished(backup)} + report);
    const QByteArray body = concatenated(read);
    QCOMPARE(readFile(backup), expectedHeader(reg, read, body, fromDate, toDate) + body);
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
    QVERIFY(targetEntries(targetDir).isEmpty());
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
    const QString broken = reg.dataFiles.at(1);
    QVERIFY(QFile::remove(broken));
    QVERIFY(QFile::link(linkTarget, broken));

    QStringList log = goodBackup(target, "12345678", filesDone);
    log[0] = QStringLiteral("initProgressBar(0, 4)");
    log.insert(2, failure.replace(QStringLiteral("@file"), broken));
    QCOMPARE(runJob(card.path(), target.path()), log);
    QStringList read = reg.dataFiles;
    read.removeAt(1);
    const QByteArray body = concatenated(read);
    QCOMPARE(readFile(backupPath(target, "12345678")), expectedHeader(reg, reg.dataFiles, body) + body);
}

void SDCardReaderBackupTest::stopKeepsOlderBackup()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = QStringList{"12345678", "87654321"};
    QCOMPARE(writeTestCard(card.path(), options).size(), 2);
    QVERIFY(writeFile(backupPath(target, "12345678"), "older backup"));

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
    QCOMPARE(targetEntries(target), QStringList{"Backup_CR#12345678_complete.enc"});
    QCOMPARE(readFile(backupPath(target, "12345678")), QByteArray("older backup"));
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
             QStringList{cannotSave(backupPath(target, "11111111"),
                                    "The index of the register is too large for a backup header.")}
                 + goodBackup(target, "22222222"));
    QCOMPARE(targetEntries(target), QStringList{"Backup_CR#22222222_complete.enc"});
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
    QVERIFY(writeFile(backupPath(target, "12345678"), "older backup"));

    QProcess child;
    child.start(QStringLiteral(FISCORA_READJOB), {card.path(), target.path(), QStringLiteral("16384")});
    QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             QStringList({"initProgressBar(0, 4)", cannotSave(backupPath(target, "12345678"), "File too large")})
                 + goodBackup(target, "87654321"));
    QCOMPARE(targetEntries(target),
             QStringList({"Backup_CR#12345678_complete.enc", "Backup_CR#87654321_complete.enc"}));
    QCOMPARE(readFile(backupPath(target, "12345678")), QByteArray("older backup"));
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
    QCOMPARE(log, goodBackup(target, "12345678"));
    QVERIFY(targetEntries(otherTarget).isEmpty());
}

QTEST_GUILESS_MAIN(SDCardReaderBackupTest)
#include "tst_sdcardreader_backup.moc"
