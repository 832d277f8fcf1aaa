// End to end: the fiscora application and fiscora-mkcard run as people and scripts run them.

#include "journal.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    QByteArray out;
    QByteArray err;
};

QProcessEnvironment environmentWith(const QStringList &variables)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : variables) {
        const int equals = variable.indexOf(QLatin1Char('='));
        if (equals < 0)
            environment.remove(variable);
        else
            environment.insert(variable.left(equals), variable.mid(equals + 1));
    }
    return environment;
}

Result run(const QString &program, const QStringList &arguments, const QStringList &environment = {})
{
    QProcess process;
    process.setProcessEnvironment(environmentWith(environment));
    process.start(program, arguments);
    Result result;
    if (!process.waitForFinished(HangGuardMs) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

Result runApp(const QStringList &arguments, const QStringList &environment = {})
{
    return run(QStringLiteral(FISCORA_APP), arguments, environment);
}

bool makeCard(const QString &folder, const QStringList &options)
{
    const Result result = run(QStringLiteral(FISCORA_MKCARD), QStringList(options) << folder);
    if (result.exitCode != 0)
        qWarning("fiscora-mkcard failed: %s", result.err.constData());
    return result.exitCode == 0;
}

// Every line of a --json run, each re-serialised the same way, so that failures show the difference.
QStringList events(const QByteArray &out)
{
    QStringList events;
    for (const QByteArray &line : out.split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonDocument document = QJsonDocument::fromJson(line);
        events << (document.isObject() ? QString::fromUtf8(document.toJson(QJsonDocument::Compact))
                                       : QString("not a JSON object: ") + QString::fromUtf8(line));
    }
    return events;
}

QString jsonLine(const QJsonObject &fields)
{
    return QString::fromUtf8(QJsonDocument(fields).toJson(QJsonDocument::Compact));
}

QString progress(int value, int max)
{
    return jsonLine({{"event", "progress"}, {"value", value}, {"max", max}});
}

QString message(const QString &text, bool isError, int count)
{
    return jsonLine({{"event", "message"}, {"text", text}, {"isError", isError}, {"count", count}});
}

QString fileEvent(const char *name, const QString &file)
{
    return jsonLine({{"event", QLatin1String(name)}, {"file", file}});
}

QString done(int exitCode)
{
    return jsonLine({{"event", "done"}, {"exitCode", exitCode}});
}

QStringList withoutProgress(QStringList events)
{
    events.erase(std::remove_if(events.begin(), events.end(),
                                [](const QString &line) { return line.contains(QLatin1String("\"progress\"")); }),
                 events.end());
    return events;
}

QJsonObject infoOf(const QByteArray &out)
{
    return QJsonDocument::fromJson(out.left(out.indexOf('\n'))).object();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A row of the month calendar: its years and one symbol a month.
QString calendarRow(const char *years, const char *symbols)
{
    QString row = QString("  %1").arg(QLatin1String(years), -9);
    for (const char *symbol = symbols; *symbol; ++symbol)
        row += QString("  ") + QLatin1Char(*symbol);
    return row;
}

const QString SdSource = "The data was created by reading from SD-Card or Backup.";
const QString IndexCorrect = "The data index is correct, no issues recognised.";

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readExportInfo();
    void textOutput();
    void terminalOutput_data();
    void terminalOutput();
    void damagedRecord();
    void sampleCard_data();
    void sampleCard();
    void calendar_data();
    void calendar();
    void errorsOnStandardError_data();
    void errorsOnStandardError();
    void uncreatableTarget();
    void libraryLogging_data();
    void libraryLogging();
    void usageError_data();
    void usageError();
    void interrupt_data();
    void interrupt();
    void alteredBackup_data();
    void alteredBackup();

private:
    QString readOneBackup(const QTemporaryDir &dir);
};

// Card, backup file, export and info of a register with three months, as a script sees them.
void CliTest::readExportInfo()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--from", "2019-01", "--to", "2019-03", "--lines", "4"}));

    const Result read = runApp({"read", dir.filePath("card"), dir.filePath("backups"), "--from", "2019-01", "--to",
                                "31.03.2019", "--json"});
    const QString backup = dir.filePath("backups/Backup_CR#12345678_201901_201903.enc");
    QCOMPARE(events(read.out),
             QStringList({progress(0, 3), progress(1, 3), progress(2, 3), progress(3, 3), fileEvent("finished", backup),
                          message(SdSource, false, 1), message("Serialnumber of the cash register: 12345678", false, 2),
                          message(IndexCorrect, false, 3), done(0)}));
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.exitCode, 0);

    const Result exported = runApp({"export", backup, dir.filePath("export"), "--gdpdu", "--json"});
    const QString folder = dir.filePath("export/CR#12345678/201901_201903/");
    QCOMPARE(events(exported.out).value(0), progress(0, 100));
    QCOMPARE(withoutProgress(events(exported.out)),
             QStringList({fileEvent("finished", folder + "gobd.csv"),
                          fileEvent("fileSaved", folder + "gdpdu-01-09-2004.dtd"),
                          fileEvent("fileSaved", folder + "index.xml"), message(SdSource, false, 1),
                          message("Serialnumber of the cash register: 12345678", false, 2),
                          message(IndexCorrect, false, 3),
                          message("Hash value: OK<br>The data seems not corrupted!", false, 4), done(0)}));
    QCOMPARE(exported.exitCode, 0);

    // Every line of the table is the register's journal line, in order.
    const QList<QByteArray> lines = fileBytes(folder + "gobd.csv").split('\n');
    QCOMPARE(lines.size(), 12 + 1);
    const fiscora::sample::Journal journal('1', 1);
    for (int number = 1; number <= 12; ++number) {
        const QByteArray line = lines.at(number - 1) + '\n';
        const QDate date = QDate::fromString(QString::fromLatin1(line.split(';').value(3)), "dd.MM.yyyy");
        QCOMPARE(line, journal.line(number, date));
        QCOMPARE(date.month(), (number - 1) / 4 + 1);
    }
    const QString xmllint = QStandardPaths::findExecutable("xmllint");
    if (!xmllint.isEmpty()) {
        QProcess validation;
        validation.setWorkingDirectory(folder);
        validation.start(xmllint, {"--noout", "--dtdvalid", "gdpdu-01-09-2004.dtd", "index.xml"});
        QVERIFY(validation.waitForFinished(HangGuardMs));
        QVERIFY2(validation.exitCode() == 0, validation.readAllStandardError().constData());
    }

    const Result info = runApp({"info", backup, "--json"});
    QCOMPARE(info.exitCode, 0);
    const QJsonObject fields = infoOf(info.out);
    QCOMPARE(fields.value("event").toString(), "info");
    QCOMPARE(fields.value("serialNumber").toString(), "12345678");
    QCOMPARE(fields.value("source").toString(), "SOURCE_SD");
    QCOMPARE(fields.value("headerVersion").toInt(), 2);
    QCOMPARE(fields.value("md5Matches").toBool(), true);
    QCOMPARE(fields.value("bodyMd5"), fields.value("md5"));
    qint64 dataSize = 0;
    for (const char *month : {"1901", "1902", "1903"})
        dataSize += QFileInfo(dir.filePath(QString("card/KORVANE/12345678/2019/%1.a03").arg(month))).size();
    QCOMPARE(fields.value("bodySize").toVariant().toLongLong(), dataSize);
    QCOMPARE(fields.value("months").toObject().value("2019-02").toString(), "INDEX_OK");
    QCOMPARE(fields.value("messages").toArray().size(), 3);
    QCOMPARE(events(info.out).mid(1), QStringList({done(0)}));
}

