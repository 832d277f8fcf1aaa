// End to end: the fiscora application and fiscora-mkcard run as people and scripts run them.

#include "fixtures.h"
#include "journal.h"

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

bool makeCard(const QString &folder, const QStringList &options)
{
    const Result result = run(QStringLiteral(FISCORA_MKCARD), QStringList(options) << folder);
    if (result.exitCode != 0)
        qWarning("fiscora-mkcard failed: %s", qPrintable(result.err));
    return result.exitCode == 0;
}

// The end of what "info" prints: the month calendar with its rows of years.
QString monthIndex(const QString &rows)
{
    return "Month index:\n            01 02 03 04 05 06 07 08 09 10 11 12\n" + rows
         + "  o OK  M file missing  E file not in the index  ? no index file  . not in the index  "
           "! unknown status\n";
}

const QString IndexReport = "[info] The data was created by reading from SD-Card or Backup.\n"
                            "[info] Serialnumber of the cash register: 12345678\n"
                            "[info] The data index is correct, no issues recognised.\n";

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readExportInfo();
    void calendar_data();
    void calendar();
    void exitCodes_data();
    void exitCodes();
    void failures_data();
    void failures();
    void interrupt_data();
    void interrupt();
    void terminalOutput_data();
    void terminalOutput();
};

// A register with three months: its backup for a script, its export and header for a person, and
// what both say once a byte of the backup's data has changed.
void CliTest::readExportInfo()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--from", "2019-01", "--to", "2019-03", "--lines", "4"}));

    const Result read = runApp({"read", dir.filePath("card"), dir.filePath("backups"), "--from", "2019-01", "--to",
                                "31.03.2019", "--json"});
    const QString backup = dir.filePath("backups/Backup_CR#12345678_201901_201903.enc");
    QCOMPARE(read.out.split(QLatin1Char('\n')),
             QStringList({R"({"event":"progress","max":3,"value":0})", R"({"event":"progress","max":3,"value":1})",
                          R"({"event":"progress","max":3,"value":2})", R"({"event":"progress","max":3,"value":3})",
                          QString(R"({"event":"finished","file":"%1"})").arg(backup),
                          R"({"count":1,"event":"message","isError":false,)"
                          R"("text":"The data was created by reading from SD-Card or Backup."})",
                          R"({"count":2,"event":"message","isError":false,)"
                          R"("text":"Serialnumber of the cash register: 12345678"})",
                          R"({"count":3,"event":"message","isError":false,)"
                          R"("text":"The data index is correct, no issues recognised."})",
                          R"({"event":"done","exitCode":0})", ""}));
    QCOMPARE(read.err, QString());
    QCOMPARE(read.exitCode, 0);

    const Result exported = runApp({"export", backup, dir.filePath("export"), "--gdpdu"});
    const QString folder = dir.filePath("export/CR#12345678/201901_201903/");
    const QString end = IndexReport
                      + QString("[info] Hash value: OK\n"
                                "       The data seems not corrupted!\n"
                                "Files written:\n  %1gobd.csv\n  %1gdpdu-01-09-2004.dtd\n  %1index.xml\n")
                                .arg(folder);
    QVERIFY(exported.out.startsWith("Progress: 0 of 100\n"));
    QCOMPARE(exported.out.right(end.size()), end);
    QCOMPARE(exported.err, QString());
    QCOMPARE(exported.exitCode, 0);
    // The table holds the register's journal lines in order, four a month, as fiscora-mkcard dated them.
    const fiscora::sample::Journal journal('1', 1);
    QByteArray table;
    for (int number = 1; number <= 12; ++number) {
        const QDate month(2019, (number + 3) / 4, 1);
        table += journal.line(number, month.addDays((number - 1) % 4 * month.daysInMonth() / 4));
    }
    QCOMPARE(fileBytes(folder + "gobd.csv"), table);

    // The data behind the header is the card's data files, one after the other.
    QByteArray data;
    for (const char *month : {"1901", "1902", "1903"})
        data += fileBytes(dir.filePath(QString("card/KORVANE/12345678/2019/%1.a03").arg(month)));
    const QByteArray md5 = QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex(' ').toUpper();
    const Result info = runApp({"info", backup});
    QCOMPARE(info.out, QString("Backup file:       %1\n"
                               "Serial number:     12345678\n"
                               "Source:            SOURCE_SD\n"
                               "Header version:    2\n"
                               "MD5 in the header: %2\n"
                               "MD5 of the data:   %2\n"
                               "Size of the data:  %3 bytes\n"
                               "[info] The data matches the MD5 value of the header.\n"
                               "Index report:\n")
                                       .arg(backup, QString::fromLatin1(md5))
                                       .arg(data.size())
                               + IndexReport
                               + monthIndex("  2016-2025  o  o  o  o  o  o  o  o  o  o  o  o\n"
                                            "  2026       o  o  o  o  o  o  o  o  .  .  .  .\n"));
    QCOMPARE(info.exitCode, 0);

    QFile file(backup);
    QVERIFY2(file.open(QIODevice::ReadWrite), qPrintable(file.errorString()));
    QVERIFY(file.seek(file.size() - 1));
    const char last = file.peek(1).at(0);
    QVERIFY(file.putChar(static_cast<char>(last ^ 0x01)));
    file.close();
    const Result alteredExport = runApp({"export", backup, dir.filePath("again"), "--gdpdu"});
    QVERIFY2(alteredExport.out.contains("[error] Hash value: INVALID\n        The data could be corrupted!\n"),
             qPrintable(alteredExport.out));
    QCOMPARE(alteredExport.exitCode, 1);
    const Result alteredInfo = runApp({"info", backup, "--json"});
    QVERIFY2(alteredInfo.out.contains(R"("md5Matches":false)"), qPrintable(alteredInfo.out));
    QCOMPARE(alteredInfo.exitCode, 1);
}

