// The reading job end to end on sample cards: backup bytes, read and write failures, and the
// worker's start and stop protocol.

#include "faultinjection.h"
#include "readertest.h"

#include <samplecard.h>
#include <samplecipher.h>

#include <QtTest>

#include <sys/stat.h>

using namespace readertest;
using fiscora::sample::CardOptions;
using fiscora::sample::RegisterFiles;

namespace {

// Registers of four months, January to April 2019, whose index and data files agree.
QList<RegisterFiles> writeTestCard(const QString &path, CardOptions options = CardOptions())
{
    options.lastMonth = QDate(2019, 4, 1);
    return fiscora::sample::writeCard(path, options);
}

// The header with the serial number, the month map (by default 128 months from January 2016, all
// fine) and the MD5 of the body, which is the data files in their order.
QByteArray expectedBackup(const RegisterFiles &reg, const QStringList &dataFiles,
                          const QByteArray &map = QByteArray::fromHex("8001"))
{
    QByteArray body;
    for (const QString &file : dataFiles)
        body += fileBytes(file);
    return backupHeader(QFileInfo(reg.folder).fileName().toLatin1(), map, fiscora::HelperClass::calculateMD5Hash(body))
        + body;
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
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false")); }
    void cleanup() { faultinjection::reset(); }
    void completeBackup();
    void unreadableDataFile_data();
    void unreadableDataFile();
    void commitFails_data();
    void commitFails();
    void sameBackupName();
    void notRegularFiles_data();
    void notRegularFiles();
    void unwritableTarget();
    void writeFailure();
    void headerTooLarge();
    void secondStartAndStop();
};

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
    QCOMPARE(entries(target.path()).size(), 2);
    for (const RegisterFiles &reg : registers) {
        QCOMPARE(fileBytes(backupPath(target.path(), QFileInfo(reg.folder).fileName())),
                 expectedBackup(reg, reg.dataFiles));
    }
}

// Links in place of the second of four data files: one that cannot be opened is not counted, one
// whose read breaks off is; neither adds to the backup, and the month is missing in its header
// and its report, which makes the header longer than the one written before the data.
void SDCardReaderBackupTest::unreadableDataFile_data()
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
    QVERIFY(QFile::remove(broken) && QFile::link(linkTarget, broken));

    QStringList log = progress(4).mid(0, filesDone + 1);
    log.insert(2, failure.replace("@file", broken));
    log << finished(backupPath(target.path(), "12345678"))
        << message("The data was created by reading from SD-Card or Backup.", false, 1)
        << message("Serialnumber of the cash register: 12345678", false, 2)
        << message("INDEX ERROR: The file for the date 02/2019 is missing.", true, 3);
    QCOMPARE(runJob(card.path(), target.path()), log);
    // 37 months fine, February 2019 missing, 90 months fine.
    QCOMPARE(fileBytes(backupPath(target.path(), "12345678")),
             expectedBackup(reg, read, QByteArray::fromHex("250101025a01")));
}

// The backup reaches its name only once its data is on the disk: a sync or close that fails is a
// failed write, and an older backup of the same name stays.
void SDCardReaderBackupTest::commitFails_data()
{
    QTest::addColumn<int>("call");
    QTest::newRow("sync") << int(faultinjection::Sync);
    QTest::newRow("close") << int(faultinjection::Close);
}

void SDCardReaderBackupTest::commitFails()
{
    QFETCH(int, call);
    QTemporaryDir card;
    QTemporaryDir target;
    QCOMPARE(writeTestCard(card.path()).size(), 1);
    const QString backup = backupPath(target.path(), "12345678");
    QVERIFY(writeFile(backup, "older backup"));

    faultinjection::failOn(faultinjection::Call(call), "/Backup_CR#12345678_complete.enc.~tmp");
    const QStringList log = runJob(card.path(), target.path());
    faultinjection::reset();
    QCOMPARE(log, progress(4) + QStringList{error(
        "Couldn´t save data in backup file " + backup + ". The error from the system is: Input/output error",
        "You have no write permission on this location or the saved file is corrupted.")});
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#12345678_complete.enc"});
    QCOMPARE(fileBytes(backup), QByteArray("older backup"));
}

// G1234567 and 01234567 give the same backup name: the second register folder does not replace
// what the job wrote for the first.
void SDCardReaderBackupTest::sameBackupName()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = QStringList{"01234567", "G1234567"};
    const QList<RegisterFiles> registers = writeTestCard(card.path(), options);
    QCOMPARE(registers.size(), 2);

    const QString backup = backupPath(target.path(), "01234567");
    QCOMPARE(runJob(card.path(), target.path()),
             goodBackup(target.path(), "01234567")
                 << error("The backup file " + backup + " was already written for another register folder.",
                          "Read that register folder on its own into another target folder."));
    QCOMPARE(fileBytes(backup), expectedBackup(registers.at(0), registers.at(0).dataFiles));
}

