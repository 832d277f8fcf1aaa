#include "commandline.h"

#include <QCommandLineParser>

namespace fiscora::cli {

//! A command's name and the names of its arguments.
struct CommandSyntax
{
    const char *name;
    Command::Kind kind;
    QStringList arguments;
};

namespace {

const QList<CommandSyntax> &commandSyntaxes()
{
    static const QList<CommandSyntax> syntaxes = {
        {"read", Command::Read, {QStringLiteral("SOURCE"), QStringLiteral("TARGET")}},
        {"export", Command::Export, {QStringLiteral("BACKUP"), QStringLiteral("TARGET")}},
        {"info", Command::Info, {QStringLiteral("BACKUP")}},
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

} // namespace

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
    m_helpText = parser.helpText();
    if (parser.isSet(option("help")))
        return ShowHelp;
    if (parser.isSet(option("version")))
        return ShowVersion;
    if (!syntax)
        return fail(tr("No command given."));
    const Outcome outcome = takeArguments(parser.positionalArguments(), *syntax);
    return outcome == Run ? takeOptions(parser) : outcome;
}

CommandLine::Outcome CommandLine::takeArguments(const QStringList &positional, const CommandSyntax &syntax)
{
    // The first positional argument is the command's name.
    const int expected = syntax.arguments.size() + 1;
    if (positional.size() < expected)
        return fail(tr("Missing argument %1.").arg(syntax.arguments.at(positional.size() - 1)));
    if (positional.size() > expected)
        return fail(tr("Unexpected argument \"%1\".").arg(positional.at(expected)));
    m_command.source = positional.at(1);
    m_command.target = positional.value(2);
    return Run;
}

// Options may stand before the command. A parser that knows the options of every command tells
// their values from the command's name, whatever else may be wrong with the command line.
void CommandLine::parseLeniently(QCommandLineParser &parser, const QStringList &arguments) const
{
    describeApplication(parser);
    for (const CommandSyntax &syntax : commandSyntaxes())
        describeCommand(parser, syntax);
    parser.parse(arguments);
}

void CommandLine::describeApplication(QCommandLineParser &parser) const
{
    parser.setApplicationDescription(
            tr("Reads the journal of a cash register from its SD card into backup files and exports a "
               "backup for a tax audit under GoBD/GDPdU.\n\n"
               "Commands:\n"
               "  read SOURCE TARGET    back up every register on the card SOURCE into TARGET\n"
               "  export BACKUP TARGET  decrypt BACKUP into a table file below TARGET\n"
               "  info BACKUP           show the header and the month index of BACKUP\n\n"
               "\"fiscora COMMAND --help\" lists the options of a command.\n"
               "Exit codes: 0 done, 1 an error or a message flagged as one was reported (a damaged line, "
               "records that could not be read, a missing month, an invalid hash value), 2 wrong usage, 130 "
               "stopped by Ctrl+C."));
    // Qt's own help option would offer --help-all, which lists nothing more here.
    parser.addOptions({
        {{QStringLiteral("h"), option("help")}, tr("Show this help.")},
        {{QStringLiteral("v"), option("version")}, tr("Show the version of the library.")},
        {option("json"), tr("Print one JSON object per event, for scripts.")},
        {option("verbose"), tr("Show the library's debug lines.")},
        {option("lang"), tr("Use the texts of <language>, such as de or en."), tr("language")},
    });
    parser.addPositionalArgument(option("command"), tr("read, export or info"), tr("COMMAND [ARGUMENTS]"));
}

void CommandLine::describeCommand(QCommandLineParser &parser, const CommandSyntax &syntax) const
{
    parser.clearPositionalArguments();
    parser.addPositionalArgument(QLatin1String(syntax.name), QString());
    const QString backupArgument = tr("A backup file written by \"fiscora read\".");
    switch (syntax.kind) {
    case Command::Read:
        parser.setApplicationDescription(
                tr("Backs up every cash register found on the card SOURCE (the card, its maker folder or a "
                   "register's folder) into one backup file per register in the folder TARGET.\n"
                   "A date is written 2019-03, 2019-03-01 or 01.03.2019 and stands for its month. Without "
                   "dates every month is read; --from alone reads that one month."));
        parser.addPositionalArgument(option("SOURCE"), tr("The SD card or a copy of it."));
        parser.addPositionalArgument(option("TARGET"), tr("The folder for the backup files."));
        parser.addOptions({
            {option("from"), tr("Read from the month of <date> on."), tr("date")},
            {option("to"), tr("Read up to the month of <date>."), tr("date")},
        });
        break;
    case Command::Export:
        parser.setApplicationDescription(
                tr("Decrypts the backup file BACKUP into a table file below the folder TARGET, checks every "
                   "line and proves with the backup's MD5 value that nothing was altered."));
        parser.addPositionalArgument(option("BACKUP"), backupArgument);
        parser.addPositionalArgument(option("TARGET"), tr("The folder for the export."));
        parser.addOptions({
            {option("gdpdu"), tr("Write gobd.csv with index.xml and its DTD into TARGET/serial number/period/.")},
            {option("index-info"), tr("Start the table file with the INDEX_INFO line of the backup header.")},
            {option("raw"), tr("BACKUP holds bare records without a header: report their hash, compare none.")},
            {option("skip-line-check"), tr("Write the lines as they decrypt, without checking or repairing them.")},
        });
        break;
    case Command::Info:
        parser.setApplicationDescription(
                tr("Shows what the header of the backup file BACKUP says, without decrypting it, and whether "
                   "its data still matches the MD5 value in the header."));
        parser.addPositionalArgument(option("BACKUP"), backupArgument);
        break;
    }
}

CommandLine::Outcome CommandLine::takeOptions(const QCommandLineParser &parser)
{
    m_command.json = parser.isSet(option("json"));
    m_command.verbose = parser.isSet(option("verbose"));
    if (m_command.kind == Command::Export) {
        m_command.gdpduExport = parser.isSet(option("gdpdu"));
        m_command.indexInfoLine = parser.isSet(option("index-info"));
        m_command.rawDataOnly = parser.isSet(option("raw"));
        m_command.skipLineCheck = parser.isSet(option("skip-line-check"));
    }
    if (m_command.kind != Command::Read)
        return Run;
    return takeDates(parser.value(option("from")), parser.value(option("to")));
}

CommandLine::Outcome CommandLine::takeDates(const QString &from, const QString &to)
{
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