QString CliTest::readOneBackup(const QTemporaryDir &dir)
{
    if (!makeCard(dir.filePath("card"), {"--to", "2019-02", "--lines", "3"}))
        return QString();
    const Result read = runApp({"read", dir.filePath("card"), dir.filePath("backups")});
    return read.exitCode == 0 ? dir.filePath("backups/Backup_CR#12345678_complete.enc") : QString();
}

// For people: report lines with their flag, "<br>" as an indented line, and the files written.
void CliTest::textOutput()
{
    QTemporaryDir dir;
    const QString backup = readOneBackup(dir);
    QVERIFY(!backup.isEmpty());
    const Result exported = runApp({"export", backup, dir.filePath("export"), "--gdpdu"});
    QCOMPARE(exported.exitCode, 0);
    QCOMPARE(exported.err, QByteArray());
    const QString folder = dir.filePath("export/CR#12345678/complete/");
    const QString out = QString::fromUtf8(exported.out);
    const QString end = QString("[info] The data was created by reading from SD-Card or Backup.\n"
                                "[info] Serialnumber of the cash register: 12345678\n"
                                "[info] The data index is correct, no issues recognised.\n"
                                "[info] Hash value: OK\n"
                                "       The data seems not corrupted!\n"
                                "Files written:\n"
                                "  %1gobd.csv\n"
                                "  %1gdpdu-01-09-2004.dtd\n"
                                "  %1index.xml\n")
                                .arg(folder);
    QCOMPARE(out.left(19), QString("Progress: 0 of 100\n"));
    QCOMPARE(out.right(end.size()), end);
}

