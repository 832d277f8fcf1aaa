// End to end: the installed fiscora application and fiscora-mkcard run as people and scripts run them.

#include "fixtures.h"
#include "journal.h"
#include "samplecard.h"

#include <fiscora/helperclass.h>
#include <fiscora/indexfileanalyser.h>

#include <QCryptographicHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// Only a hung process ends a test this way; no result depends on speed.
constexpr int HangGuardMs = 5 * 60 * 1000;

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result run(const QString &program, const QStringList &arguments, const QStringList &environment = {})
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : environment)
        variables.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    QProcess process;
    process.setProcessEnvironment(variables);
    process.start(program, arguments);
    if (!process.waitForFinished(HangGuardMs) || process.exitStatus() != QProcess::NormalExit)
        return Result();
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

Result runApp(const QStringList &arguments, const QStringList &environment = {})
{
    return run(QStringLiteral(FISCORA_APP), arguments, environment);
}

// Runs "fiscora <command>", the command written as in a shell with the test's folder for %D and
// no quoting; leading NAME=value words go into the environment.
Result runApp(const QString &command, const QString &folder)
{
    QStringList arguments = command.split(QLatin1Char(' ')).replaceInStrings("%D", folder);
    QStringList environment;
    while (arguments.first().contains(QLatin1Char('=')))
        environment << arguments.takeFirst();
    return runApp(arguments, environment);
}

bool makeCard(const QString &folder, const QStringList &options)
{
    const Result result = run(QStringLiteral(FISCORA_MKCARD), QStringList(options) << folder);
    if (result.exitCode != 0)
        qWarning("fiscora-mkcard failed: %s", qPrintable(result.err));
    return result.exitCode == 0;
}

// The journal lines of register 1 of a sample card, lines a month, as fiscora-mkcard dates them.
QByteArray journalLines(int firstMonth, int lastMonth, int lines)
{
    const fiscora::sample::Journal journal('1', 1);
    QByteArray table;
    for (int month = 1, number = 1; month <= lastMonth; ++month) {
        for (const QByteArray &line : journal.monthLines(QDate(2019, month, 1), number, lines)) {
            if (month >= firstMonth)
                table += line;
        }
        number += lines;
    }
    return table;
}

const QString IndexReport = "[info] CR#12345678: The data was created by reading from SD-Card or Backup.\n"
                            "[info] CR#12345678: Serialnumber of the cash register: 12345678\n"
                            "[info] CR#12345678: The data index is correct, no issues recognised.\n";

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readExportInfo();
    void listing();
    void cardInAFolderWithARegistersName_data();
    void cardInAFolderWithARegistersName();
    void periodExport_data();
    void periodExport();
    void nothingReplaced_data();
    void nothingReplaced();
    void alteredBackup();
    void verify_data();
    void verify();
    void verifyTampering_data();
    void verifyTampering();
    void package();
    void verifyArchive_data();
    void verifyArchive();
    void packageMonthsWithoutRecords();
    void packageRefused_data();
    void packageRefused();
    void check_data();
    void check();
    void exitCodes_data();
    void exitCodes();
    void failures_data();
    void failures();
    void interrupt_data();
    void interrupt();
    void stopInEachStep_data();
    void stopInEachStep();
    void concurrentJobs_data();
    void concurrentJobs();
    void fileSizeLimit();
    void terminalOutput_data();
    void terminalOutput();
    void closedOutput();
    void quiet();
    void manualPage();
    void completion_data();
    void completion();
};

// A register with three months: its backup for a script, its export and header for a person.
void CliTest::readExportInfo()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--from", "2019-01", "--to", "2019-03", "--lines", "4"}));

    const Result read = runApp({"read", dir.filePath("card"), dir.filePath("backups"), "--from", "2019-01", "--to",
                                "31.03.2019", "--json"});
    const QString backup = dir.filePath("backups/Backup_CR#12345678_201901_201903.enc");
    const QString file = QString(R"("file":"%1",)").arg(dir.filePath("card/KORVANE/12345678"));
    QCOMPARE(read.out.split(QLatin1Char('\n')),
             QStringList({R"({"count":1,"event":"message",)" + file + R"("isError":false,"serial":"12345678",)"
                          R"("text":"The data was created by reading from SD-Card or Backup."})",
                          R"({"count":2,"event":"message",)" + file + R"("isError":false,"serial":"12345678",)"
                          R"("text":"Serialnumber of the cash register: 12345678"})",
                          R"({"count":3,"event":"message",)" + file + R"("isError":false,"serial":"12345678",)"
                          R"("text":"The data index is correct, no issues recognised."})",
                          QString(R"({"event":"finished","file":"%1"})").arg(backup),
                          R"({"event":"done","exitCode":0})", ""}));
    // Progress is no result: it goes to standard error, for a person watching.
    QVERIFY2(read.err.startsWith(R"({"event":"progress",)" + file + R"("max":3,"serial":"12345678","value":0})" "\n"),
             qPrintable(read.err));
    QCOMPARE(read.exitCode, 0);

    const Result exported = runApp({"export", backup, dir.filePath("export"), "--gdpdu"});
    const QString folder = dir.filePath("export/CR#12345678/201901_201903/");
    QCOMPARE(exported.out, QString("Files written:\n  %1gobd.csv\n  %1gdpdu-01-09-2004.dtd\n  %1index.xml\n").arg(folder));
    const QString end = IndexReport + "[info] CR#12345678: Hash value: OK\n       The data seems not corrupted!\n";
    QVERIFY2(exported.err.startsWith("CR#12345678: Progress: 0 of 100\n"), qPrintable(exported.err));
    QCOMPARE(exported.err.right(end.size()), end);
    QCOMPARE(exported.exitCode, 0);
    QCOMPARE(fileBytes(folder + "gobd.csv"), journalLines(1, 3, 4));
    QCOMPARE(tree(dir.filePath("export")).filter(".fiscora"), QStringList());

    // The data behind the header is the card's data files, one after the other.
    QByteArray data;
    for (const char *month : {"1901", "1902", "1903"})
        data += fileBytes(dir.filePath(QString("card/KORVANE/12345678/2019/%1.a03").arg(month)));
    const QByteArray md5 = QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex(' ').toUpper();
    // The records are counted as they are decrypted: no temporary folder is needed.
    const Result info = runApp({"info", backup}, {"TMPDIR=" + dir.filePath("no-such-folder")});
    QCOMPARE(info.out, QString("Backup file:       %1\n"
                               "Serial number:     12345678\n"
                               "Source:            SD card or backup folder\n"
                               "Header version:    2\n"
                               "MD5 in the header: %2\n"
                               "MD5 of the data:   %2\n"
                               "Size of the data:  %3 bytes\n"
                               "Period:            01/2019 to 03/2019\n"
                               "Records:           12\n"
                               "[info] The data matches the MD5 value of the header.\n"
                               "Index report:\n"
                               "[info] The data was created by reading from SD-Card or Backup.\n"
                               "[info] Serialnumber of the cash register: 12345678\n"
                               "[info] The data index is correct, no issues recognised.\n"
                               "Month    Records  Verdict\n"
                               "01/2019        4  OK\n"
                               "02/2019        4  OK\n"
                               "03/2019        4  OK\n")
                                       .arg(backup, QString::fromLatin1(md5))
                                       .arg(data.size()));
    // Looking into a large backup takes a while, and says how far it got.
    QCOMPARE(QString(info.err).remove(QRegularExpression("CR#12345678: Progress: \\d+ of 100\n")), QString());
    QCOMPARE(info.exitCode, 0);
}

