#include "commandline.h"

#include <QtTest>

using fiscora::app::Command;
using fiscora::cli::CommandLine;

namespace {

// The command as one text: its name, its arguments, its months and the options that are set.
QString described(const Command &command)
{
    QStringList words = {QStringList{"read", "export", "info", "list", "verify", "package"}.value(command.kind),
                         command.source, command.target};
    if (command.fromDate.isValid())
        words << "from" << command.fromDate.toString(Qt::ISODate);
    if (command.toDate.isValid())
        words << "to" << command.toDate.toString(Qt::ISODate);
    const QList<QPair<bool, const char *>> flags = {
            {command.json, "json"},         {command.quiet, "quiet"},
            {command.verbose, "verbose"},   {command.gdpduExport, "gdpdu"},
            {command.indexInfoLine, "index-info"}, {command.rawDataOnly, "raw"},
            {command.skipLineCheck, "skip-line-check"}, {command.overwrite, "overwrite"},
    };
    for (const auto &flag : flags) {
        if (flag.first)
            words << QLatin1String(flag.second);
    }
    words.removeAll(QString());
    return words.join(QLatin1Char(' '));
}

// Which of the commands and options that only some help texts should show a help text shows.
QString mentioned(const QString &helpText)
{
    QStringList words = {"help:"};
    for (const char *word : {"Usage: fiscora ", "read SOURCE TARGET", "export BACKUP TARGET", "info BACKUP",
                             "list SOURCE", "verify EXPORT_DIR [BACKUP]", "verify ARCHIVE.zip [BACKUP]",
                             "package BACKUP TARGET", "--lang",
                             "--quiet", "--from", "--to", "--overwrite", "--gdpdu", "--index-info", "--raw",
                             "--skip-line-check", "--help-all"}) {
        if (helpText.contains(QLatin1String(word)))
            words << QLatin1String(word);
    }
    return words.join(QLatin1Char(' '));
}

QStringList arguments(const QString &text)
{
    return ("fiscora " + text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void parse_data();
    void parse();
    void notices_data();
    void notices();
};

void CommandLineTest::initTestCase()
{
    QCoreApplication::setApplicationName("fiscora");
    QCoreApplication::setApplicationVersion("1.3.0");
}

void CommandLineTest::parse_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("result");

    QTest::newRow("every month") << "read /media/card out" << "read /media/card out";
    // The library takes the month of a date only when the date is its first day.
    QTest::newRow("a day stands for its month") << "read c out --from 2019-03-15" << "read c out from 2019-03-01";
    QTest::newRow("German date") << "read c out --from 15.03.2019" << "read c out from 2019-03-01";
    QTest::newRow("options before the command") << "--json --from 2019-03 read c out"
                                                << "read c out from 2019-03-01 json";
    QTest::newRow("span") << "read c out --from 2019-01 --to 2019-12-31" << "read c out from 2019-01-01 to 2019-12-01";
    QTest::newRow("span within one month") << "read c out --from 2019-05 --to 2019-05-31"
                                           << "read c out from 2019-05-01 to 2019-05-01";
    QTest::newRow("export, every option") << "export b.enc out --raw --skip-line-check --verbose --overwrite -q"
                                          << "export b.enc out quiet verbose raw skip-line-check overwrite";
    QTest::newRow("GDPdU export") << "export b.enc out --gdpdu" << "export b.enc out gdpdu";
    QTest::newRow("export of a period") << "export b.enc out --index-info --from 2019-02 --to 2019-04"
                                        << "export b.enc out from 2019-02-01 to 2019-04-01 index-info";
    QTest::newRow("info") << "info b.enc --lang de" << "info b.enc";
    QTest::newRow("list") << "list /media/card --from 2019-03 --json" << "list /media/card from 2019-03-01 json";
    QTest::newRow("verify") << "verify out/CR#1/complete" << "verify out/CR#1/complete";
    QTest::newRow("verify with its backup") << "verify out/CR#1/complete b.enc" << "verify out/CR#1/complete b.enc";
    QTest::newRow("package is GDPdU") << "package b.enc out --from 2019-01 --overwrite"
                                      << "package b.enc out from 2019-01-01 gdpdu overwrite";
    QTest::newRow("version") << "--version" << "fiscora 1.3.0";
    // Each command's help lists its own options and no other command's, and names the program
    // as fiscora however it was started.
    QTest::newRow("help") << "--help"
                          << "help: Usage: fiscora  read SOURCE TARGET export BACKUP TARGET info BACKUP list SOURCE "
                             "verify EXPORT_DIR [BACKUP] verify ARCHIVE.zip [BACKUP] package BACKUP TARGET --lang --quiet";
    QTest::newRow("help on read") << "read --help" << "help: Usage: fiscora  read SOURCE TARGET --lang --quiet --from --to --overwrite";
    QTest::newRow("help on export") << "-h export"
                                    << "help: Usage: fiscora  export BACKUP TARGET --lang --quiet --from --to "
                                       "--overwrite --gdpdu --index-info --raw --skip-line-check";
    // Its description names the export it checks, and the archive.
    QTest::newRow("help on verify") << "verify -h"
                                    << "help: Usage: fiscora  verify EXPORT_DIR [BACKUP] verify ARCHIVE.zip [BACKUP] "
                                       "--lang --quiet --gdpdu";

    const QString usage = "fiscora: %1\n\"fiscora --help\" shows how to use it.\n";
    const QString invalidDate = usage.arg("Invalid date \"%1\" for --%2: write 2019-03, 2019-03-01 or 01.03.2019.");
    QTest::newRow("no command") << "--json" << usage.arg("No command given.");
    QTest::newRow("unknown command") << "decrypt b.enc out" << usage.arg("Unknown command \"decrypt\".");
    QTest::newRow("missing argument") << "read /media/card" << usage.arg("Missing argument TARGET.");
    QTest::newRow("one argument too many") << "info a.enc b.enc" << usage.arg("Unexpected argument \"b.enc\".");
    QTest::newRow("month 13") << "read c out --from 2019-13" << invalidDate.arg("2019-13", "from");
    QTest::newRow("no 31 February") << "read c out --from 2019-01 --to 31.02.2019"
                                    << invalidDate.arg("31.02.2019", "to");
    QTest::newRow("--to alone") << "read c out --to 2019-05"
                                << usage.arg("--to 2019-05 needs --from: a span starts with its first month.");
    QTest::newRow("--to before --from") << "read c out --from 2019-05 --to 2019-04-30"
                                        << usage.arg("--to 2019-04-30 lies before --from 2019-05.");
    QTest::newRow("option of another command") << "read c out --gdpdu" << usage.arg("Unknown option 'gdpdu'.");
    QTest::newRow("no dates for verify") << "verify out --from 2019-01" << usage.arg("Unknown option 'from'.");
    QTest::newRow("date without value") << "read c out --from" << usage.arg("Missing value after '--from'.");
    QTest::newRow("empty date") << "export b.enc out --from=" << usage.arg("An empty date for --from: write 2019-03, "
                                                                           "2019-03-01 or 01.03.2019.");
    QTest::newRow("verify without folder") << "verify" << usage.arg("Missing argument EXPORT_DIR.");
    QTest::newRow("INDEX_INFO in a GDPdU table") << "export b.enc out --gdpdu --index-info"
        << usage.arg("--index-info cannot go with --gdpdu: index.xml does not declare the INDEX_INFO line, so "
                     "gobd.csv would start with a row that is no record.");
}

// What the application does with a command line: run a command, refuse it, or show its help or version.
void CommandLineTest::parse()
{
    QFETCH(QString, arguments);
    QFETCH(QString, result);

    CommandLine commandLine;
    switch (commandLine.parse(::arguments(arguments))) {
    case CommandLine::Run:
        QCOMPARE(described(commandLine.command()), result);
        QVERIFY(commandLine.notices().isEmpty());
        break;
    case CommandLine::UsageError:
        QCOMPARE(commandLine.errorText(), result);
        break;
    case CommandLine::ShowHelp:
        QCOMPARE(mentioned(commandLine.helpText()), result);
        break;
    case CommandLine::ShowVersion:
        QCOMPARE(commandLine.versionText(), result);
        break;
    }
}

// Options that have no effect beside another are run all the same, with a remark.
void CommandLineTest::notices_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QStringList>("notices");

    const QString gdpdu = "--gdpdu has no effect with --raw: bare records have no header to name the export folder "
                          "after, so the table file goes straight into TARGET.";
    const QString indexInfo = "--index-info has no effect with --raw: bare records have no header.";
    QTest::newRow("--raw --gdpdu") << "export r.bin out --raw --gdpdu" << QStringList{gdpdu};
    QTest::newRow("--raw --index-info --gdpdu") << "export r.bin out --raw --index-info --gdpdu"
                                               << QStringList{gdpdu, indexInfo};
}

void CommandLineTest::notices()
{
    QFETCH(QString, arguments);
    CommandLine commandLine;
    QCOMPARE(commandLine.parse(::arguments(arguments)), CommandLine::Run);
    QTEST(commandLine.notices(), "notices");
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