void CliTest::terminalOutput_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("flag");

    QTest::newRow("colours") << QStringList() << "\033[32m[info]\033[0m ";
    QTest::newRow("NO_COLOR") << QStringList{"NO_COLOR=1"} << "\n[info] ";
}

// On a terminal the progress is a bar that redraws its line.
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
    const QString out = QString::fromUtf8(read.out).replace("\r\n", "\n");
    QVERIFY2(out.startsWith("\r[------------------------------] 0/2\r[###############---------------] 1/2"
                            "\r[##############################] 2/2\n"),
             qPrintable(out));
    QVERIFY2(out.contains(flag + "The data index is correct, no issues recognised.\n"), qPrintable(out));
}

// A damaged record makes the export report the lines it had to repair or drop, flagged as errors
// but not numbered; the export itself succeeds, since the backup holds the data as the card did.
void CliTest::damagedRecord()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-02", "--lines", "3", "--damaged-month", "2019-02"}));
    QCOMPARE(runApp({"read", dir.filePath("card"), dir.path()}).exitCode, 0);
    const Result exported
            = runApp({"export", dir.filePath("Backup_CR#12345678_complete.enc"), dir.filePath("export"), "--json"});
    const QStringList lines = events(exported.out);
    const auto lineMessage = [](const QString &line) {
        return line.contains(QLatin1String("\"count\":0,\"event\":\"message\",\"isError\":true"));
    };
    QVERIFY2(std::any_of(lines.cbegin(), lines.cend(), lineMessage), qPrintable(lines.join(QLatin1Char('\n'))));
    QCOMPARE(lines.mid(lines.size() - 2),
             QStringList({message("Hash value: OK<br>The data seems not corrupted!", false, 4), done(0)}));
    QCOMPARE(exported.exitCode, 0);
}

void CliTest::sampleCard_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("dataSize");

    QTest::newRow("two registers of the G series")
            << QStringList{"--registers", "2", "--serial", "G1234567", "--to", "2019-01"}
            << QStringList{"KORVANE/G1234567/2019/1901.a03", "KORVANE/G1234567/01234567.a00",
                           "KORVANE/G1234568/2019/1901.a03", "KORVANE/G1234568/01234568.a00"}
            << 0;
    QTest::newRow("no maker folder") << QStringList{"--no-maker-folder", "--to", "2019-01"}
                                     << QStringList{"12345678/2019/1901.a03", "12345678/12345678.a00"} << 0;
    QTest::newRow("a size") << QStringList{"--size", "64K"} << QStringList{"KORVANE/12345678/2019/1912.a03"}
                            << 64 * 1024;
}

void CliTest::sampleCard()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, files);
    QFETCH(int, dataSize);

    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), options));
    for (const QString &file : qAsConst(files))
        QVERIFY2(QFileInfo::exists(dir.filePath("card/" + file)), qPrintable(file));
    if (dataSize == 0)
        return;
    qint64 total = 0;
    QDirIterator data(dir.filePath("card"), {"*.a03"}, QDir::Files, QDirIterator::Subdirectories);
    while (data.hasNext())
        total += QFileInfo(data.next()).size();
    // Records differ in size, so the size is only met roughly.
    QVERIFY2(qAbs(total - dataSize) < dataSize / 10, qPrintable(QString::number(total)));
}

