// One register's backup without a thread: its bytes, what a data file that cannot be read does
// to it, a commit that fails, names taken by what is no regular file, a full disk, a header too
// large, no data files, and a stop.

#include "backuprun_p.h"
#include "faultinjection.h"
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
                   const QDate &toDate = QDate(), bool stopRequested = false)
{
    RecordedBackupReport report;
    const std::atomic_bool stop{stopRequested};
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
    void completeBackup();
    void unreadableDataFile_data();
    void unreadableDataFile();
    void commitFails_data();
    void commitFails();
    void notRegularFiles_data();
    void notRegularFiles();
    void fullDisk();
    void headerTooLarge();
    void noDataFiles_data();
    void noDataFiles();
    void stop();
};

// A backup of the same name from an earlier run is replaced.
void BackupRunTest::completeBackup()
{
    QTemporaryDir card;
    QTemporaryDir target;
    const RegisterFiles reg = writeTestCard(card.path()).value(0);
    QVERIFY_DONE(writeFile(backupPath(target.path(), "12345678"), "older backup"));

    QCOMPARE(backUp(reg.folder, target.path()), goodBackup(target.path(), "12345678"));
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#12345678_complete.enc"});
    QCOMPARE(fileBytes(backupPath(target.path(), "12345678")), expectedBackup(reg, reg.dataFiles));
}

// Links in place of the second of four data files: one that cannot be opened is not counted, one
// whose read breaks off is; neither adds to the backup, and the month is missing in its header
// and its report, which makes the header longer than the one written before the data.
void BackupRunTest::unreadableDataFile_data()
{
    QTest::addColumn<QString>("linkTarget");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("filesDone");

    QTest::newRow("cannot be opened") << "/proc/sys/vm/drop_caches"
        << error("Couldn´t open file @file for reading data.",
                 "Your data source is corrupted or you have no right for open this file.") << 3;
    QTest::newRow("read breaks off") << "/proc/self/mem"
        << error("Couldn´t read data from the file @file. The error from the system is: Input/output error",
                 "You have no read permission on this location or the file is corrupted.") << 4;
}

void BackupRunTest::unreadableDataFile()
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
    QVERIFY(QFile::remove(broken) && QFile::link(linkTarget, broken));

    QStringList lines = progressOf(4).mid(0, filesDone + 1);
    lines.insert(2, failure.replace("@file", broken));
    lines << backupWritten(backupPath(target.path(), "12345678"))
          << message("The data was created by reading from SD-Card or Backup.", false, 1)
          << message("Serialnumber of the cash register: 12345678", false, 2)
          << message("INDEX ERROR: The file for the date 02/2019 is missing.", true, 3);
    QCOMPARE(backUp(reg.folder, target.path()), lines);
    // 37 months fine, February 2019 missing, 90 months fine.
    QCOMPARE(fileBytes(backupPath(target.path(), "12345678")),
             expectedBackup(reg, read, QByteArray::fromHex("250101025a01")));
}

// The backup reaches its name only once its data is on the disk: a sync or close that fails is a
// failed write, and an older backup of the same name stays.
void BackupRunTest::commitFails_data()
{
    QTest::addColumn<int>("call");
    QTest::newRow("sync") << int(faultinjection::Sync);
    QTest::newRow("close") << int(faultinjection::Close);
}

void BackupRunTest::commitFails()
{
    QFETCH(int, call);
    QTemporaryDir card;
    QTemporaryDir target;
    const RegisterFiles reg = writeTestCard(card.path()).value(0);
    const QString backup = backupPath(target.path(), "12345678");
    QVERIFY_DONE(writeFile(backup, "older backup"));

    faultinjection::failOn(faultinjection::Call(call), "/Backup_CR#12345678_complete.enc.~tmp");
    const QStringList lines = backUp(reg.folder, target.path());
    faultinjection::reset();
    QCOMPARE(lines, progressOf(4) + QStringList{error(
        "Couldn´t save data in backup file " + backup + ". The error from the system is: Input/output error", WriteHint)});
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#12345678_complete.enc"});
    QCOMPARE(fileBytes(backup), QByteArray("older backup"));
}

