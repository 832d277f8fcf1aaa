#include "commandline.h"

#include <QCommandLineParser>

namespace fiscora::cli {

//! A command's name, the names of its arguments and how many of them may be left out at the end.
struct CommandSyntax
{
    const char *name;
    Command::Kind kind;
    QStringList arguments;
    int optional = 0;
};

namespace {

const QList<CommandSyntax> &commandSyntaxes()
{
    static const QList<CommandSyntax> syntaxes = {
        {"read", Command::Read, {QStringLiteral("SOURCE"), QStringLiteral("TARGET")}},
        {"export", Command::Export, {QStringLiteral("BACKUP"), QStringLiteral("TARGET")}},
        {"info", Command::Info, {QStringLiteral("BACKUP")}},
        {"list", Command::List, {QStringLiteral("SOURCE")}},
        {"verify", Command::Verify, {QStringLiteral("EXPORT_DIR"), QStringLiteral("BACKUP")}, 1},
        {"package", Command::Package, {QStringLiteral("BACKUP"), QStringLiteral("TARGET")}},
        {"check", Command::Check, {QStringLiteral("SOURCE")}},
    };
    return syntaxes;
}

const CommandSyntax *findCommand(const QString &name)
{
    for (const CommandSyntax &syntax : commandSyntaxes()) {
        if (name == QLatin1String(syntax.name))
            return &syntax;
    }
    return nullptr;
}

QString option(const char *name)
{
    return QLatin1String(name);
}

bool takesDates(Command::Kind kind)
{
    return kind != Command::Info && kind != Command::Verify;
}

bool writes(Command::Kind kind)
{
    return kind == Command::Read || kind == Command::Export || kind == Command::Package || kind == Command::Check;
}

} // namespace

QList<QCommandLineOption> CommandLine::commandOptions(Command::Kind kind)
{
    QList<QCommandLineOption> options;
    if (kind == Command::Export) {
        options = {
            {option("gdpdu"), tr("Write gobd.csv with index.xml and its DTD into TARGET/serial number/period/.")},
            {option("index-info"), tr("Start the table file with the INDEX_INFO line of the backup header "
                                      "(not with --gdpdu).")},
            {option("raw"), tr("BACKUP holds bare records without a header: report their hash, compare none.")},
            {option("skip-line-check"), tr("Write the lines as they decrypt, without checking or repairing them.")},
        };
    }
    if (kind == Command::Check) {
        options = {
            {option("takings"), tr("Sum the takings from the lines of this Buchungstyp (Zahlung)."), tr("type")},
            {option("report"), tr("Write the charts of the check into this PDF file."), tr("file")},
        };
    }
    if (takesDates(kind)) {
        options << QCommandLineOption(option("from"), tr("The first month; without --to, the only month."), tr("date"))
                << QCommandLineOption(option("to"), tr("The last month, with --from."), tr("date"));
    }
    if (writes(kind))
        options << QCommandLineOption(option("overwrite"),
                                      tr("Replace what is in the way instead of stopping before the start."));
    return options;
}

QString CommandLine::requestedLanguage(const QStringList &arguments)
{
    QCommandLineParser parser;
    CommandLine().parseLeniently(parser, arguments);
    return parser.value(option("lang"));
}

QDate CommandLine::parseMonth(const QString &text)
{
    for (const char *format : {"yyyy-MM", "yyyy-MM-dd", "dd.MM.yyyy"}) {
        const QDate date = QDate::fromString(text, QLatin1String(format));
        if (date.isValid())
            return QDate(date.year(), date.month(), 1);
    }
    return QDate();
}

QString CommandLine::versionText() const
{
    return QStringLiteral("%1 %2").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion());
}

CommandLine::Outcome CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser lenient;
    parseLeniently(lenient, arguments);
    const QString name = lenient.positionalArguments().value(0);
    const CommandSyntax *syntax = findCommand(name);
    if (!name.isEmpty() && !syntax)
        return fail(tr("Unknown command \"%1\".").arg(name));

    QCommandLineParser parser;
    describeApplication(parser);
    if (syntax) {
        m_command.kind = syntax->kind;
        describeCommand(parser, *syntax);
    }
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    m_helpText = applicationHelp(parser);
    if (parser.isSet(option("help")))
        return ShowHelp;
    if (parser.isSet(option("version")))
        return ShowVersion;
    if (!syntax)
        return fail(tr("No command given."));
    const Outcome outcome = takeArguments(parser.positionalArguments(), *syntax);
    return outcome == Run ? takeOptions(parser) : outcome;
}