void CliTest::calendar_data()
{
    QTest::addColumn<QStringList>("cardOptions");
    QTest::addColumn<QString>("strayFile");
    QTest::addColumn<int>("readExitCode");
    QTest::addColumn<QStringList>("rows");

    // The index files of the sample cards cover 128 months, January 2016 to August 2026.
    const QStringList firstHalf = {"--to", "2019-06", "--lines", "1"};
    const QString before = calendarRow("2016-2018", "oooooooooooo");
    const QString after = calendarRow("2020-2025", "oooooooooooo");
    const QString last = calendarRow("2026", "oooooooo....");
    QTest::newRow("every month present") << firstHalf << QString() << 0
                                         << QStringList{calendarRow("2016-2025", "oooooooooooo"), last};
    QTest::newRow("a month missing") << (firstHalf + QStringList{"--missing-month", "2019-03"}) << QString() << 0
                                     << QStringList{before, calendarRow("2019", "ooMooooooooo"), after, last};
    QTest::newRow("a file the index does not announce")
            << firstHalf << "2019/1908.a03" << 0
            << QStringList{before, calendarRow("2019", "oooooooEoooo"), after, last};
    // Without an index file the reader reports an error but writes the backup; its header then
    // holds 2048 months without a verdict.
    QTest::newRow("no index file") << (firstHalf + QStringList{"--no-index-file"}) << QString() << 1
                                   << QStringList{calendarRow("2016-2185", "????????????"),
                                                  calendarRow("2186", "????????....")};
}

void CliTest::calendar()
{
    QFETCH(QStringList, cardOptions);
    QFETCH(QString, strayFile);
    QFETCH(int, readExitCode);
    QFETCH(QStringList, rows);

    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), cardOptions));
    const QString registerFolder = dir.filePath("card/KORVANE/12345678/");
    if (!strayFile.isEmpty())
        QVERIFY(QFile::copy(registerFolder + "2019/1906.a03", registerFolder + strayFile));
    const Result read = runApp({"read", dir.filePath("card"), dir.path()});
    QCOMPARE(read.exitCode, readExitCode);

    const Result info = runApp({"info", dir.filePath("Backup_CR#12345678_complete.enc")});
    QCOMPARE(info.exitCode, 0);
    const QStringList lines = QString::fromUtf8(info.out).split(QLatin1Char('\n'));
    const int start = lines.indexOf("Month index:");
    QVERIFY2(start > 0, info.out.constData());
    QCOMPARE(lines.value(start + 1), QString(11, QLatin1Char(' ')) + " 01 02 03 04 05 06 07 08 09 10 11 12");
    QCOMPARE(lines.mid(start + 2, rows.size()), rows);
    QCOMPARE(lines.value(start + 2 + rows.size()),
             "  o OK  M file missing  E file not in the index  ? no index file  . not in the index  "
             "! unknown status");
}

void CliTest::errorsOnStandardError_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("err");

    const QString english = "Error: No valid serial number folder found!\nHint: Check your selected start path!\n";
    const QString german = "Fehler: Es wurde kein gültiger Seriennummernordner gefunden!\n"
                           "Hinweis: Bitte prüfen Sie den gewählten Startpfad!\n";
    const QStringList germanLocale = {"LC_ALL", "LC_MESSAGES", "LANG=de_DE.UTF-8"};
    QTest::newRow("English") << QStringList() << QStringList() << english;
    QTest::newRow("--lang de") << QStringList{"--lang", "de"} << QStringList() << german;
    QTest::newRow("German locale") << QStringList() << germanLocale << german;
    QTest::newRow("--lang en in a German locale") << QStringList{"--lang", "en"} << germanLocale << english;
}

// Each error of the library as two lines, the error and the hint, in the user's language.
void CliTest::errorsOnStandardError()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, environment);
    QFETCH(QString, err);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("empty"));
    const Result read = runApp(QStringList{"read", dir.filePath("empty"), dir.filePath("out")} + options, environment);
    QCOMPARE(QString::fromUtf8(read.err), err);
    QCOMPARE(read.out, QByteArray());
    QCOMPARE(read.exitCode, 1);
}

void CliTest::uncreatableTarget()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("blocker"));
    QVERIFY2(blocker.open(QIODevice::WriteOnly), qPrintable(blocker.errorString()));
    const QString target = dir.filePath("blocker/backups");
    const Result read = runApp({"read", dir.path(), target});
    const QString err = QString("Error: Cannot create the target folder %1.\n"
                                "Hint: Check the path and your write permission for its parent folder.\n")
                                .arg(target);
    QCOMPARE(QString::fromUtf8(read.err), err);
    QCOMPARE(read.out, QByteArray());
    QCOMPARE(read.exitCode, 1);
}

void CliTest::libraryLogging_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("quiet") << QStringList() << QStringList();
    const QStringList firstLines = {"sdcardreader: Start SD card reader", "indexfileanalyser: Check index file: "};
    QTest::newRow("--verbose") << QStringList{"--verbose"} << firstLines;
}