// What a card holds, before anything is read: a month that the index announces but the card
// lacks, a data file that cannot be opened, a register with nothing in the span. Listing writes nothing.
void CliTest::listing()
{
    QTemporaryDir dir;
    const QString card = dir.filePath("card");
    QVERIFY(makeCard(card, {"--registers", "2", "--to", "2019-04", "--lines", "1", "--missing-month", "2019-02"}));
    const QString unreadable = card + "/KORVANE/12345679/2019/1903.a03";
    QVERIFY(QFile::remove(unreadable) && QFile::link("/proc/sys/vm/drop_caches", unreadable));
    // A register folder with its index file but no data file is a register that cannot be read;
    // a folder with a register's name that holds nothing of one is passed over.
    QVERIFY(QDir(card + "/KORVANE/12345680").mkpath("2018"));
    QVERIFY(QFile(card + "/KORVANE/12345680/12345680.a00").open(QIODevice::WriteOnly));
    QVERIFY(QDir(card + "/KORVANE").mkpath("SETTINGS/2018"));
    const QStringList before = tree(dir.path());

    const Result list = runApp({"list", card});
    const QString registerLines =
            "\nRegister %1 in %2/KORVANE/%1\n"
            "  Backup file: Backup_CR#%1_complete.enc\n"
            "  Data files:  %3, 01/2019 to 04/2019\n"
            "  Index file:  read\n"
            "         01 02 03 04 05 06 07 08 09 10 11 12\n"
            "  2019   o  M  %4  o  .  .  .  .  .  .  .  .\n"
            "  o data file, announced   M announced, no data file   E data file, not announced\n"
            "  U data file cannot be opened   ? data file, no index file   . nothing\n"
            "  [info] The data was created by reading from SD-Card or Backup.\n"
            "  [info] Serialnumber of the cash register: %1\n"
            "  [error] INDEX ERROR: The file for the date 02/2019 is missing.\n"
            "%5";
    QCOMPARE(list.out, "Card: " + card + "\n" + registerLines.arg("12345678", card, "3", "o", "")
                       + registerLines.arg("12345679", card, "3", "U",
                                           "  [error] INDEX ERROR: The file for the date 03/2019 is missing.\n")
                       + "\nRegister 12345680 in " + card + "/KORVANE/12345680\n"
                         "  [error] A read would fail: In the folder " + card + "/KORVANE/12345680 couldn´t found "
                         "any data files!\n"
                         "  Hint: Please check your choosen folder of your source dataset.\n");
    QCOMPARE(list.err, "[info] Passed over, as they hold neither an index file nor a data file: " + card
                       + "/KORVANE/SETTINGS\n");
    QCOMPARE(list.exitCode, 1);

    const Result json = runApp({"list", card, "--from", "2019-04", "--json"});
    QStringList events = json.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(events.size(), 5);
    QVERIFY2(events.takeFirst().contains(R"("text":"Passed over, as they hold neither)"), qPrintable(json.out));
    QVERIFY2(events.at(0).contains(QString(R"("dataFiles":{"2019-04":{"file":"%1/KORVANE/12345678/2019/1904.a03",)"
                                           R"("readable":true}})").arg(card)), qPrintable(events.at(0)));
    QVERIFY2(events.at(0).contains(R"("backupFile":"Backup_CR#12345678_201904.enc")"), qPrintable(events.at(0)));
    QVERIFY2(events.at(2).contains(R"("error":"For the choosen date 04/2019 couldn´t found any data!")"),
             qPrintable(events.at(2)));
    QCOMPARE(json.exitCode, 1);
    QCOMPARE(tree(dir.path()), before);

    const QString empty = dir.filePath("empty");
    QVERIFY(QDir(dir.path()).mkdir("empty"));
    const Result none = runApp({"list", empty, "--json"});
    QCOMPARE(none.out, "{\"error\":\"" + empty + " leads to no register: it holds no serial-number folder.\","
                       "\"event\":\"error\",\"file\":\"" + empty + "\",\"hint\":\"Choose the card, its maker "
                       "folder or a register's folder.\"}\n{\"event\":\"done\",\"exitCode\":1}\n");
}

void CliTest::cardInAFolderWithARegistersName_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("SD-Karte") << "SD-Karte";
    QTest::newRow("SDCARD01") << "SDCARD01";
}

// A copy of a card in a folder named with eight characters is looked into, not read as one register.
void CliTest::cardInAFolderWithARegistersName()
{
    QFETCH(QString, folder);
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath(folder), {"--registers", "2", "--to", "2019-02", "--lines", "1"}));

    const Result read = runApp({"read", dir.filePath(folder), dir.filePath("backups"), "--quiet"});
    QCOMPARE(read.out, "Files written:\n  " + dir.filePath("backups/Backup_CR#12345678_complete.enc") + "\n  "
                       + dir.filePath("backups/Backup_CR#12345679_complete.enc") + "\n");
    QCOMPARE(read.exitCode, 0);
}

void CliTest::periodExport_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("firstMonth");
    QTest::addColumn<int>("lastMonth");
    QTest::addColumn<QString>("message");

    QTest::newRow("one month") << QStringList{"--gdpdu", "--from", "2019-02"} << "CR#12345678/201902/gobd.csv" << 2
                               << 2 << "The period 02/2019 left out 9 of the 12 lines of the backup.";
    QTest::newRow("a span") << QStringList{"--gdpdu", "--from", "2019-02", "--to", "2019-03"}
                            << "CR#12345678/201902_201903/gobd.csv" << 2 << 3
                            << "The period 02/2019 to 03/2019 left out 6 of the 12 lines of the backup.";
    QTest::newRow("without GDPdU") << QStringList{"--from", "2019-04"} << "Backup_CR#12345678_201904.csv" << 4 << 4
                                   << "The period 04/2019 left out 9 of the 12 lines of the backup.";
}

// The lines of a period from a backup of every month, under the label of the period; the MD5
// proof still covers the whole backup.
void CliTest::periodExport()
{
    QFETCH(QStringList, options);
    QFETCH(QString, table);
    QFETCH(int, firstMonth);
    QFETCH(int, lastMonth);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-04", "--lines", "3"}));
    QCOMPARE(runApp({"read", dir.filePath("card"), dir.path(), "-q"}).exitCode, 0);

    const Result exported = runApp(QStringList{"export", dir.filePath("Backup_CR#12345678_complete.enc"),
                                               dir.filePath("out")} + options);
    QVERIFY2(exported.err.contains("[info] CR#12345678: " + message + "\n"), qPrintable(exported.err));
    QVERIFY2(exported.err.contains("Hash value: OK"), qPrintable(exported.err));
    QCOMPARE(exported.exitCode, 0);
    QCOMPARE(fileBytes(dir.filePath("out/" + table)), journalLines(firstMonth, lastMonth, 3));

    const Result outside = runApp({"export", dir.filePath("Backup_CR#12345678_complete.enc"), dir.filePath("none"),
                                   "--from", "2019-08"});
    QVERIFY2(outside.err.endsWith("Error: CR#12345678: The backup holds no lines of the period 08/2019.\n"
                                  "Hint: Choose a period with records: \"fiscora info\" shows the records of each month.\n"),
             qPrintable(outside.err));
    QCOMPARE(outside.exitCode, 1);
    QCOMPARE(tree(dir.filePath("none")), QStringList());
}

void CliTest::nothingReplaced_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("inTheWay");

    // The backup in %D is there before each command runs.
    QTest::newRow("backup") << "read %D/card %D" << "%D/Backup_CR#12345678_complete.enc";
    QTest::newRow("export folder") << "export %D/Backup_CR#12345678_complete.enc %D/out --gdpdu"
                                   << "%D/out/CR#12345678/complete";
    QTest::newRow("table file") << "export %D/Backup_CR#12345678_complete.enc %D/out"
                                << "%D/out/Backup_CR#12345678_complete.csv";
    QTest::newRow("archive") << "package %D/Backup_CR#12345678_complete.enc %D/out" << "%D/out/CR#12345678_complete.zip";
}