void CliTest::calendar_data()
{
    QTest::addColumn<QString>("cardOption");
    QTest::addColumn<int>("readExitCode");
    QTest::addColumn<QString>("rows");

    // The index files of the sample cards cover 128 months, January 2016 to August 2026.
    QTest::newRow("a month missing, another not announced") << "--missing-month=2019-03" << 1
                                                            << "  2016-2018  o  o  o  o  o  o  o  o  o  o  o  o\n"
                                                               "  2019       o  o  M  o  o  o  o  E  o  o  o  o\n"
                                                               "  2020-2025  o  o  o  o  o  o  o  o  o  o  o  o\n"
                                                               "  2026       o  o  o  o  o  o  o  o  .  .  .  .\n";
    // Without an index file the reader reports an error but writes the backup; its header then
    // holds 2048 months without a verdict.
    QTest::newRow("no index file") << "--no-index-file" << 1
                                   << "  2016-2185  ?  ?  ?  ?  ?  ?  ?  ?  ?  ?  ?  ?\n"
                                      "  2186       ?  ?  ?  ?  ?  ?  ?  ?  .  .  .  .\n";
}

void CliTest::calendar()
{
    QFETCH(QString, cardOption);
    QFETCH(int, readExitCode);
    QFETCH(QString, rows);

    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-06", "--lines", "1", cardOption}));
    const QString yearFolder = dir.filePath("card/KORVANE/12345678/2019/");
    QVERIFY(QFile::copy(yearFolder + "1906.a03", yearFolder + "1908.a03"));
    QCOMPARE(runApp({"read", dir.filePath("card"), dir.path()}).exitCode, readExitCode);

    const Result info = runApp({"info", dir.filePath("Backup_CR#12345678_complete.enc")});
    QCOMPARE(info.out.mid(info.out.indexOf("Month index:\n")), monthIndex(rows));
    QCOMPARE(info.exitCode, 0);
}

void CliTest::exitCodes_data()
{
    QTest::addColumn<QString>("cardOption");
    QTest::addColumn<int>("readExitCode");
    QTest::addColumn<QString>("exportMessage");

    QTest::newRow("a record damaged") << "--damage=random-block@2019-02" << 0
            << "[error] Decryption error near line: 12\n";
    QTest::newRow("a month missing") << "--missing-month=2019-02" << 1
            << "[error] INDEX ERROR: The file for the date 02/2019 is missing.\n";
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
    QVERIFY2(exported.out.contains(exportMessage), qPrintable(exported.out));
    QCOMPARE(exported.exitCode, 1);
}