// Qt's help names the program as it was started, with its whole path.
QString CommandLine::applicationHelp(const QCommandLineParser &parser) const
{
    QString text = parser.helpText();
    const QString started = QCoreApplication::arguments().value(0);
    const int at = started.isEmpty() ? -1 : text.indexOf(started);
    if (at >= 0 && at < text.indexOf(QLatin1Char('\n')))
        text.replace(at, started.size(), QCoreApplication::applicationName());
    return text;
}

CommandLine::Outcome CommandLine::takeArguments(const QStringList &positional, const CommandSyntax &syntax)
{
    // The first positional argument is the command's name.
    const int most = syntax.arguments.size() + 1;
    if (positional.size() < most - syntax.optional)
        return fail(tr("Missing argument %1.").arg(syntax.arguments.at(positional.size() - 1)));
    if (positional.size() > most)
        return fail(tr("Unexpected argument \"%1\".").arg(positional.at(most)));
    m_command.source = positional.at(1);
    m_command.target = positional.value(2);
    return Run;
}

// Options may stand before the command. A parser that knows the options of every command tells
// their values from the command's name, whatever else may be wrong with the command line.
void CommandLine::parseLeniently(QCommandLineParser &parser, const QStringList &arguments) const
{
    describeApplication(parser);
    QStringList names;
    for (const CommandSyntax &syntax : commandSyntaxes()) {
        for (const QCommandLineOption &commandOption : commandOptions(syntax.kind)) {
            if (!names.contains(commandOption.names().constFirst()))
                parser.addOption(commandOption);
            names << commandOption.names();
        }
    }
    parser.parse(arguments);
}

void CommandLine::describeApplication(QCommandLineParser &parser) const
{
    parser.setApplicationDescription(
            tr("Reads the journal of a cash register from its SD card into backup files and exports a "
               "backup for a tax audit under GoBD/GDPdU.\n\n"
               "Commands:\n"
               "  list SOURCE              show the registers and months on the card SOURCE\n"
               "  read SOURCE TARGET       back up every register on the card SOURCE into TARGET\n"
               "  info BACKUP              show the header, period and records of BACKUP\n"
               "  export BACKUP TARGET     decrypt BACKUP into a table file below TARGET\n"
               "  verify EXPORT_DIR [BACKUP]  check an export folder, and compare it with an export of BACKUP\n"
               "  verify ARCHIVE.zip [BACKUP]  check a hand-over archive: its manifest, its figures and its export\n"
               "  package BACKUP TARGET    export, verify and pack BACKUP into an archive for hand-over\n"
               "  check SOURCE             show what the tests of a tax audit make of the journal in SOURCE\n\n"
               "\"fiscora COMMAND --help\" lists the options of a command. Results go to standard output, "
               "progress and report lines to standard error.\n"
               "Exit codes: 0 done, 1 an error or a message flagged as one was reported (a damaged line, "
               "records that could not be read, a missing month, an invalid hash value, a verification finding, "
               "something in the way), 2 wrong usage, 130 stopped by Ctrl+C, 143 by SIGTERM, 129 by SIGHUP."));
    // Qt's own help option would offer --help-all, which lists nothing more here.
    parser.addOptions({
        {{QStringLiteral("h"), option("help")}, tr("Show this help.")},
        {{QStringLiteral("v"), option("version")}, tr("Show the version of the library.")},
        {option("json"), tr("Print one JSON object per event, for scripts.")},
        {{QStringLiteral("q"), option("quiet")}, tr("Show only results, errors and the report lines flagged as errors.")},
        {option("verbose"), tr("Show the library's debug lines.")},
        {option("lang"), tr("Use the texts of <language>, such as de or en."), tr("language")},
    });
    parser.addPositionalArgument(option("command"), tr("list, read, info, export, verify, package or check"),
                                 tr("COMMAND [ARGUMENTS]"));
}

