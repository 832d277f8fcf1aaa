// One register's backup without a thread: its bytes, and what a data file, an index file or a
// backup that is no regular file or cannot be read or written does to it, a header too large, and
// no data files. A stop is tested through the worker (tst_sdcardreader).

#include "backuprun_p.h"
#include "faultinjection.h"
#include "filelock_p.h"
#include "readertest.h"
#include "recordedreport.h"

#include <samplecipher.h>

#include <QtTest>

#include <sys/stat.h>

using namespace readertest;
using fiscora::sample::CardOptions;
using fiscora::sample::RegisterFiles;

namespace {

const QString WriteHint = QStringLiteral("You have no write permission on this location or the saved file is corrupted.");
const QString CreateHint = QStringLiteral("Please be sure that you have write access on your destination folder.");

// Backs up the register in folder into target and returns what the run reported.
QStringList backUp(const QString &folder, const QString &target, const QDate &fromDate = QDate(),
                   const QDate &toDate = QDate())
{
    RecordedBackupReport report;
    const std::atomic_bool stop{false};
    fiscora::BackupRun(report, stop, folder, target, fromDate, toDate).run({});
    return report.lines;
}

} // namespace

class BackupRunTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false")); }
    void cleanup() { faultinjection::reset(); }
    void obstacles_data();
    void obstacles();
    void oneJobAName_data();
    void oneJobAName();
    void abandonedFiles();
    void noDataFiles_data();
    void noDataFiles();
};

// What stands in the way of a backup of four months, over an older one of the same name: the
// second data file, the index file or the backup replaced by a link, a FIFO, a folder or an index
// too large for the header, or a call that fails on the backup's temporary file. "<target>" and
// "<file>" in the lines stand for the target folder and the file replaced. Only a whole new backup,
// whose header holds map, replaces the older one.
void BackupRunTest::obstacles_data()
{
    QTest::addColumn<QString>("replaced");
    QTest::addColumn<QString>("by");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("map");
    const QStringList files = progressOf(4);
    const QString written = backupWritten(backupPath("<target>", "12345678"));
    const QStringList february{written, message("The data was created by reading from SD-Card or Backup.", false, 1),
                               message("Serialnumber of the cash register: 12345678", false, 2),
                               message("INDEX ERROR: The file for the date 02/2019 is missing.", true, 3)};
    const QString noIndex = error("Index file could not read successful.", "Please check your sources for right "
                                  "permissions, or generate a new backup of your data.");
    // 2048 months without index, in runs of 255.
    const QByteArray noIndexMap = QByteArray::fromHex("ff04").repeated(8) + QByteArray::fromHex("0804");
    const auto saveFailed = [](const QString &reason) {
        return error("Couldn´t save data in backup file " + backupPath("<target>", "12345678")
                         + ". The error from the system is: " + reason, WriteHint);
    };
    const QString created = error("Couldn´t create file <file> for saving data.", CreateHint);

    QTest::newRow("nothing") << "" << "" << -1 << goodBackup("<target>", "12345678") << QByteArray::fromHex("8001");
    // Neither adds to the backup, and the month is missing in its header and its report, which
    // makes the header longer than the one written before the data: 37 months fine, February
    // 2019 missing, 90 months fine.
    QTest::newRow("data file cannot be opened: not counted") << "data" << "/proc/sys/vm/drop_caches" << -1
        << (QStringList(files.mid(0, 2)) << error("Couldn´t open file <file> for reading data.",
                                                  "Your data source is corrupted or you have no right for open this file.")
                            << files.mid(2, 2) << february)
        << QByteArray::fromHex("250101025a01");
    QTest::newRow("data file's read breaks off: counted") << "data" << "/proc/self/mem" << -1
        << (QStringList(files.mid(0, 2)) << error("Couldn´t read data from the file <file>. The error from the "
                                                  "system is: Input/output error",
                                                  "You have no read permission on this location or the file is "
                                                  "corrupted.")
                            << files.mid(2) << february)
        << QByteArray::fromHex("250101025a01");
    // Never waited for; what else keeps an index file from being read is tested in tst_indexfileanalyser.
    QTest::newRow("FIFO as index file") << "index" << "fifo" << -1 << files + QStringList{written, noIndex}
                                        << noIndexMap;
    QTest::newRow("index too large for the header") << "index" << "large" << -1
        << QStringList{saveFailed("The index of the register is too large for a backup header.")} << QByteArray();
    QTest::newRow("FIFO as backup file") << "backup" << "fifo" << -1 << QStringList{created} << QByteArray();
    QTest::newRow("folder as backup file") << "backup" << "folder" << -1 << QStringList{created} << QByteArray();
    // The backup reaches its name only once its data is on the disk.
    QTest::newRow("sync fails") << "" << "" << int(faultinjection::Sync)
        << files + QStringList{saveFailed("Input/output error")} << QByteArray();
    QTest::newRow("close fails") << "" << "" << int(faultinjection::Close)
        << files + QStringList{saveFailed("Input/output error")} << QByteArray();
    QTest::newRow("disk full half way through the first data file") << "" << "" << int(faultinjection::Write)
        << QStringList{files.first(), saveFailed("No space left on device")} << QByteArray();
}