// Where the index file or the backup should be, something that is no regular file is refused
// with the job's error, and never waited for.
void SDCardReaderBackupTest::notRegularFiles_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("what");
    QTest::newRow("FIFO as index file") << "index" << "fifo";
    QTest::newRow("device as index file") << "index" << "/dev/zero";
    QTest::newRow("FIFO as backup file") << "backup" << "fifo";
}

void SDCardReaderBackupTest::notRegularFiles()
{
    QFETCH(QString, where);
    QFETCH(QString, what);
    QTemporaryDir card;
    QTemporaryDir target;
    const RegisterFiles reg = writeTestCard(card.path()).value(0);
    const QString path = where == "index" ? reg.indexFile : backupPath(target.path(), "12345678");
    QVERIFY(!QFile::exists(path) || QFile::remove(path));
    QVERIFY(what == "fifo" ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 : QFile::link(what, path));

    const QStringList expected = where == "index"
        ? progress(4) + QStringList{finished(backupPath(target.path(), "12345678")),
                                    error("Index file could not read successful.",
                                          "Please check your sources for right permissions, or generate a new backup "
                                          "of your data.")}
        : QStringList{error("Couldn´t create file " + path + " for saving data.",
                            "Please be sure that you have write access on your destination folder.")};
    QCOMPARE(runJob(card.path(), target.path()), expected);
}

void SDCardReaderBackupTest::unwritableTarget()
{
    QTemporaryDir card;
    QCOMPARE(writeTestCard(card.path()).size(), 1);
    const QString failure = error("Couldn´t create file /proc/Backup_CR#12345678_complete.enc for saving data.",
                                  "Please be sure that you have write access on your destination folder.");
    QCOMPARE(runJob(card.path(), "/proc"), QStringList{failure});
}

// A child process runs the job under a file size limit that only the first register's backup exceeds.
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

    QProcess child;
    child.start(QStringLiteral(FISCORA_READJOB), {card.path(), target.path(), QStringLiteral("16384")});
    QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
    const QString failure = error(
        QStringLiteral("Couldn´t save data in backup file %1. The error from the system is: File too large")
            .arg(backupPath(target.path(), "12345678")),
        "You have no write permission on this location or the saved file is corrupted.");
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             QStringList({"initProgressBar(0, 4)", failure}) + goodBackup(target.path(), "87654321"));
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#87654321_complete.enc"});
}

// A register whose month map cannot fit the header's 16-bit length gets no backup rather than
// one with a wrong header; the next register is read as usual.
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

    const QString failure = error(
        QStringLiteral("Couldn´t save data in backup file %1. The error from the system is: "
                       "The index of the register is too large for a backup header.")
            .arg(backupPath(target.path(), "11111111")),
        "You have no write permission on this location or the saved file is corrupted.");
    QCOMPARE(runJob(card.path(), target.path()), QStringList{failure} + goodBackup(target.path(), "22222222"));
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#22222222_complete.enc"});
}

// A second start while the job runs is refused and changes nothing. A stop, seen after the file
// being read, ends the job without a new file and keeps an older backup of the same name.
void SDCardReaderBackupTest::secondStartAndStop()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = QStringList{"12345678", "87654321"};
    QCOMPARE(writeTestCard(card.path(), options).size(), 2);
    QVERIFY(writeFile(backupPath(target.path(), "12345678"), "older backup"));

    SDCardReader reader;
    QStringList log;
    recordSignals(reader, log);
    bool secondStarted = false;
    // Called in the reader's thread, so the job sees the stop right after the second file.
    connect(&reader, &SDCardReader::updateProgressBar, &reader, [&](int filesRead) {
        if (filesRead == 1)
            secondStarted = reader.startReading(card.path(), target.path(), QDate(2019, 1, 1), QDate());
        else if (filesRead == 2)
            reader.stopProcess();
    }, Qt::DirectConnection);
    QVERIFY(reader.startReading(card.path(), target.path(), QDate(), QDate()));
    QVERIFY(reader.wait());

    QVERIFY(!secondStarted);
    QCOMPARE(log, progress(4).mid(0, 3) + QStringList{error("Process abbort by the user.",
                                                            "Your saved data are not complete!")});
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#12345678_complete.enc"});
    QCOMPARE(fileBytes(backupPath(target.path(), "12345678")), QByteArray("older backup"));
}

QTEST_GUILESS_MAIN(SDCardReaderBackupTest)
#include "tst_sdcardreader_backup.moc"
