// The reader as an application sees it: a job over the registers of a card, in order, one
// register's failure not keeping the other from its backup, the same backup name twice, a
// second start and a stop. What one register's backup does is tested without the worker
// (tst_backuprun).

#include "readertest.h"

#include <fiscora/sdcardreader.h>

#include <QtTest>

using namespace readertest;
using fiscora::SDCardReader;
using fiscora::sample::CardOptions;
using fiscora::sample::RegisterFiles;

namespace {

QStringList runJob(const QString &source, const QString &target)
{
    SDCardReader reader;
    SignalLog log(reader);
    if (reader.startReading(source, target, QDate(), QDate()))
        reader.wait();
    return log.lines;
}

} // namespace

class SDCardReaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false")); }
    void registers_data();
    void registers();
    void secondStartAndStop();
};

// The registers of a card one after the other, whether the one before failed or was written;
// what a backup holds is tested in tst_backuprun. "<card>" and "<target>" stand for the folders.
void SDCardReaderTest::registers_data()
{
    QTest::addColumn<QStringList>("serialNumbers");
    QTest::addColumn<bool>("firstWithoutData");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("backups");
    QTest::newRow("no register") << QStringList() << false
        << QStringList{error("No valid serial number folder found!", "Check your selected start path!")}
        << QStringList();
    QTest::newRow("the first without data files, the second written") << QStringList{"12345678", "87654321"} << true
        << QStringList{error("In the folder <card>/KORVANE/12345678 couldn´t found any data files!",
                             "Please check your choosen folder of your source dataset.")}
               + goodBackup("<target>", "87654321")
        << QStringList{"Backup_CR#87654321_complete.enc"};
    // G2345678 gives the name 02345678, as the folder 02345678 does.
    QTest::newRow("the same backup name twice: the first backup kept") << QStringList{"02345678", "G2345678"} << false
        << goodBackup("<target>", "02345678")
               + QStringList{error("The backup file " + backupPath("<target>", "02345678")
                                       + " was already written for another register folder.",
                                   "Read that register folder on its own into another target folder.")}
        << QStringList{"Backup_CR#02345678_complete.enc"};
}

void SDCardReaderTest::registers()
{
    QFETCH(QStringList, serialNumbers);
    QFETCH(bool, firstWithoutData);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, backups);
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = serialNumbers;
    const QList<RegisterFiles> registers = writeTestCard(card.path(), options);
    QCOMPARE(registers.size(), serialNumbers.size());
    if (firstWithoutData)
        QVERIFY(QDir(registers.at(0).folder + "/2019").removeRecursively());

    QCOMPARE(runJob(card.path(), target.path()),
             lines.replaceInStrings("<card>", card.path()).replaceInStrings("<target>", target.path()));
    QCOMPARE(entries(target.path()), backups);
}

// A second start while the job runs is refused and changes nothing. A stop, seen after the file
// being read, ends the job without a new file and keeps an older backup of the same name. The
// span of the job reaches its runs: four months, and their label.
void SDCardReaderTest::secondStartAndStop()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = QStringList{"12345678", "87654321"};
    QCOMPARE(writeTestCard(card.path(), options).size(), 2);
    const QString older = backupPath(target.path(), "12345678", "201901_201904");
    QVERIFY_DONE(writeFile(older, "older backup"));

    SDCardReader reader;
    SignalLog log(reader);
    bool secondStarted = false;
    // Called in the reader's thread, so the job sees the stop right after the second file.
    connect(&reader, &SDCardReader::updateProgressBar, &reader, [&](int filesRead) {
        if (filesRead == 1)
            secondStarted = reader.startReading(card.path(), target.path(), QDate(2019, 1, 1), QDate());
        else if (filesRead == 2)
            reader.stopProcess();
    }, Qt::DirectConnection);
    QVERIFY(reader.startReading(card.path(), target.path(), QDate(2019, 1, 1), QDate(2019, 4, 30)));
    QVERIFY(reader.wait());

    QVERIFY(!secondStarted);
    QCOMPARE(log.lines, progressOf(4).mid(0, 3) + QStringList{error("Process abbort by the user.",
                                                                    "Your saved data are not complete!")});
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#12345678_201901_201904.enc"});
    QCOMPARE(fileBytes(older), QByteArray("older backup"));
}

QTEST_GUILESS_MAIN(SDCardReaderTest)
#include "tst_sdcardreader.moc"