// The library's own lines only with --verbose: otherwise they repeat what its signals report.
void CliTest::libraryLogging()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, lines);

    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-01", "--lines", "1"}));
    const Result read = runApp(QStringList{"read", dir.filePath("card"), dir.filePath("backups"), "--json"} + options);
    QCOMPARE(read.exitCode, 0);
    const QString err = QString::fromUtf8(read.err);
    for (const QString &line : qAsConst(lines))
        QVERIFY2(err.startsWith(line) || err.contains(QLatin1Char('\n') + line), qPrintable(err));
    if (lines.isEmpty())
        QCOMPARE(err, QString());
}

void CliTest::usageError_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("err");

    QTest::newRow("bad date, in German")
            << QStringList{"--lang", "de", "read", "card", "out", "--to", "32.01.2019", "--from", "2019-01"}
            << "fiscora: Ungültiges Datum „32.01.2019“ für --to: Schreiben Sie 2019-03, 2019-03-01 oder 01.03.2019.\n"
               "„fiscora --help“ zeigt, wie es geht.\n";
    QTest::newRow("unknown language") << QStringList{"--lang", "xx", "info", "b.enc"}
                                      << "fiscora: There is no translation into \"xx\".\n"
                                         "\"fiscora --help\" shows how to use it.\n";
}

void CliTest::usageError()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, err);

    const Result result = runApp(arguments);
    QCOMPARE(QString::fromUtf8(result.err), err);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.exitCode, 2);
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
    const QString registerFolder = dir.filePath("card/KORVANE/12345678/2019/");
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "1"}));
    // Sparse files cost neither time nor disk to make, but the reader takes a while to copy
    // them, so the job is still running when the signal comes.
    for (int month = 2; month <= 12; ++month) {
        QFile data(registerFolder + QString("19%1.a03").arg(month, 2, 10, QLatin1Char('0')));
        QVERIFY2(data.resize(64 << 20), qPrintable(data.errorString()));
    }
    const QString target = dir.filePath("backups");

    QProcess process;
    process.start(QStringLiteral(FISCORA_APP), {"read", dir.filePath("card"), target, "--json"});
    QByteArray out;
    while (!out.contains(progress(1, 12).toUtf8())) {
        QVERIFY2(process.canReadLine() || process.waitForReadyRead(HangGuardMs), out.constData());
        out += process.readLine();
    }
    QCOMPARE(::kill(process.processId(), signalNumber), 0);
    QVERIFY(process.waitForFinished(HangGuardMs));
    out += process.readAllStandardOutput();

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 128 + signalNumber);
    const QStringList expectedEnd = {jsonLine({{"event", "interrupted"}}),
                                     jsonLine({{"event", "error"},
                                               {"error", "Process abbort by the user."},
                                               {"hint", "Your saved data are not complete!"}}),
                                     done(128 + signalNumber)};
    QCOMPARE(withoutProgress(events(out)), expectedEnd);
    const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QCOMPARE(QDir(target).entryList(everything), QStringList());
}

void CliTest::alteredBackup_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("export") << QStringList{"export", "--gdpdu"}
                            << message("Hash value: INVALID<br>The data could be corrupted!", true, 4);
    QTest::newRow("info") << QStringList{"info"} << QString();
}

// One byte changed in the data behind the header is found, and the run ends with exit code 1.
void CliTest::alteredBackup()
{
    QFETCH(QStringList, options);
    QFETCH(QString, verdict);

    QTemporaryDir dir;
    const QString backup = readOneBackup(dir);
    QVERIFY(!backup.isEmpty());
    QFile file(backup);
    QVERIFY2(file.open(QIODevice::ReadWrite), qPrintable(file.errorString()));
    QVERIFY(file.seek(file.size() - 1));
    const char last = file.peek(1).at(0);
    QVERIFY(file.putChar(static_cast<char>(last ^ 0x01)));
    file.close();

    QStringList arguments = {options.first(), backup};
    if (options.first() == QLatin1String("export"))
        arguments << dir.filePath("export");
    const Result result = runApp(arguments + options.mid(1) + QStringList{"--json"});
    QCOMPARE(result.exitCode, 1);
    const QStringList lines = events(result.out);
    QCOMPARE(lines.last(), done(1));
    if (verdict.isEmpty())
        QCOMPARE(infoOf(result.out).value("md5Matches"), QJsonValue(false));
    else
        QCOMPARE(lines.at(lines.size() - 2), verdict);
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
