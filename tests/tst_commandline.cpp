#include "commandline.h"

#include <QtTest>

using fiscora::cli::Command;
using fiscora::cli::CommandLine;

namespace {

// The command as one text: its name, its arguments, its months and the options that are set.
QString described(const Command &command)
{
    QStringList words = {QStringList{"read", "export", "info"}.value(command.kind), command.source, command.target};
    if (command.fromDate.isValid())
        words << "from" << command.fromDate.toString(Qt::ISODate);
    if (command.toDate.isValid())
        words << "to" << command.toDate.toString(Qt::ISODate);
    const QList<QPair<bool, const char *>> flags = {
            {command.json, "json"},         {command.verbose, "verbose"},
            {command.gdpduExport, "gdpdu"}, {command.indexInfoLine, "index-info"},
            {command.rawDataOnly, "raw"},   {command.skipLineCheck, "skip-line-check"},
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
    for (const char *word : {"read SOURCE TARGET", "export BACKUP TARGET", "info BACKUP", "--lang", "--from", "--to",
                             "--gdpdu", "--index-info", "--raw", "--skip-line-check", "--help-all"}) {
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
    QTest::newRow("export, every option") << "export b.enc out --gdpdu --index-info --raw --skip-line-check --verbose"
                                          << "export b.enc out verbose gdpdu index-info raw skip-line-check";
    QTest::newRow("info") << "info b.enc --lang de" << "info b.enc";
    QTest::newRow("version") << "--version" << "fiscora 1.3.0";
    // Each command's help lists its own options and no other command's.
    QTest::newRow("help") << "--help" << "help: read SOURCE TARGET export BACKUP TARGET info BACKUP --lang";
    QTest::newRow("help on read") << "read --help" << "help: read SOURCE TARGET --lang --from --to";
    QTest::newRow("help on export") << "-h export"
                                    << "help: export BACKUP TARGET --lang --gdpdu --index-info --raw --skip-line-check";

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
    QTest::newRow("date without value") << "read c out --from" << usage.arg("Missing value after '--from'.");
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

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