void CommandLine::describeCommand(QCommandLineParser &parser, const CommandSyntax &syntax) const
{
    parser.clearPositionalArguments();
    parser.addPositionalArgument(QLatin1String(syntax.name), QString());
    const QString backupArgument = tr("A backup file written by \"fiscora read\".");
    const QString dates = tr("A date is written 2019-03, 2019-03-01 or 01.03.2019 and stands for its month.");
    switch (syntax.kind) {
    case Command::Read:
        parser.setApplicationDescription(
                tr("Backs up every cash register found on the card SOURCE (the card, its maker folder or a "
                   "register's folder) into one backup file per register in the folder TARGET. Without "
                   "dates every month is read.")
                + QLatin1Char('\n') + dates);
        parser.addPositionalArgument(option("SOURCE"), tr("The SD card or a copy of it."));
        parser.addPositionalArgument(option("TARGET"), tr("The folder for the backup files."));
        break;
    case Command::Export:
        parser.setApplicationDescription(
                tr("Decrypts the backup file BACKUP into a table file below the folder TARGET, checks every "
                   "line and proves with the backup's MD5 value that nothing was altered. The export is put "
                   "in place only when its data matches that value. With dates, the table holds the lines "
                   "of that period.")
                + QLatin1Char('\n') + dates);
        parser.addPositionalArgument(option("BACKUP"), backupArgument);
        parser.addPositionalArgument(option("TARGET"), tr("The folder for the export."));
        break;
    case Command::Info:
        parser.setApplicationDescription(
                tr("Shows what the header of the backup file BACKUP says, whether its data still matches the "
                   "MD5 value in the header, and the period and records it holds."));
        parser.addPositionalArgument(option("BACKUP"), backupArgument);
        break;
    case Command::List:
        parser.setApplicationDescription(
                tr("Shows the registers on the card SOURCE and, for each, the months with data files, what "
                   "its index announces and what a read would give, without writing anything.")
                + QLatin1Char('\n') + dates);
        parser.addPositionalArgument(option("SOURCE"), tr("The SD card or a copy of it."));
        break;
    case Command::Verify:
        parser.setApplicationDescription(
                tr("Checks the export folder EXPORT_DIR: index.xml valid against its DTD, and every row of "
                   "the table file as index.xml declares it. With BACKUP, also that the table is what an "
                   "export of BACKUP gives, and that the backup's MD5 value holds.\n"
                   "\"fiscora verify ARCHIVE.zip [BACKUP]\" checks a hand-over archive written by \"fiscora "
                   "package\" the same way, and also every file against manifest.sha256, and the period, rows, "
                   "sums and SHA-256 values that protokoll.json states against the table and the files. An export "
                   "folder that holds protokoll.json is checked against it, too."));
        parser.addPositionalArgument(option("EXPORT_DIR"), tr("A folder written by \"fiscora export --gdpdu\", or a "
                                                              "hand-over archive written by \"fiscora package\"."));
        parser.addPositionalArgument(option("BACKUP"), tr("The backup file the export was made from."),
                                     tr("[BACKUP]"));
        break;
    case Command::Package:
        parser.setApplicationDescription(
                tr("Exports the backup file BACKUP for GDPdU, verifies the export and writes the archive "
                   "TARGET/CR#<serial number>_<period>.zip for hand-over: the export folder with the protocol's "
                   "figures protokoll.json beside the table, a manifest with the SHA-256 of every file, and a "
                   "protocol as PDF, which states the SHA-256 values too. No archive is written when the MD5 "
                   "proof fails or the verification finds more than the damaged records the export reported; "
                   "the protocol states those.")
                + QLatin1Char('\n') + dates);
        parser.addPositionalArgument(option("BACKUP"), backupArgument);
        parser.addPositionalArgument(option("TARGET"), tr("The folder for the archive."));
        break;
    case Command::Check:
        parser.setApplicationDescription(
                tr("Runs on the journal in SOURCE the tests that a tax audit of a cash business runs: gaps in "
                   "the numbering of lines and receipts, days and months without records, the chi-square tests "
                   "of the digits of the daily takings, days in whole euros, Benford's law on the item amounts, "
                   "the share of cash over time, payments outside the usual hours and cancellations by operator. "
                   "Each finding comes with its figure, its threshold and what an auditor would conclude. Exits "
                   "with 1 when a test flags the journal.")
                + QLatin1Char('\n') + dates);
        parser.addPositionalArgument(option("SOURCE"), tr("A backup file written by \"fiscora read\", or an export folder."));
        break;
    }
    parser.addOptions(commandOptions(syntax.kind));
}