// Where the index file or the backup should be, something that is no regular file is refused
// with the job's error, and never waited for.
void BackupRunTest::notRegularFiles_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("what");
    QTest::newRow("FIFO as index file") << "index" << "fifo";
    QTest::newRow("device as index file") << "index" << "/dev/zero";
    QTest::newRow("FIFO as backup file") << "backup" << "fifo";
    QTest::newRow("folder as backup file") << "backup" << "folder";
}

void BackupRunTest::notRegularFiles()
{
    QFETCH(QString, where);
    QFETCH(QString, what);
    QTemporaryDir card;
    QTemporaryDir target;
    const RegisterFiles reg = writeTestCard(card.path()).value(0);
    const QString path = where == "index" ? reg.indexFile : backupPath(target.path(), "12345678");
    QVERIFY(!QFile::exists(path) || QFile::remove(path));
    if (what == "fifo")
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else if (what == "folder")
        QVERIFY_DONE(makeFolder(path));
    else
        QVERIFY(QFile::link(what, path));

    const QStringList expected = where == "index"
        ? progressOf(4) + QStringList{backupWritten(backupPath(target.path(), "12345678")),
                                      error("Index file could not read successful.",
                                            "Please check your sources for right permissions, or generate a new backup "
                                            "of your data.")}
        : QStringList{error("Couldn´t create file " + path + " for saving data.", CreateHint)};
    QCOMPARE(backUp(reg.folder, target.path()), expected);
}

// The disk fills up half way through the backup: no backup, not even a part of one.
void BackupRunTest::fullDisk()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions large;
    large.linesPerMonth = 200;
    const RegisterFiles reg = writeTestCard(card.path(), large).value(0);

    faultinjection::fillDiskAfter(16384, "/Backup_CR#12345678_complete.enc.~tmp");
    const QStringList lines = backUp(reg.folder, target.path());
    faultinjection::reset();
    QCOMPARE(lines.mid(lines.size() - 1), QStringList{error(
        "Couldn´t save data in backup file " + backupPath(target.path(), "12345678")
            + ". The error from the system is: No space left on device", WriteHint)});
    QCOMPARE(entries(target.path()), QStringList());
}

// A register whose month map cannot fit the header's 16-bit length gets no backup rather than
// one with a wrong header.
void BackupRunTest::headerTooLarge()
{
    QTemporaryDir card;
    QTemporaryDir target;
    const QString folder = card.path() + QStringLiteral("/11111111");
    QVERIFY_DONE(writeFile(folder + QStringLiteral("/2016/1601.a03"), QByteArray(32, 'x')));
    QVERIFY_DONE(writeFile(folder + QStringLiteral("/11111111.a00"),
                           fiscora::sample::encryptIndexFile(QByteArray(4096, '\x55'))));

    QCOMPARE(backUp(folder, target.path()),
             QStringList{error("Couldn´t save data in backup file " + backupPath(target.path(), "11111111")
                                   + ". The error from the system is: "
                                     "The index of the register is too large for a backup header.",
                               WriteHint)});
    QCOMPARE(entries(target.path()), QStringList());
}

// Nothing to back up: the error names what was looked for, and no file is created.
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

// A stop, seen after the data file at hand, ends the run without a file.
void BackupRunTest::stop()
{
    QTemporaryDir card;
    QTemporaryDir target;
    const RegisterFiles reg = writeTestCard(card.path()).value(0);
    QCOMPARE(backUp(reg.folder, target.path(), QDate(), QDate(), true),
             QStringList({progressStarted(4), progress(1),
                          error("Process abbort by the user.", "Your saved data are not complete!")}));
    QCOMPARE(entries(target.path()), QStringList());
}

QTEST_GUILESS_MAIN(BackupRunTest)
#include "tst_backuprun.moc"