// What a job would replace stops it before it starts, unless --overwrite says to replace it.
void CliTest::nothingReplaced()
{
    QFETCH(QString, command);
    QFETCH(QString, inTheWay);
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-02", "--lines", "1"}));
    QCOMPARE(runApp("read %D/card %D -q", dir.path()).exitCode, 0);
    QCOMPARE(runApp(command + " -q --overwrite", dir.path()).exitCode, 0);
    QVERIFY_DONE(writeFile(dir.filePath("out/CR#12345678/complete/mine.txt"), "a note"));
    const QStringList before = tree(dir.path());

    const Result refused = runApp(command, dir.path());
    QVERIFY2(refused.err.endsWith(QString("%1 is already there.\n"
                                          "Hint: Replace it with --overwrite, or choose another target folder.\n")
                                          .arg(inTheWay).replace("%D", dir.path())),
             qPrintable(refused.err));
    QVERIFY2(!refused.err.contains("Progress"), qPrintable(refused.err));
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(tree(dir.path()), before);

    const Result replaced = runApp(command + " --overwrite", dir.path());
    QCOMPARE(replaced.exitCode, 0);
    QCOMPARE(tree(dir.path()).filter(".~"), QStringList());
    // What else an export folder holds is no part of the export.
    QCOMPARE(fileBytes(dir.filePath("out/CR#12345678/complete/mine.txt")), QByteArray("a note"));
}

// An export whose data does not match the backup's MD5 value is not put in place, and an earlier
// export there stays as it was.
void CliTest::alteredBackup()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-02", "--lines", "2"}));
    QCOMPARE(runApp("read %D/card %D -q", dir.path()).exitCode, 0);
    QCOMPARE(runApp("export %D/Backup_CR#12345678_complete.enc %D/out --gdpdu -q", dir.path()).exitCode, 0);
    const QString backup = dir.filePath("Backup_CR#12345678_complete.enc");
    QVERIFY_DONE(flipLastByte(backup));
    const QStringList before = tree(dir.filePath("out"));

    const Result exported = runApp("export %D/Backup_CR#12345678_complete.enc %D/out --gdpdu --overwrite", dir.path());
    QVERIFY2(exported.err.endsWith(
                     QString("[error] CR#12345678: Hash value: INVALID\n        The data could be corrupted!\n"
                             "Error: CR#12345678: The export of %1 was not kept: its data does not match the MD5 "
                             "value of its header.\n"
                             "Hint: The backup has been altered or damaged. Read the card again, or ask for an "
                             "intact copy of the backup.\n")
                             .arg(backup)),
             qPrintable(exported.err));
    QCOMPARE(exported.out, QString());
    QCOMPARE(exported.exitCode, 1);
    QCOMPARE(tree(dir.filePath("out")), before);

    const Result info = runApp({"info", backup, "--json"});
    QVERIFY2(info.out.contains(R"("md5Matches":false)"), qPrintable(info.out));
    QCOMPARE(info.exitCode, 1);

    // The flipped byte is in the last record, which is said before the verdict.
    const Result checked = runApp({"check", backup, "-q"});
    QCOMPARE(checked.err, QString("[error] CR#12345678: Decryption error near line: 3 \u2014 row 4 of this table, "
                                  "15.02.2019 18:39:15\n"
                                  "[error] CR#12345678: Not all records could be read: 1 lines were repaired, 0 bytes "
                                  "could not be read.\n"
                                  "Error: CR#12345678: %1 was not checked: its data does not match the MD5 value of its "
                                  "header.\nHint: The backup has been altered or damaged. Read the card again, or ask "
                                  "for an intact copy of the backup.\n")
                                  .arg(backup));
    QCOMPARE(checked.exitCode, 1);

    const Result verified = runApp({"verify", dir.filePath("out/CR#12345678/complete"), backup});
    QVERIFY2(verified.out.endsWith("[error] The backup's data does not match the MD5 value of its header.\n"
                                   "[error] The export did not pass the verification.\n"),
             qPrintable(verified.out));
    QCOMPARE(verified.exitCode, 1);
}

void CliTest::verify_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("finding");

    QTest::newRow("sound") << 0 << QByteArray() << QByteArray() << QString();
    QTest::newRow("changed cell") << 2 << QByteArray(";5000;") << QByteArray(";5OOO;")
        << "gobd.csv, line 2, column Rechnungsnummer: \"5OOO\" is not a whole number.";
    QTest::newRow("missing column") << 3 << QByteArray(";PLU;") << QByteArray(";")
        << "gobd.csv, line 3: The row has 26 instead of 27 fields.";
    QTest::newRow("wrong date") << 4 << QByteArray(".2019;") << QByteArray(".2019-;")
        << "gobd.csv, line 4, column Datum: \"%1.2019-\" is not a date in the form DD.MM.YYYY.";
}

// An export folder checked on its own and against the backup it was made from.
void CliTest::verify()
{
    QFETCH(int, line);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, finding);
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-02", "--lines", "2"}));
    QCOMPARE(runApp("read %D/card %D -q", dir.path()).exitCode, 0);
    QCOMPARE(runApp("export %D/Backup_CR#12345678_complete.enc %D/out --gdpdu -q", dir.path()).exitCode, 0);
    const QString folder = dir.filePath("out/CR#12345678/complete");
    QByteArrayList rows = fileBytes(folder + "/gobd.csv").split('\n');
    if (line > 0) {
        const QByteArray row = rows.at(line - 1);
        // A date's day and month differ from row to row.
        if (finding.contains("%1"))
            finding = finding.arg(QString::fromLatin1(row.mid(row.indexOf(".2019;") - 5, 5)));
        rows[line - 1] = QByteArray(row).replace(row.indexOf(from), from.size(), to);
        QVERIFY_DONE(writeFile(folder + "/gobd.csv", rows.join('\n')));
    }

    const QString verdict = finding.isEmpty() ? "[info] The export is sound.\n"
                                              : "[error] The export did not pass the verification.\n";
    const QString found = finding.isEmpty() ? QString() : "[error] " + finding + "\n";
    const Result alone = runApp({"verify", folder});
    const QString period = "Period: every month, as the folder's name complete says\n";
    QCOMPARE(alone.out, "Export folder: " + folder + "\n" + period + found + "Rows checked: 4\n" + verdict);
    QCOMPARE(alone.exitCode, finding.isEmpty() ? 0 : 1);

    // The backup's table is compared as it is decrypted, not from a temporary export.
    const Result compared = runApp({"verify", folder, dir.filePath("Backup_CR#12345678_complete.enc")},
                                   {"TMPDIR=" + dir.filePath("no-such-folder")});
    const QString comparison = finding.isEmpty()
        ? "[info] Every file is what an export of " + dir.filePath("Backup_CR#12345678_complete.enc") + " gives.\n"
        : QString("[error] gobd.csv differs from an export of the backup from line %1 on.\n").arg(line);
    QCOMPARE(compared.out, "Export folder: " + folder + "\n" + period + found + "Rows checked: 4\n" + comparison
                           + "[info] The backup's data matches the MD5 value of its header.\n" + verdict);
    QCOMPARE(compared.exitCode, finding.isEmpty() ? 0 : 1);
}

void CliTest::verifyTampering_data()
{
    QTest::addColumn<QString>("tampering");
    // What verify finds by the rows alone; empty where they cannot tell.
    QTest::addColumn<QString>("finding");
    // The line from which the table differs from an export of the backup.
    QTest::addColumn<int>("line");
    QTest::newRow("line deleted") << "5d" << "Line 13 is missing from the numbering, between 11.02.2019 16:29:55 and 18.02.2019 10:44:46.\n" << 5;
    QTest::newRow("line doubled") << "5p" << "Line numbers that appear more than once: 1; the first, 13, again in row 6 of this table, "
                                     "15.02.2019 13:45:54.\n" << 6;
    QTest::newRow("lines swapped") << "5{h;d};6G" << "Rows whose line number is smaller than the one before: 1; the first, 13, in row 6 of "
                                      "this table, 15.02.2019 13:45:54.\n" << 5;
    QTest::newRow("table emptied") << "d" << "gobd.csv holds no rows.\n" << 1;
    QTest::newRow("a month's table under another's name") << "" << "gobd.csv holds 8 rows outside its period 03/2019, as the folder's name 201903 says.\n" << 1;
    QTest::newRow("a digit of a time changed") << "5s/13:45:54/13:45:59/" << "" << 5;
}

