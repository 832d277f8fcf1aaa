// The reading job end to end on sample cards: backup bytes, read and write failures, and the
// worker's start and stop protocol.

#include "readertest.h"

#include <samplecard.h>
#include <samplecipher.h>

#include <QtTest>

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

// The header with the serial number, the month map (128 months from January 2016, all fine) and
// the MD5 of the body, which is the data files in their order.
QByteArray expectedBackup(const RegisterFiles &reg, const QStringList &dataFiles)
{
    QByteArray body;
    for (const QString &file : dataFiles)
        body += fileBytes(file);
    return backupHeader(QFileInfo(reg.folder).fileName().toLatin1(), QByteArray::fromHex("8001"),
                        fiscora::HelperClass::calculateMD5Hash(body)) + body;
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
    void completeBackup();
    void unreadableDataFile_data();
    void unreadableDataFile();
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
// whose read breaks off is; neither adds to the backup.
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

    QStringList log = goodBackup(target.path(), "12345678", filesDone);
    log[0] = QStringLiteral("initProgressBar(0, 4)");
    log.insert(2, failure.replace("@file", broken));
    QCOMPARE(runJob(card.path(), target.path()), log);
    QCOMPARE(fileBytes(backupPath(target.path(), "12345678")), expectedBackup(reg, read));
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