CommandLine::Outcome CommandLine::takeOptions(const QCommandLineParser &parser)
{
    m_command.json = parser.isSet(option("json"));
    m_command.quiet = parser.isSet(option("quiet"));
    m_command.verbose = parser.isSet(option("verbose"));
    m_command.overwrite = writes(m_command.kind) && parser.isSet(option("overwrite"));
    m_command.gdpduExport = m_command.kind == Command::Package;
    if (m_command.kind == Command::Export && takeExportOptions(parser) != Run)
        return UsageError;
    if (m_command.kind == Command::Check) {
        m_command.takingsType = parser.value(option("takings"));
        m_command.reportFile = parser.value(option("report"));
    }
    return takesDates(m_command.kind) ? takeDates(parser) : Run;
}

CommandLine::Outcome CommandLine::takeExportOptions(const QCommandLineParser &parser)
{
    m_command.gdpduExport = parser.isSet(option("gdpdu"));
    m_command.indexInfoLine = parser.isSet(option("index-info"));
    m_command.rawDataOnly = parser.isSet(option("raw"));
    m_command.skipLineCheck = parser.isSet(option("skip-line-check"));
    if (m_command.rawDataOnly) {
        if (m_command.gdpduExport)
            m_notices << tr("--gdpdu has no effect with --raw: bare records have no header to name the export "
                            "folder after, so the table file goes straight into TARGET.");
        if (m_command.indexInfoLine)
            m_notices << tr("--index-info has no effect with --raw: bare records have no header.");
        return Run;
    }
    if (m_command.gdpduExport && m_command.indexInfoLine)
        return fail(tr("--index-info cannot go with --gdpdu: index.xml does not declare the INDEX_INFO line, so "
                       "gobd.csv would start with a row that is no record."));
    return Run;
}

CommandLine::Outcome CommandLine::takeDates(const QCommandLineParser &parser)
{
    const QString from = parser.value(option("from"));
    const QString to = parser.value(option("to"));
    for (const char *name : {"from", "to"}) {
        if (parser.isSet(option(name)) && parser.value(option(name)).isEmpty())
            return fail(tr("An empty date for --%1: write 2019-03, 2019-03-01 or 01.03.2019.").arg(option(name)));
    }
    m_command.fromDate = parseMonth(from);
    m_command.toDate = parseMonth(to);
    const QString invalidDate = tr("Invalid date \"%1\" for --%2: write 2019-03, 2019-03-01 or 01.03.2019.");
    if (!from.isEmpty() && !m_command.fromDate.isValid())
        return fail(invalidDate.arg(from, option("from")));
    if (!to.isEmpty() && !m_command.toDate.isValid())
        return fail(invalidDate.arg(to, option("to")));
    // The library would read nothing at all for these, without saying why.
    if (m_command.toDate.isValid() && !m_command.fromDate.isValid())
        return fail(tr("--to %1 needs --from: a span starts with its first month.").arg(to));
    if (m_command.toDate.isValid() && m_command.toDate < m_command.fromDate)
        return fail(tr("--to %1 lies before --from %2.").arg(to, from));
    return Run;
}

CommandLine::Outcome CommandLine::refuseLanguage(const QString &language)
{
    return fail(tr("There is no translation into \"%1\".").arg(language));
}

QString CommandLine::errorText() const
{
    return QStringLiteral("%1: %2\n").arg(QCoreApplication::applicationName(), m_errorText)
        + tr("\"%1 --help\" shows how to use it.").arg(QCoreApplication::applicationName()) + QLatin1Char('\n');
}

CommandLine::Outcome CommandLine::fail(const QString &errorText)
{
    m_errorText = errorText;
    return UsageError;
}

} // namespace fiscora::cli