// An export of February 2019 tampered with is caught without the backup by its rows alone, where
// they can tell, and always with it; so it is whether or not its folder is written with a slash behind.
void CliTest::verifyTampering()
{
    QFETCH(QString, tampering);
    QFETCH(QString, finding);
    QFETCH(int, line);
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-03", "--lines", "8"}));
    QCOMPARE(runApp("read %D/card %D -q", dir.path()).exitCode, 0);
    QCOMPARE(runApp("export %D/Backup_CR#12345678_complete.enc %D/out --gdpdu --from 2019-02 -q", dir.path()).exitCode, 0);
    const QString backup = dir.filePath("Backup_CR#12345678_complete.enc");
    QString folder = dir.filePath("out/CR#12345678/201902/");
    const Result sound = runApp({"verify", folder, backup});
    QVERIFY2(sound.exitCode == 0 && sound.out.endsWith("[info] The export is sound.\n"), qPrintable(sound.out));
    if (tampering.isEmpty()) {
        QVERIFY(QDir().rename(folder, dir.filePath("out/CR#12345678/201903")));
        folder = dir.filePath("out/CR#12345678/201903");
    } else {
        QCOMPARE(run("sed", {"-i", tampering, folder + "gobd.csv"}).exitCode, 0);
    }
    const Result alone = runApp({"verify", folder});
    QVERIFY2(finding.isEmpty() ? !alone.out.contains("[error]") : alone.out.contains("[error] " + finding),
             qPrintable(alone.out));
    QCOMPARE(alone.exitCode, finding.isEmpty() ? 0 : 1);

    const Result compared = runApp({"verify", folder, backup});
    QVERIFY2(compared.out.contains(QString("[error] gobd.csv differs from an export of the backup from line %1 on.\n").arg(line)),
             qPrintable(compared.out));
    QCOMPARE(compared.exitCode, 1);
}

// The hand-over archive of a quarter from a backup with a damaged record: the export folder, a
// manifest that sha256sum accepts and a protocol that names register, period and records. The
// damaged record does not stop it; the protocol states it.
void CliTest::package()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-04", "--lines", "8", "--damage", "random-block@2019-02"}));
    QCOMPARE(runApp("read %D/card %D -q", dir.path()).exitCode, 0);

    const Result packaged = runApp("--lang de package %D/Backup_CR#12345678_complete.enc %D/handover --from 2019-01 "
                                   "--to 2019-03",
                                   dir.path());
    QCOMPARE(packaged.out, "Geschriebene Dateien:\n  " + dir.filePath("handover/CR#12345678_201901_201903.zip") + "\n");
    QVERIFY2(packaged.err.contains("[Fehler] CR#12345678: Entschlüsselungsfehler bei Zeile: 12 — Zeile 13 dieser Tabelle, "
                                   "15.02.2019 13:45:54\n"),
             qPrintable(packaged.err));
    QCOMPARE(packaged.exitCode, 1);
    QCOMPARE(tree(dir.filePath("handover")).replaceInStrings(QRegularExpression(" .*"), ""),
             QStringList{"CR#12345678_201901_201903.zip"});

    const QString unpacked = dir.filePath("unpacked");
    QVERIFY(QDir().mkpath(unpacked));
    const Result unzip = run("unzip", {"-q", dir.filePath("handover/CR#12345678_201901_201903.zip"), "-d", unpacked});
    QCOMPARE(unzip.exitCode, 0);
    QCOMPARE(tree(unpacked).replaceInStrings(QRegularExpression(" .*"), ""),
             QStringList({"CR#12345678/", "CR#12345678/201901_201903/", "CR#12345678/201901_201903/gdpdu-01-09-2004.dtd",
                          "CR#12345678/201901_201903/gobd.csv", "CR#12345678/201901_201903/index.xml",
                          "CR#12345678/201901_201903/protokoll.json", "manifest.sha256", "protokoll.pdf"}));
    QProcess check;
    check.setWorkingDirectory(unpacked);
    check.start("sha256sum", {"--check", "--strict", "manifest.sha256"});
    QVERIFY(check.waitForFinished(HangGuardMs));
    QCOMPARE(check.readAllStandardOutput().count("OK\n"), 5);
    QCOMPARE(check.exitCode(), 0);

    const Result text = run("pdftotext", {"-layout", unpacked + "/protokoll.pdf", "-"});
    if (text.exitCode == -1)
        QSKIP("pdftotext is needed to read the protocol");
    const QString protocol = text.out.simplified();
    for (const QString fact : {"Seriennummer der Kasse 12345678", "Zeitraum Januar 2019 bis März 2019",
                               "Datensätze in der Tabellendatei 24", "Entschlüsselungsfehler bei Zeile: 12",
                               "Februar 2019 1 beschädigt 8", "Zeilen der Tabelle, die nicht zu den Spalten passen, die index.xml beschreibt: 1."})
        QVERIFY2(protocol.contains(fact), qPrintable(fact + " not in: " + protocol));
    // The printed protocol pins every other file of the archive, and the backup.
    for (const QString &line : QString::fromUtf8(fileBytes(unpacked + "/manifest.sha256")).split('\n', Qt::SkipEmptyParts)) {
        const QString name = line.section("  ", 1).section('/', -1);
        if (name != "protokoll.pdf")
            QVERIFY2(protocol.contains(name + ' ' + line.left(64)), qPrintable(line + " not in: " + protocol));
    }
    const QByteArray backup = fileBytes(dir.filePath("Backup_CR#12345678_complete.enc"));
    const QString backupSha256 = QCryptographicHash::hash(backup, QCryptographicHash::Sha256).toHex();
    QVERIFY2(protocol.contains("SHA-256-Wert der Sicherungsdatei " + backupSha256), qPrintable(protocol));
}

void CliTest::verifyArchive_data()
{
    QTest::addColumn<QString>("tampering");
    QTest::addColumn<bool>("manifestRewritten");
    // The findings on the export folder, on the archive and on its figures, each in their order,
    // and those an export of the backup adds.
    QTest::addColumn<QStringList>("exportFindings");
    QTest::addColumn<QStringList>("archiveFindings");
    QTest::addColumn<QStringList>("figuresFindings");
    QTest::addColumn<QStringList>("comparison");

    // Run in the unpacked archive, whose export folder is $E; the table's rows are those of
    // 01.01., 16.01., 01.02. and 15.02.2019, the second with a Betrag of 72,25.
    const QString betrag = "sed -i '2s/;72,25;/;82,25;/' \"$E/gobd.csv\"";
    const QStringList betragFigures = {
            "Sum of Betrag of the whole period: protokoll.json states 237.36, gobd.csv gives 247.36.",
            "Sum of Betrag of 01/2019: protokoll.json states 92.61, gobd.csv gives 102.61.",
            "gobd.csv does not match the SHA-256 value that protokoll.json states."};
    const QString tableDiffers = "gobd.csv differs from an export of the backup from line %1 on.";
    const QString dtd = "gdpdu-01-09-2004.dtd";
    const QStringList dtdMissing = {dtd + ": The file is missing."};
    const QStringList dtdFigures = {"protokoll.json states the SHA-256 value of " + dtd
                                    + ", which is not in the export folder."};
    const QStringList dtdComparison = {dtd + " is not in both the folder and an export of the backup."};

    QTest::newRow("sound") << "" << false << QStringList() << QStringList() << QStringList() << QStringList();
    QTest::newRow("Betrag changed")
            << betrag << false << QStringList()
            << QStringList{"manifest.sha256, line 2: CR#12345678/complete/gobd.csv does not match its SHA-256 value."}
            << betragFigures << QStringList{tableDiffers.arg(2)};
    QTest::newRow("Betrag changed, manifest rewritten") << betrag << true << QStringList() << QStringList()
                                                        << betragFigures << QStringList{tableDiffers.arg(2)};
    QTest::newRow("figures changed, manifest rewritten")
            << "sed -i 's/\"betrag\": \"237.36\"/\"betrag\": \"247.36\"/' \"$E/protokoll.json\"" << true
            << QStringList() << QStringList()
            << QStringList{"Sum of Betrag of the whole period: protokoll.json states 247.36, gobd.csv gives 237.36."}
            << QStringList();
    QTest::newRow("rows swapped, manifest rewritten")
            << "sed -i '1{h;d};2G' \"$E/gobd.csv\"" << true
            << QStringList{"Rows whose line number is smaller than the one before: 1; the first, 1, in row 2 of "
                           "this table, 01.01.2019 12:55:26."}
            << QStringList() << QStringList{"gobd.csv does not match the SHA-256 value that protokoll.json states."}
            << QStringList{tableDiffers.arg(1)};
    QTest::newRow("file missing") << "rm \"$E/" + dtd + "\"" << false << dtdMissing
                                  << QStringList{"manifest.sha256, line 1: CR#12345678/complete/" + dtd
                                                 + " is not in the archive."}
                                  << dtdFigures << dtdComparison;
    QTest::newRow("file missing, manifest rewritten")
            << "rm \"$E/" + dtd + "\"" << true << dtdMissing << QStringList() << dtdFigures << dtdComparison;
    QTest::newRow("file added to the export folder, manifest rewritten")
            << "echo note > \"$E/notes.txt\"" << true << QStringList() << QStringList()
            << QStringList{"notes.txt is in the export folder, but protokoll.json states no SHA-256 value of it."}
            << QStringList{"notes.txt is not in both the folder and an export of the backup."};
    QTest::newRow("file added beside the export folder")
            << "echo note > notes.txt" << false << QStringList()
            << QStringList{"notes.txt is in the archive, but manifest.sha256 does not list it.",
                           "notes.txt lies outside the export folder CR#12345678/complete, where a hand-over "
                           "archive holds no file."}
            << QStringList() << QStringList();
    QTest::newRow("protocol removed, manifest rewritten")
            << "rm protokoll.pdf" << true << QStringList() << QStringList{"The archive holds no protokoll.pdf."}
            << QStringList() << QStringList();
}

