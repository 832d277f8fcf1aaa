#include "commandline.h"

#include <QtTest>

using fiscora::cli::Command;
using fiscora::cli::CommandLine;

namespace {

// The options that are set, in a fixed order, so that a row names them as one text.
QString flagsOf(const Command &command)
{
    QStringList flags;
    const QList<QPair<bool, const char *>> all = {
            {command.json, "json"},         {command.verbose, "verbose"},
            {command.gdpduExport, "gdpdu"}, {command.indexInfoLine, "index-info"},
            {command.rawDataOnly, "raw"},   {command.skipLineCheck, "skip-line-check"},
    };
    for (const auto &flag : all) {
        if (flag.first)
            flags << QLatin1String(flag.second);
    }
    return flags.join(QLatin1Char(' '));
}

QStringList arguments(const char *text)
{
    return QString("fiscora %1").arg(QLatin1String(text)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void takesCommand_data();
    void takesCommand();
    void refusesUsage_data();
    void refusesUsage();
    void helpAndVersion_data();
    void helpAndVersion();
    void requestedLanguage_data();
    void requestedLanguage();
};

void CommandLineTest::initTestCase()
{
    QCoreApplication::setApplicationName("fiscora");
    QCoreApplication::setApplicationVersion("1.3.0");
}

void CommandLineTest::takesCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<QString>("flags");

    const int read = Command::Read;
    const QString card = "/media/card";
    const QString backups = "backups";
    QTest::newRow("read, every month") << arguments("read /media/card backups") << read << card << backups << QDate()
                                       << QDate() << QString();
    QTest::newRow("read, a month") << arguments("read /media/card backups --from 2019-03") << read << card << backups
                                   << QDate(2019, 3, 1) << QDate() << QString();
    // The library takes the month of a date only when the date is its first day.
    QTest::newRow("read, a day stands for its month") << arguments("read /media/card backups --from 2019-03-15") << read
                                                      << card << backups << QDate(2019, 3, 1) << QDate() << QString();
    QTest::newRow("read, German date") << arguments("read /media/card backups --from 15.03.2019") << read << card
                                       << backups << QDate(2019, 3, 1) << QDate() << QString();
    QTest::newRow("read, span") << arguments("read /media/card backups --from 2019-01 --to 2019-12-31") << read << card
                                << backups << QDate(2019, 1, 1) << QDate(2019, 12, 1) << QString();
    QTest::newRow("read, span within one month")
            << arguments("read /media/card backups --from 2019-05 --to 2019-05-31") << read << card << backups
            << QDate(2019, 5, 1) << QDate(2019, 5, 1) << QString();
    QTest::newRow("options before the command") << arguments("--json --from 2019-03 read /media/card backups") << read
                                                << card << backups << QDate(2019, 3, 1) << QDate() << "json";
    QTest::newRow("export, every option")
            << arguments("export b.enc out --gdpdu --index-info --raw --skip-line-check --verbose --json")
            << int(Command::Export) << "b.enc"
            << "out" << QDate() << QDate() << "json verbose gdpdu index-info raw skip-line-check";
    QTest::newRow("export, no option") << arguments("export b.enc out") << int(Command::Export) << "b.enc"
                                       << "out" << QDate() << QDate() << QString();
    QTest::newRow("info") << arguments("info b.enc --lang de") << int(Command::Info) << "b.enc" << QString() << QDate()
                          << QDate() << QString();
}

void CommandLineTest::takesCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, kind);
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(QDate, fromDate);
    QFETCH(QDate, toDate);
    QFETCH(QString, flags);

    CommandLine commandLine;
    QCOMPARE(commandLine.parse(arguments), CommandLine::Run);
    const Command command = commandLine.command();
    QCOMPARE(int(command.kind), kind);
    QCOMPARE(command.source, source);
    QCOMPARE(command.target, target);
    QCOMPARE(command.fromDate, fromDate);
    QCOMPARE(command.toDate, toDate);
    QCOMPARE(flagsOf(command), flags);
}