void BackupRunTest::obstacles()
{
    QFETCH(QString, replaced);
    QFETCH(QString, by);
    QFETCH(int, fault);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, map);
    if (by.startsWith('/') && !QFile::exists(by))
        QSKIP("This system has no such file to link to.");
    QTemporaryDir card;
    QTemporaryDir target;
    // Three data files are more than the megabyte by which the body moves when the header grows.
    CardOptions options;
    options.totalSize = 3000000;
    const RegisterFiles reg = writeTestCard(card.path(), options).value(0);
    const QString backup = backupPath(target.path(), "12345678");
    QStringList read = reg.dataFiles;
    const QString path = replaced == "data" ? read.takeAt(1)
                       : replaced == "index" ? reg.indexFile
                       : replaced == "backup" ? backup : QString();
    if (replaced != "backup")
        QVERIFY_DONE(writeFile(backup, "older backup"));
    if (by == "large") {
        QVERIFY_DONE(writeFile(path, fiscora::sample::encryptIndexFile(QByteArray(4096, '\x55'))));
    } else if (!path.isEmpty()) {
        QVERIFY(!QFile::exists(path) || QFile::remove(path));
        if (by == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (by == "folder")
            QVERIFY_DONE(makeFolder(path));
        else
            QVERIFY(QFile::link(by, path));
    }
    const QByteArray temporary = "/Backup_CR#12345678_complete.enc.*.~tmp";
    if (fault == faultinjection::Write)
        faultinjection::fillDiskAfter(100, temporary);
    else if (fault >= 0)
        faultinjection::failOn(faultinjection::Call(fault), temporary);

    const QStringList reported = backUp(reg.folder, target.path());
    faultinjection::reset();
    QCOMPARE(reported, lines.replaceInStrings("<target>", target.path()).replaceInStrings("<file>", path));
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#12345678_complete.enc"});
    if (replaced != "backup")
        QCOMPARE(fileBytes(backup), map.isEmpty() ? QByteArray("older backup") : expectedBackup(reg, read, map));
}

// Nothing to back up: the error names what was looked for, and no file is created.
void BackupRunTest::oneJobAName_data()
{
    QTest::addColumn<bool>("otherProcess");
    QTest::newRow("in this process") << false;
    QTest::newRow("in another process") << true;
}