// A hand-over archive checked as an auditor gets it, after someone changed it: with and without
// the backup it was made from, and its export folder on its own once unpacked. The manifest
// catches whoever does not rewrite it; the figures catch a changed table whatever the manifest says.
void CliTest::verifyArchive()
{
    QFETCH(QString, tampering);
    QFETCH(bool, manifestRewritten);
    QFETCH(QStringList, exportFindings);
    QFETCH(QStringList, archiveFindings);
    QFETCH(QStringList, figuresFindings);
    QFETCH(QStringList, comparison);
    if (QStandardPaths::findExecutable("zip").isEmpty() || QStandardPaths::findExecutable("unzip").isEmpty())
        QSKIP("zip and unzip are needed to change an archive");
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-02", "--lines", "2"}));
    QCOMPARE(runApp("read %D/card %D -q", dir.path()).exitCode, 0);
    QCOMPARE(runApp("package %D/Backup_CR#12345678_complete.enc %D/handover -q", dir.path()).exitCode, 0);
    const QString rewrite = "find . -type f ! -name manifest.sha256 -printf '%P\\n' | sort | xargs -d '\\n' sha256sum "
                            "> manifest.sha256";
    const Result tampered = run("bash", {"-ec", QString("cd '%1'; mkdir unpacked; cd unpacked; unzip -q ../handover/*.zip; "
                                                        "E=CR#12345678/complete; %2\n%3\nzip -qr ../tampered.zip .")
                                                        .arg(dir.path(), tampering, manifestRewritten ? rewrite : "")});
    QVERIFY2(tampered.exitCode == 0, qPrintable(tampered.err));
    const auto errors = [](const Result &result) {
        return result.out.split('\n').filter(QRegularExpression("^\\[error\\] ")).replaceInStrings("[error] ", "");
    };
    const QString archive = dir.filePath("tampered.zip");
    const QString backup = dir.filePath("Backup_CR#12345678_complete.enc");
    const QString failed = "The %1 did not pass the verification.";
    const QStringList found = exportFindings + archiveFindings + figuresFindings;

    const Result alone = runApp({"verify", archive});
    if (found.isEmpty())
        QCOMPARE(alone.out, "Archive: " + archive + "\n"
                            "Export folder: CR#12345678/complete\n"
                            "Period: every month, as the folder's name complete says\n"
                            "Rows checked: 4\n"
                            "[info] Every file of the archive matches manifest.sha256.\n"
                            "[info] The period, rows, sums and SHA-256 values are those protokoll.json states.\n"
                            "[info] The archive is sound.\n");
    QCOMPARE(errors(alone), found.isEmpty() ? QStringList() : found + QStringList{failed.arg("archive")});
    QCOMPARE(alone.exitCode, found.isEmpty() ? 0 : 1);

    const Result compared = runApp({"verify", archive, backup});
    const QStringList differences = found + comparison;
    QCOMPARE(errors(compared), differences.isEmpty() ? QStringList() : differences + QStringList{failed.arg("archive")});
    QCOMPARE(compared.exitCode, differences.isEmpty() ? 0 : 1);

    // Unpacked, the export folder still holds the figures, and is checked against them.
    const Result folder = runApp({"verify", dir.filePath("unpacked/CR#12345678/complete")});
    const QStringList inFolder = exportFindings + figuresFindings;
    QCOMPARE(errors(folder), inFolder.isEmpty() ? QStringList() : inFolder + QStringList{failed.arg("export")});
    QCOMPARE(folder.exitCode, inFolder.isEmpty() ? 0 : 1);
}

// A month of the period that the backup does not hold is no month without sales: the protocol and
// the exit code say so.
void CliTest::packageMonthsWithoutRecords()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--from", "2019-02", "--to", "2019-03", "--lines", "2"}));
    QCOMPARE(runApp("read %D/card %D -q --from 2019-03", dir.path()).exitCode, 0);

    const Result packaged = runApp("package %D/Backup_CR#12345678_201903.enc %D/handover --from 2019-01 --to 2019-03 -q",
                                   dir.path());
    QCOMPARE(packaged.err, QString("[error] CR#12345678: The backup holds no records for 01/2019, 02/2019: these months "
                                   "are not in it, or their records were lost.\n"));
    QCOMPARE(packaged.exitCode, 1);
    const QString archive = dir.filePath("handover/CR#12345678_201901_201903.zip");
    const Result text = run("bash", {"-c", QString("unzip -p '%1' protokoll.pdf | pdftotext -layout - -").arg(archive)});
    QVERIFY2(text.out.simplified().contains("January 2019 no records 0 0.00 0.00 February 2019 no records 0 0.00 0.00 March 2019 OK 2"),
             qPrintable(text.out));
    QVERIFY2(text.out.simplified().contains("The backup holds no records for 01/2019, 02/2019"), qPrintable(text.out));
}

void CliTest::check_data()
{
    QTest::addColumn<QString>("manipulation");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString backup = "%D/Backup_CR#12345678_complete.enc -q";
    QTest::newRow("honest year") << QString() << "check " + backup << 0
                                 << "Flagged: 0, to explain: 1, passed: 11, too few or not applicable: 1\n" << QString();
    QTest::newRow("export folder") << QString() << "check %D/export/CR#12345678/complete --from 2019-03 -q" << 0
                                   << "[too few] Last digit before the decimal point of the daily takings\n" << QString();
    QTest::newRow("invented takings") << "invent-takings@2019-04-01..2019-06-30" << "check " + backup << 1
                                      << "[flagged] Last digit before the decimal point of the daily takings\n" << QString();
    QTest::newRow("deleted lines, in German") << "delete-lines@2019-03-05" << "--lang de check " + backup << 1
        << "[beanstandet] Zeilennummer ohne Lücken, Wiederholungen oder Rücksprünge\n"
        << "[Fehler] CR#12345678: Die Zeilen 16640 bis 16642 fehlen in der Nummerierung (3 Zeilen), zwischen "
           "05.03.2019 18:24:54 und 05.03.2019 18:30:00.\n";
    QTest::newRow("no such payment lines") << QString() << "check " + backup + " --takings Zahlungen" << 1 << QString()
        << "Error: CR#12345678: The journal of the period holds no lines of Buchungstyp \"Zahlungen\" to take the "
           "takings from.\nHint: Lines that name a payment way have the Buchungstyp \"Zahlung\", \"Bericht\": name "
           "the one of the payment lines with --takings TYPE.\n";
    QTest::newRow("report") << QString() << "check " + backup + " --report %D/check.pdf" << 0
                            << "Files written:\n  %D/check.pdf\n" << QString();
    QTest::newRow("report in the way") << QString() << "check " + backup + " --report %D/card"
                                       << 1 << QString()
        << "Error: Backup_CR#12345678_complete.enc: %D/card is already there.\nHint: Replace it "
           "with --overwrite, or choose another target folder.\n";
}

