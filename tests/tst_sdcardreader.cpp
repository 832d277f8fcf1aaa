// The reader as an application sees it: a job over a card of two registers, in order, one
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

enum class Second { Written, AfterFirstWithoutData, SameName };

} // namespace

Q_DECLARE_METATYPE(Second)

class SDCardReaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false")); }
    void twoRegisters_data();
    void twoRegisters();
    void noRegister();
    void secondStartAndStop();
};

void SDCardReaderTest::twoRegisters_data()
{
    QTest::addColumn<QStringList>("serialNumbers");
    QTest::addColumn<Second>("second");
    QTest::newRow("two backups, one after the other") << QStringList{"12345678", "87654321"} << Second::Written;
    QTest::newRow("the first without data files, the second written") << QStringList{"12345678", "87654321"}
                                                                      << Second::AfterFirstWithoutData;
    // G2345678 gives the name 02345678, as the folder 02345678 does.
    QTest::newRow("the same backup name twice: the first backup kept") << QStringList{"02345678", "G2345678"}
                                                                       << Second::SameName;
}

void SDCardReaderTest::twoRegisters()
{
    QFETCH(QStringList, serialNumbers);
    QFETCH(Second, second);
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = serialNumbers;
    const QList<RegisterFiles> registers = writeTestCard(card.path(), options);
    QCOMPARE(registers.size(), 2);
    const QString firstBackup = backupPath(target.path(), serialNumbers.at(0));
    const QString secondBackup = backupPath(target.path(), serialNumbers.at(1));

    QStringList expected;
    QList<int> written{0, 1};
    switch (second) {
    case Second::Written:
        expected = goodBackup(target.path(), serialNumbers.at(0)) + goodBackup(target.path(), serialNumbers.at(1));
        break;
    case Second::AfterFirstWithoutData:
        QVERIFY(QDir(registers.at(0).folder + "/2019").removeRecursively());
        expected = QStringList{error("In the folder " + registers.at(0).folder + " couldn´t found any data files!",
                                     "Please check your choosen folder of your source dataset.")}
                 + goodBackup(target.path(), serialNumbers.at(1));
        written = {1};
        break;
    case Second::SameName:
        expected = goodBackup(target.path(), serialNumbers.at(0))
                 << error("The backup file " + firstBackup + " was already written for another register folder.",
                          "Read that register folder on its own into another target folder.");
        written = {0};
        break;
    }
    QCOMPARE(runJob(card.path(), target.path()), expected);
    QCOMPARE(entries(target.path()).size(), written.size());
    for (const int i : qAsConst(written)) {
        QCOMPARE(fileBytes(i == 0 ? firstBackup : secondBackup),
                 expectedBackup(registers.at(i), registers.at(i).dataFiles));
    }
}

void SDCardReaderTest::noRegister()
{
    QTemporaryDir card;
    QTemporaryDir target;
    QCOMPARE(runJob(card.path(), target.path()),
             QStringList{error("No valid serial number folder found!", "Check your selected start path!")});
}

// A second start while the job runs is refused and changes nothing. A stop, seen after the file
// being read, ends the job without a new file and keeps an older backup of the same name.
void SDCardReaderTest::secondStartAndStop()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = QStringList{"12345678", "87654321"};
    QCOMPARE(writeTestCard(card.path(), options).size(), 2);
    QVERIFY_DONE(writeFile(backupPath(target.path(), "12345678"), "older backup"));

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
    QVERIFY(reader.startReading(card.path(), target.path(), QDate(), QDate()));
    QVERIFY(reader.wait());

    QVERIFY(!secondStarted);
    QCOMPARE(log.lines, progressOf(4).mid(0, 3) + QStringList{error("Process abbort by the user.",
                                                                    "Your saved data are not complete!")});
    QCOMPARE(entries(target.path()), QStringList{"Backup_CR#12345678_complete.enc"});
    QCOMPARE(fileBytes(backupPath(target.path(), "12345678")), QByteArray("older backup"));
}

QTEST_GUILESS_MAIN(SDCardReaderTest)
#include "tst_sdcardreader.moc"
