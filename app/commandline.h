#ifndef FISCORA_CLI_COMMANDLINE_H
#define FISCORA_CLI_COMMANDLINE_H

#include "command.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>

class QCommandLineOption;
class QCommandLineParser;

namespace fiscora::cli {

using app::Command;

struct CommandSyntax;

/*!
 * The command line of the fiscora application: a command ("read", "export", "info", "list",
 * "verify" or "package") with its arguments and options, checked before anything is run.
 *
 * \code
 * CommandLine commandLine;
 * switch (commandLine.parse(QCoreApplication::arguments())) {
 * case CommandLine::Run:         return run(commandLine.command());
 * case CommandLine::ShowHelp:    print(commandLine.helpText()); return 0;
 * case CommandLine::ShowVersion: print(commandLine.versionText()); return 0;
 * case CommandLine::UsageError:  printError(commandLine.errorText()); return 2;
 * }
 * \endcode
 */
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::cli::CommandLine)

public:
    enum Outcome { Run, ShowHelp, ShowVersion, UsageError };

    /*!
     * The value of --lang in \a arguments, or an empty text. It is looked for ahead of parse(),
     * because the help texts of the options are translated when they are built.
     */
    static QString requestedLanguage(const QStringList &arguments);

    /*!
     * A date as people write it (2019-03, 2019-03-01 or 01.03.2019), turned into the first day
     * of its month: the library reads whole months. Invalid when \a text is none of these.
     */
    static QDate parseMonth(const QString &text);

    //! Reads \a arguments, the program name first.
    Outcome parse(const QStringList &arguments);

    //! A usage error for --lang \a language, which has no translation.
    Outcome refuseLanguage(const QString &language);

    //! The command to run, after parse() returned Run.
    Command command() const { return m_command; }
    //! The help of the application, or of the command named on the command line.
    QString helpText() const { return m_helpText; }
    //! The application's name and the library's version.
    QString versionText() const;
    //! What is wrong with the command line, and where to look for help; after a UsageError.
    QString errorText() const;
    //! Remarks on options that have no effect in the command to run.
    QStringList notices() const { return m_notices; }

private:
    static QList<QCommandLineOption> commandOptions(Command::Kind kind);
    void describeApplication(QCommandLineParser &parser) const;
    void parseLeniently(QCommandLineParser &parser, const QStringList &arguments) const;
    void describeCommand(QCommandLineParser &parser, const CommandSyntax &syntax) const;
    Outcome takeArguments(const QStringList &positional, const CommandSyntax &syntax);
    Outcome takeOptions(const QCommandLineParser &parser);
    Outcome takeExportOptions(const QCommandLineParser &parser);
    Outcome takeDates(const QCommandLineParser &parser);
    QString applicationHelp(const QCommandLineParser &parser) const;
    Outcome fail(const QString &errorText);

    Command m_command;
    QString m_helpText;
    QString m_errorText;
    QStringList m_notices;
};

} // namespace fiscora::cli

#endif // FISCORA_CLI_COMMANDLINE_H