// The check of a shop's year on the command line: its verdicts, its exit code, its errors.
void CliTest::check()
{
    QFETCH(QString, manipulation);
    QFETCH(QString, command);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QStringList card{"--shop", "--from", "2019-01", "--to", "2019-12"};
    if (!manipulation.isEmpty())
        card << "--manipulate" << manipulation;
    QVERIFY(makeCard(dir.filePath("card"), card));
    QCOMPARE(runApp("read %D/card %D -q", dir.path()).exitCode, 0);
    // A journal with gaps is exported all the same, and says so.
    runApp("export %D/Backup_CR#12345678_complete.enc %D/export --gdpdu -q", dir.path());
    // A backup's records are checked as they are decrypted: no temporary folder is needed.
    const Result checked = runApp("TMPDIR=%D/no-such-folder " + command, dir.path());
    QVERIFY2(checked.out.contains(QString(out).replace("%D", dir.path())), qPrintable(checked.out + checked.err));
    QCOMPARE(checked.err, QString(err).replace("%D", dir.path()));
    QCOMPARE(checked.exitCode, exitCode);
    if (command.contains("--report %D/check.pdf"))
        QVERIFY(fileBytes(dir.filePath("check.pdf")).startsWith("%PDF-"));
}

void CliTest::packageRefused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("reason");

    QTest::newRow("altered backup") << "package %D/altered.enc %D/handover"
        << "Error: CR#12345678: The export of %D/altered.enc was not kept: its data does not match the MD5 value of "
           "its header.\n";
    QTest::newRow("not a backup") << "package %D/card/KORVANE/12345678/2019/1901.a03 %D/handover"
        << "Hint: Choose a backup file written by \"fiscora read\".\n";
}

// No archive when the MD5 proof fails or the file is no backup.
void CliTest::packageRefused()
{
    QFETCH(QString, command);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-01", "--lines", "2"}));
    QCOMPARE(runApp("read %D/card %D -q", dir.path()).exitCode, 0);
    QVERIFY(QFile::copy(dir.filePath("Backup_CR#12345678_complete.enc"), dir.filePath("altered.enc")));
    QVERIFY_DONE(flipLastByte(dir.filePath("altered.enc")));

    const Result refused = runApp(command, dir.path());
    QVERIFY2(refused.err.contains(reason.replace("%D", dir.path())), qPrintable(refused.err));
    QCOMPARE(refused.out, QString());
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(tree(dir.filePath("handover")), QStringList());
}

void CliTest::exitCodes_data()
{
    QTest::addColumn<QString>("cardOption");
    QTest::addColumn<int>("readExitCode");
    QTest::addColumn<QString>("exportMessage");

    QTest::newRow("a record damaged") << "--damage=random-block@2019-02" << 0
            << "[error] CR#12345678: Decryption error near line: 12 — row 13 of this table, 15.02.2019 13:45:54\n";
    QTest::newRow("a month missing") << "--missing-month=2019-02" << 1
            << "[error] CR#12345678: INDEX ERROR: The file for the date 02/2019 is missing.\n";
}

// A flagged message is a failure: the exit code, and the last event for scripts, say so.
void CliTest::exitCodes()
{
    QFETCH(QString, cardOption);
    QFETCH(int, readExitCode);
    QFETCH(QString, exportMessage);
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-03", "--lines", "8", cardOption}));

    const Result read = runApp({"read", dir.filePath("card"), dir.path(), "--json"});
    QCOMPARE(read.exitCode, readExitCode);
    QVERIFY2(read.out.endsWith(QString(R"({"event":"done","exitCode":%1})" "\n").arg(readExitCode)), qPrintable(read.out));
    const Result exported = runApp({"export", dir.filePath("Backup_CR#12345678_complete.enc"), dir.path()});
    QVERIFY2(exported.err.contains(exportMessage), qPrintable(exported.err));
    QCOMPARE(exported.exitCode, 1);
}

void CliTest::failures_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("exitCode");

    // %D is the test's folder, holding the empty folder "empty", the file "file", the start
    // of a data file "records.a03" and the text file "notes.zip".
    const QString english = "Error: empty: No valid serial number folder found!\nHint: Check your selected start path!\n";
    const QString german = "Fehler: empty: Es wurde kein gültiger Seriennummernordner gefunden!\n"
                           "Hinweis: Bitte prüfen Sie den gewählten Startpfad!\n";
    const QString germanLocale = "LC_ALL= LC_MESSAGES= LANG=de_DE.UTF-8 ";
    QTest::newRow("no register") << "read %D/empty %D/out" << english << 1;
    QTest::newRow("--lang de") << "read %D/empty %D/out --lang de" << german << 1;
    QTest::newRow("German locale") << germanLocale + "read %D/empty %D/out" << german << 1;
    QTest::newRow("--lang en in a German locale") << germanLocale + "read %D/empty %D/out --lang en" << english << 1;
    // Without --verbose the library's own lines would only repeat what its signals report.
    QTest::newRow("--verbose") << "read %D/empty %D/out --verbose"
                               << "sdcardreader: Start SD card reader\n"
                                  "sdcardreader: Start reading SD Card:  \"%D/empty\"  save:  \"%D/out\"\n"
                                  "sdcardreader: Last saved Value!\n"
                                  "sdcardreader: Selected and found search folder:\n"
                                  + english
                               << 1;
    QTest::newRow("no such source") << "read %D/card %D/out"
                                    << "Error: %D/card does not exist.\n"
                                       "Hint: Check the path, and that the card or drive holding it is plugged in.\n"
                                    << 1;
    QTest::newRow("target is a file") << "read %D/empty %D/file"
                                      << "Error: The target %D/file is a file, not a folder.\n"
                                         "Hint: Choose a folder as the target, or a path that does not exist yet.\n"
                                      << 1;
    QTest::newRow("target on the card") << "read %D/empty %D/empty/backups"
                                        << "Error: The target %D/empty/backups lies on the card %D/empty, which is only "
                                           "read.\nHint: Choose a target folder outside the card.\n"
                                        << 1;
    QTest::newRow("target cannot be created")
            << "read %D/empty %D/file/out"
            << "Error: Cannot create the target folder %D/file/out.\n"
               "Hint: Check the path and your write permission for its parent folder.\n"
            << 1;
    QTest::newRow("not a backup") << "export %D/records.a03 %D/out"
                                  << "Error: %D/records.a03 is not a backup file: it does not start "
                                     "with a backup header.\n"
                                     "Hint: Choose a backup file written by \"fiscora read\", or give --raw to "
                                     "export a file of bare records.\n"
                                  << 1;
    QTest::newRow("a pipe as raw source") << "export /dev/stdin %D/out --raw"
                                          << "Error: Cannot read the backup file /dev/stdin: it is not a "
                                             "regular file\nHint: Check the path and your read permission.\n"
                                          << 1;
    QTest::newRow("bad date, in German")
            << "--lang de read card out --to 32.01.2019 --from 2019-01"
            << "fiscora: Ungültiges Datum „32.01.2019“ für --to: Schreiben Sie 2019-03, 2019-03-01 oder 01.03.2019.\n"
               "„fiscora --help“ zeigt, wie es geht.\n"
            << 2;
    // Qt's own texts are German too.
    QTest::newRow("unknown option, in German") << "--lang de read card out --bogus"
                                               << "fiscora: Unbekannte Option 'bogus'.\n"
                                                  "„fiscora --help“ zeigt, wie es geht.\n"
                                               << 2;
    QTest::newRow("verify a file") << "verify %D/file"
                                   << "Error: %D/file is no folder.\nHint: Give the folder that holds index.xml and "
                                      "the table file, or a hand-over archive (.zip).\n"
                                   << 1;
    QTest::newRow("verify an archive that is none")
            << "verify %D/notes.zip"
            << "Error: Cannot read the archive %D/notes.zip: Invalid ZIP file. Unexpected end of file.\n"
               "Hint: Check that it is a hand-over archive written by \"fiscora package\", and the free space in "
               "the temporary folder.\n"
            << 1;
    QTest::newRow("unknown language") << "--lang xx info b.enc"
                                      << "fiscora: There is no translation into \"xx\".\n"
                                         "\"fiscora --help\" shows how to use it.\n"
                                      << 2;
}