void CommandLineTest::refusesUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    QTest::newRow("no command") << arguments("--json") << "No command given.";
    QTest::newRow("unknown command") << arguments("decrypt b.enc out") << "Unknown command \"decrypt\".";
    QTest::newRow("missing target") << arguments("read /media/card") << "Missing argument TARGET.";
    QTest::newRow("missing backup") << arguments("info") << "Missing argument BACKUP.";
    QTest::newRow("one argument too many") << arguments("info a.enc b.enc") << "Unexpected argument \"b.enc\".";
    const QString forms = QStringLiteral("write 2019-03, 2019-03-01 or 01.03.2019.");
    QTest::newRow("month 13") << arguments("read card out --from 2019-13")
                              << "Invalid date \"2019-13\" for --from: " + forms;
    QTest::newRow("no 31 February") << arguments("read card out --from 2019-01 --to 31.02.2019")
                                    << "Invalid date \"31.02.2019\" for --to: " + forms;
    QTest::newRow("American date") << arguments("read card out --from 03/01/2019")
                                   << "Invalid date \"03/01/2019\" for --from: " + forms;
    QTest::newRow("--to alone") << arguments("read card out --to 2019-05")
                                << "--to 2019-05 needs --from: a span starts with its first month.";
    QTest::newRow("--to before --from") << arguments("read card out --from 2019-05 --to 2019-04-30")
                                        << "--to 2019-04-30 lies before --from 2019-05.";
    QTest::newRow("export option for read") << arguments("read card out --gdpdu") << "Unknown option 'gdpdu'.";
    QTest::newRow("read option for export") << arguments("export b.enc out --from 2019-01") << "Unknown option 'from'.";
    QTest::newRow("date without value") << arguments("read card out --from") << "Missing value after '--from'.";
}

void CommandLineTest::refusesUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);

    CommandLine commandLine;
    QCOMPARE(commandLine.parse(arguments), CommandLine::UsageError);
    QCOMPARE(commandLine.errorText(), QString("fiscora: %1\n\"fiscora --help\" shows how to use it.\n").arg(error));
}

void CommandLineTest::helpAndVersion_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const int help = CommandLine::ShowHelp;
    QTest::newRow("application") << arguments("--help") << help
                                 << QStringList{"read SOURCE TARGET", "export BACKUP TARGET", "info BACKUP",
                                                "--lang <language>"}
                                 << QStringList{"--from", "--gdpdu", "--help-all"};
    QTest::newRow("read") << arguments("read --help") << help << QStringList{"--from <date>", "--to <date>", "--json"}
                          << QStringList{"--gdpdu"};
    QTest::newRow("export") << arguments("-h export") << help
                            << QStringList{"--gdpdu", "--index-info", "--raw", "--skip-line-check"}
                            << QStringList{"--from"};
    QTest::newRow("info") << arguments("info --help") << help << QStringList{"BACKUP"}
                          << QStringList{"--from", "--gdpdu"};
    QTest::newRow("version") << arguments("--version") << int(CommandLine::ShowVersion) << QStringList()
                             << QStringList();
}

void CommandLineTest::helpAndVersion()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, outcome);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    CommandLine commandLine;
    QCOMPARE(int(commandLine.parse(arguments)), outcome);
    QCOMPARE(commandLine.versionText(), "fiscora 1.3.0");
    for (const QString &text : qAsConst(present))
        QVERIFY2(commandLine.helpText().contains(text), qPrintable(text));
    for (const QString &text : qAsConst(absent))
        QVERIFY2(!commandLine.helpText().contains(text), qPrintable(text));
}

void CommandLineTest::requestedLanguage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("language");

    QTest::newRow("none") << arguments("read card out") << QString();
    QTest::newRow("before the command") << arguments("--lang de read card out") << "de";
    QTest::newRow("behind a date option") << arguments("read card out --from 2019-03 --lang de_AT") << "de_AT";
    QTest::newRow("with an equals sign") << arguments("info b.enc --lang=en") << "en";
    // The translation comes first, so that even the complaint about the command line is translated.
    QTest::newRow("in a wrong command line") << arguments("frobnicate --gdpdu --lang de") << "de";
}

void CommandLineTest::requestedLanguage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, language);
    QCOMPARE(CommandLine::requestedLanguage(arguments), language);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