void CliTest::failures_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("exitCode");

    // As in a shell, a command starts with its environment. %D is the test's folder, holding the
    // empty folder "empty" and the file "file".
    const QString english = "Error: No valid serial number folder found!\nHint: Check your selected start path!\n";
    const QString german = "Fehler: Es wurde kein gültiger Seriennummernordner gefunden!\n"
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
    // Standard input is a pipe here: it has no end to read up to, so it is refused.
    QTest::newRow("a pipe as raw source") << "export /dev/stdin %D/out --raw"
                                          << "Error: Encrypted source file /dev/stdin couldn´t open for decryption.\n"
                                             "Hint: Check your source file selection and be sure you have read "
                                             "permissions.\n"
                                          << 1;
    QTest::newRow("target cannot be created")
            << "read %D/empty %D/file/out"
            << "Error: Cannot create the target folder %D/file/out.\n"
               "Hint: Check the path and your write permission for its parent folder.\n"
            << 1;
    QTest::newRow("bad date, in German")
            << "--lang de read card out --to 32.01.2019 --from 2019-01"
            << "fiscora: Ungültiges Datum „32.01.2019“ für --to: Schreiben Sie 2019-03, 2019-03-01 oder 01.03.2019.\n"
               "„fiscora --help“ zeigt, wie es geht.\n"
            << 2;
    QTest::newRow("unknown language") << "--lang xx info b.enc"
                                      << "fiscora: There is no translation into \"xx\".\n"
                                         "\"fiscora --help\" shows how to use it.\n"
                                      << 2;
}

// Errors go to standard error in the user's language: a usage error as the complaint and a pointer
// to the help, an error of the library as the error and its hint.
void CliTest::failures()
{
    QFETCH(QString, command);
    QFETCH(QString, err);
    QFETCH(int, exitCode);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("empty"));
    QFile file(dir.filePath("file"));
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
    QStringList arguments = command.split(QLatin1Char(' ')).replaceInStrings("%D", dir.path());
    QStringList environment;
    while (arguments.first().contains(QLatin1Char('=')))
        environment << arguments.takeFirst();
    const Result result = runApp(arguments, environment);
    QCOMPARE(result.err, err.replace("%D", dir.path()));
    QCOMPARE(result.out, QString());
    QCOMPARE(result.exitCode, exitCode);
}

void CliTest::interrupt_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("Ctrl+C") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
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
    process.start(QStringLiteral(FISCORA_APP), {"read", dir.filePath("card"), target, "--json"});
    QByteArray out;
    while (!out.contains(R"({"event":"progress","max":12,"value":1})")) {
        QVERIFY2(process.canReadLine() || process.waitForReadyRead(HangGuardMs), out.constData());
        out += process.readLine();
    }
    QCOMPARE(::kill(process.processId(), signalNumber), 0);
    QVERIFY(process.waitForFinished(HangGuardMs));
    out += process.readAllStandardOutput();

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 128 + signalNumber);
    // Progress events may still arrive between the signal and the end of the job.
    QCOMPARE(QString::fromUtf8(out).split(QLatin1Char('\n')).filter(QRegularExpression("^\\{(?!\"event\":\"progress)")),
             QStringList({R"({"event":"interrupted"})",
                          R"({"error":"Process abbort by the user.","event":"error",)"
                          R"("hint":"Your saved data are not complete!"})",
                          QString(R"({"event":"done","exitCode":%1})").arg(128 + signalNumber)}));
    QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList());
}

void CliTest::terminalOutput_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("flag");

    QTest::newRow("colours") << QStringList() << "\033[32m[info]\033[0m ";
    QTest::newRow("NO_COLOR") << QStringList{"NO_COLOR=1"} << "\n[info] ";
}

// On a terminal the progress is one bar redrawn in place, and flags are coloured unless NO_COLOR is set.
void CliTest::terminalOutput()
{
    QFETCH(QStringList, environment);
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
    QVERIFY2(out.startsWith("\r[------------------------------] 0/2\r[###############---------------] 1/2"
                            "\r[##############################] 2/2\n"),
             qPrintable(out));
    QVERIFY2(out.contains(flag + "The data index is correct, no issues recognised.\n"), qPrintable(out));
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