// Errors go to standard error in the user's language: a usage error as the complaint and a pointer
// to the help, an error of a job as the error, naming what it concerns, and its hint.
void CliTest::failures()
{
    QFETCH(QString, command);
    QFETCH(QString, err);
    QFETCH(int, exitCode);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("empty"));
    QVERIFY_DONE(writeFile(dir.filePath("file"), QByteArray()));
    QVERIFY_DONE(writeFile(dir.filePath("records.a03"), QByteArray(64, 'x')));
    QVERIFY_DONE(writeFile(dir.filePath("notes.zip"), "no archive"));
    const Result result = runApp(command, dir.path());
    QCOMPARE(result.err, err.replace("%D", dir.path()));
    QCOMPARE(result.out, QString());
    QCOMPARE(result.exitCode, exitCode);
}

void CliTest::interrupt_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("Ctrl+C") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP, the terminal closed") << SIGHUP;
}

// A stop leaves no backup file behind, not even a partial one.
void CliTest::interrupt()
{
    QFETCH(int, signalNumber);

    QTemporaryDir dir;
    const QString yearFolder = dir.filePath("card/KORVANE/12345678/2019/");
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "1"}));
    // Sparse files cost neither time nor disk to make, but the reader takes a while to copy
    // them, so the job is still running when the signal comes.
    for (int month = 2; month <= 12; ++month) {
        QFile data(yearFolder + QString("19%1.a03").arg(month, 2, 10, QLatin1Char('0')));
        QVERIFY2(data.resize(64 << 20), qPrintable(data.errorString()));
    }
    const QString target = dir.filePath("backups");

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(FISCORA_APP), {"read", dir.filePath("card"), target, "--json"});
    QByteArray out;
    while (!out.contains(R"("max":12,"serial":"12345678","value":1})")) {
        QVERIFY2(process.canReadLine() || process.waitForReadyRead(HangGuardMs), out.constData());
        out += process.readLine();
    }
    QCOMPARE(::kill(process.processId(), signalNumber), 0);
    QVERIFY(process.waitForFinished(HangGuardMs));
    out += process.readAll();

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 128 + signalNumber);
    // Progress events may still arrive between the signal and the end of the job.
    QCOMPARE(QString::fromUtf8(out).split(QLatin1Char('\n')).filter(QRegularExpression("^\\{(?!\"event\":\"progress)")),
             QStringList({R"({"event":"interrupted"})",
                          QString(R"({"error":"Process abbort by the user.","event":"error","file":"%1",)"
                                  R"("hint":"Your saved data are not complete!","serial":"12345678"})")
                                  .arg(dir.filePath("card/KORVANE/12345678")),
                          QString(R"({"event":"done","exitCode":%1})").arg(128 + signalNumber)}));
    QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList());
}

void CliTest::stopInEachStep_data()
{
    QTest::addColumn<QString>("command");
    // The JSON event after which the signal comes, as a pattern; empty: a moment after the start.
    QTest::addColumn<QString>("after");

    const QString backup = "%D/Backup_CR#12345678_complete.enc";
    const QString export_ = "export " + backup + " %D/target --gdpdu --from 2020-02 --to 2020-04 --json";
    const QString package = "package " + backup + " %D/target --from 2020-02 --to 2020-04 --json";
    QTest::newRow("export of a period, decrypting") << export_ << R"("event":"progress".*"value":1\b)";
    QTest::newRow("export of a period, taking the period") << export_ << R"("event":"progress".*"value":100\b)";
    QTest::newRow("info, decrypting and counting") << "info " + backup + " --json" << R"("event":"progress".*"value":50\b)";
    QTest::newRow("verify, checking the rows") << "verify %D/exported/CR#12345678/complete --json" << QString();
    QTest::newRow("verify, decrypting and comparing") << "verify %D/exported/CR#12345678/complete " + backup + " --json"
                                                      << R"("event":"progress".*"value":50\b)";
    QTest::newRow("check, decrypting and checking") << "check " + backup + " --json"
                                                    << R"("event":"progress".*"value":50\b)";
    QTest::newRow("package, verifying") << package << "Verifying the export";
    QTest::newRow("package, writing the archive") << package << "Writing the archive";
}

// Each step of a long job takes a stop at once: the job ends with 128 + 15 and leaves nothing in
// the target or the temporary folder.
void CliTest::stopInEachStep()
{
    QFETCH(QString, command);
    QFETCH(QString, after);
    static QTemporaryDir dir;
    const QString backup = dir.filePath("Backup_CR#12345678_complete.enc");
    if (!QFileInfo::exists(backup)) {
        // A backup large enough that every step of a job on it takes a while.
        QVERIFY(fiscora::sample::writeLargeBackup(backup, 256 << 20));
        // Its numbers repeat with the pool, which the export flags, but it places the table.
        const Result exported = runApp({"export", backup, dir.filePath("exported"), "--gdpdu", "--quiet"});
        QVERIFY2(QFileInfo::exists(dir.filePath("exported/CR#12345678/complete/gobd.csv")), qPrintable(exported.err));
    }
    const QString temporary = dir.filePath("tmp");
    QVERIFY(QDir(temporary).removeRecursively() && QDir().mkpath(temporary));
    QVERIFY(QDir(dir.filePath("target")).removeRecursively());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", temporary);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(FISCORA_APP), command.replace("%D", dir.path()).split(' '));
    QVERIFY(process.waitForStarted());
    QByteArray out;
    const QRegularExpression trigger(after);
    if (after.isEmpty())
        QTest::qWait(200);
    while (!after.isEmpty() && !trigger.match(QString::fromUtf8(out)).hasMatch()) {
        QVERIFY2(process.state() == QProcess::Running, out.constData());
        QVERIFY2(process.canReadLine() || process.waitForReadyRead(HangGuardMs), out.constData());
        out += process.readLine();
    }
    QVERIFY2(process.state() == QProcess::Running, out.constData());
    QCOMPARE(::kill(process.processId(), SIGTERM), 0);
    QVERIFY(process.waitForFinished(HangGuardMs));
    out += process.readAll();

    QVERIFY2(out.endsWith(R"({"event":"done","exitCode":143})" "\n"), out.right(2000).constData());
    QCOMPARE(process.exitCode(), 128 + SIGTERM);
    QCOMPARE(QDir(dir.filePath("target")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    // Qt makes a runtime folder there when the session has none.
    QCOMPARE(QDir(temporary).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                     .filter(QRegularExpression("^(?!runtime-)")),
             QStringList());
}

void CliTest::concurrentJobs_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("two reads") << "read %D/card %D/out --overwrite"
                               << "Error: CR#12345678: The backup file %D/out/Backup_CR#12345678_complete.enc is being written by "
                                  "another job.\nHint: Wait until the other job has finished, or read into another "
                                  "target folder.\n";
    QTest::newRow("two exports") << "export %D/Backup_CR#12345678_complete.enc %D/out --gdpdu --overwrite"
                                 << "Error: CR#12345678: The export %D/out/CR#12345678/complete is being written by another "
                                    "job.\nHint: Wait until the other job has finished, or export into another "
                                    "target folder.\n";
}

// Two jobs on one target at once: each ends with its file whole, or refuses while the other
// writes it; the file in place is always complete, as its backup's MD5 value proves.
void CliTest::concurrentJobs()
{
    QFETCH(QString, command);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "20000"}));
    QCOMPARE(runApp({"read", dir.filePath("card"), dir.path(), "--quiet"}).exitCode, 0);
    const QStringList arguments = command.split(' ').replaceInStrings("%D", dir.path());
    QProcess jobs[2];
    for (QProcess &job : jobs)
        job.start(QStringLiteral(FISCORA_APP), QStringList(arguments) << "--quiet");
    int done = 0;
    for (QProcess &job : jobs) {
        QVERIFY(job.waitForFinished(HangGuardMs));
        const QString err = QString::fromUtf8(job.readAllStandardError());
        done += job.exitCode() == 0;
        QVERIFY2(job.exitCode() == 0 ? err.isEmpty() : err == QString(refusal).replace("%D", dir.path()), qPrintable(err));
    }
    QVERIFY(done > 0);
    const QString backup = command.startsWith("read") ? dir.filePath("out/Backup_CR#12345678_complete.enc")
                                                      : dir.filePath("Backup_CR#12345678_complete.enc");
    const Result verified = runApp({"verify", dir.filePath("out/CR#12345678/complete"), backup});
    if (command.startsWith("read")) {
        const QByteArray bytes = fileBytes(backup);
        fiscora::IndexFileAnalyser analyser;
        const int header = analyser.readCompressIndex(bytes);
        QVERIFY(header > 0);
        QCOMPARE(fiscora::HelperClass::calculateMD5Hash(bytes.mid(header)), analyser.getMD5Value());
    } else {
        QVERIFY2(verified.exitCode == 0, qPrintable(verified.out + verified.err));
    }
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList(command.startsWith("read") ? "Backup_CR#12345678_complete.enc" : "CR#12345678"));
}