// While another job writes a backup of the same name, a second refuses and leaves it be; so the
// first never renames a file into place that the second cut short.
void BackupRunTest::oneJobAName()
{
    QFETCH(bool, otherProcess);
    QTemporaryDir card;
    QTemporaryDir target;
    const RegisterFiles reg = writeTestCard(card.path()).value(0);
    const QString backup = backupPath(target.path(), "12345678");
    QVERIFY_DONE(writeFile(backup, "older backup"));
    fiscora::FileLock held(backup + ".~lock");
    QProcess holder;
    if (otherProcess) {
        // cat holds the lock, inherited from flock, until its input ends.
        holder.start(QStringLiteral("flock"), {held.path(), QStringLiteral("cat")});
        QVERIFY2(holder.waitForStarted(), "flock(1) is needed to hold a lock in another process");
        QTRY_VERIFY(!held.tryLock() && held.heldElsewhere());
    } else {
        QVERIFY(held.tryLock());
    }
    QCOMPARE(backUp(reg.folder, target.path()),
             QStringList(error("The backup file " + backup + " is being written by another job.",
                               "Wait until the other job has finished, or read into another target folder.")));
    QCOMPARE(fileBytes(backup), QByteArray("older backup"));
    holder.closeWriteChannel();
    holder.waitForFinished();
    held.unlock();
    QCOMPARE(backUp(reg.folder, target.path()), goodBackup(target.path(), "12345678"));
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#12345678_complete.enc"});
}

// The temporary and lock files of jobs that are no more go with the next backup into the folder;
// those of a job at work stay.
void BackupRunTest::abandonedFiles()
{
    QTemporaryDir card;
    QTemporaryDir target;
    const RegisterFiles reg = writeTestCard(card.path()).value(0);
    const QString live = target.filePath("Backup_CR#87654321_complete.enc.a1b2c3.~tmp");
    for (const char *name : {"Backup_CR#12345678_complete.enc.x9y8z7.~tmp", "Backup_CR#12345678_complete.enc.~tmp",
                             "Backup_CR#11111111_complete.enc.~lock", "Backup_CR#87654321_complete.enc.a1b2c3.~tmp"})
        QVERIFY_DONE(writeFile(target.filePath(name), "left behind"));
    fiscora::FileLock liveLock(live);
    QVERIFY(liveLock.tryLockExisting());
    QCOMPARE(backUp(reg.folder, target.path()), goodBackup(target.path(), "12345678"));
    QCOMPARE(entries(target.path()),
             QStringList({"Backup_CR#12345678_complete.enc", "Backup_CR#87654321_complete.enc.a1b2c3.~tmp"}));
}

void BackupRunTest::noDataFiles_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<QString>("failure");

    QTest::newRow("toDate alone reads nothing") << "12345678" << QDate() << QDate(2019, 3, 1)
        << error("In the folder @/12345678 couldn´t found any data files!",
                 "Please check your choosen folder of your source dataset.");
    QTest::newRow("mid-month start within one month") << "12345678" << QDate(2019, 1, 15) << QDate(2019, 1, 31)
        << error("For the choosen datespan 01/2019 to 01/2019 couldn´t found any data!",
                 "Please change your choosen datespan or check your selected datafolder.");
    QTest::newRow("same day twice, a month without data") << "12345678" << QDate(2020, 1, 1) << QDate(2020, 1, 1)
        << error("For the choosen date 01/2020 couldn´t found any data!",
                 "Please change your choosen date or check your selected datafolder.");
    QTest::newRow("register folder that does not exist") << "ABCDEFGH" << QDate() << QDate()
        << error("SD card folder is not valid.", "Please check your path to the encrypted GoBD dataset.");
}

void BackupRunTest::noDataFiles()
{
    QFETCH(QString, folder);
    QFETCH(QDate, fromDate);
    QFETCH(QDate, toDate);
    QFETCH(QString, failure);
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.makerFolder.clear();
    QCOMPARE(writeTestCard(card.path(), options).size(), 1);

    QCOMPARE(backUp(card.path() + '/' + folder, target.path(), fromDate, toDate),
             QStringList{failure.replace("@", card.path())});
    QCOMPARE(entries(target.path()), QStringList());
}

QTEST_GUILESS_MAIN(BackupRunTest)
#include "tst_backuprun.moc"