// A limit on the size of files makes the write fail with its reason; the process is not killed
// by it, and leaves nothing behind.
void CliTest::fileSizeLimit()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "20000"}));
    const Result result = run(QStringLiteral("/bin/sh"), {"-c", QString("ulimit -f 1024; exec '%1' read '%2' '%3'")
                                                                    .arg(FISCORA_APP, dir.filePath("card"), dir.filePath("out"))});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.endsWith("Error: CR#12345678: Couldn´t save data in backup file "
                                 + dir.filePath("out/Backup_CR#12345678_complete.enc")
                                 + ". The error from the system is: File too large\nHint: You have no write permission "
                                   "on this location or the saved file is corrupted.\n"),
             qPrintable(result.err));
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void CliTest::terminalOutput_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("progress");
    QTest::addColumn<QString>("flag");

    const QString bar = "\r[------------------------------] 0/2\r[###############---------------] 1/2"
                        "\r[##############################] 2/2\n";
    const QString lines = "CR#12345678: Progress: 0 of 2\nCR#12345678: Progress: 1 of 2\nCR#12345678: Progress: 2 of 2\n";
    QTest::newRow("colours") << QStringList{"TERM=xterm"} << bar << "\033[32m[info]\033[0m ";
    QTest::newRow("NO_COLOR") << QStringList{"TERM=xterm", "NO_COLOR=1"} << bar << "\n[info] ";
    QTest::newRow("TERM=dumb") << QStringList{"TERM=dumb"} << lines << "\n[info] ";
}

// On a terminal the progress is one bar redrawn in place, and flags are coloured unless NO_COLOR
// is set; a terminal that shows no control sequences gets neither.
void CliTest::terminalOutput()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, progress);
    QFETCH(QString, flag);
    const QString script = QStandardPaths::findExecutable("script");
    if (script.isEmpty())
        QSKIP("script(1) is needed to give the application a terminal");
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-02", "--lines", "1"}));
    const QString command = QString("'%1' read '%2' '%3'").arg(FISCORA_APP, dir.filePath("card"), dir.filePath("out"));

    const Result read = run(script, {"--quiet", "--return", "--command", command, "/dev/null"}, environment);
    QCOMPARE(read.exitCode, 0);
    // The terminal turns every line end into "\r\n".
    const QString out = QString(read.out).replace("\r\n", "\n");
    QVERIFY2(out.startsWith(progress), qPrintable(out));
    QVERIFY2(out.contains(flag + "CR#12345678: The data index is correct, no issues recognised.\n"), qPrintable(out));
}

// A reader of the results that goes away does not stop the job: the backup is written, and the
// exit code says how the job went.
void CliTest::closedOutput()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-02", "--lines", "1"}));
    const Result read = run("bash", {"-c", QString("'%1' read '%2' '%3' | true; echo ${PIPESTATUS[0]}")
                                               .arg(FISCORA_APP, dir.filePath("card"), dir.filePath("out"))});
    QCOMPARE(read.out, QString("0\n"));
    QCOMPARE(tree(dir.filePath("out")).size(), 1);
    QCOMPARE(fileBytes(dir.filePath("out/Backup_CR#12345678_complete.enc")).isEmpty(), false);
}

// Quiet keeps the results and what is flagged, and leaves out progress and the rest.
void CliTest::quiet()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-03", "--lines", "1", "--missing-month", "2019-02"}));
    const Result read = runApp("read %D/card %D/out --quiet", dir.path());
    QCOMPARE(read.err, QString("[error] CR#12345678: INDEX ERROR: The file for the date 02/2019 is missing.\n"));
    QCOMPARE(read.out, QString("Files written:\n  %1/out/Backup_CR#12345678_complete.enc\n").arg(dir.path()));
    QCOMPARE(read.exitCode, 1);
}

// The installed manual page describes every command and every option that the help offers.
void CliTest::manualPage()
{
    const QString page = QString::fromUtf8(fileBytes(FISCORA_PREFIX "/share/man/man1/fiscora.1"));
    QVERIFY(page.startsWith(".TH FISCORA 1 "));
    QVERIFY2(page.contains('"' + runApp({"--version"}).out.trimmed() + '"'), "the manual page names another version");
    for (const char *command : {"list", "read", "info", "export", "verify", "package", "check"}) {
        QVERIFY2(page.contains(QString(".B %1 \\fI").arg(command)), command);
        const QString help = runApp({command, "--help"}).out;
        const QRegularExpression option("--([a-z-]+)");
        for (auto match = option.globalMatch(help); match.hasNext();) {
            const QString name = match.next().captured(1);
            QVERIFY2(page.contains("\\-\\-" + QString(name).replace("-", "\\-")), qPrintable(command + (" --" + name)));
        }
    }
}

void CliTest::completion_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("completions");

    QTest::newRow("command") << "fiscora pa" << "package";
    QTest::newRow("option of the command") << "fiscora export b.enc out --g" << "--gdpdu";
    QTest::newRow("no option of another command") << "fiscora read card out --g" << "";
    QTest::newRow("options before the command") << "fiscora --q" << "--quiet";
    QTest::newRow("option of check") << "fiscora check b.enc --ta" << "--takings";
    QTest::newRow("language") << "fiscora --lang " << "de en";
}

// The installed completion offers the commands, and each command's own options.
void CliTest::completion()
{
    QFETCH(QString, words);
    // The word being completed is the last one, empty after a space.
    const QStringList parts = words.split(' ');
    const QString script = QString("source '%1'; COMP_WORDS=('%2'); COMP_CWORD=%3; _fiscora; echo \"${COMPREPLY[*]}\"")
                               .arg(FISCORA_PREFIX "/share/bash-completion/completions/fiscora", parts.join("' '"))
                               .arg(parts.size() - 1);
    const Result result = run("bash", {"-c", script});
    QCOMPARE(result.err, QString());
    QTEST(result.out.trimmed(), "completions");
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
