#include "commandline.h"
#include "infocommand.h"
#include "jobrunner.h"
#include "reporter.h"
#include "translation.h"

#include <fiscora/fiscora.h>

#include <QCoreApplication>
#include <QLoggingCategory>

using namespace fiscora::cli;

namespace {

// Without --verbose the library's own lines would only repeat what its signals report.
void configureLibraryLogging(bool verbose)
{
    QLoggingCategory::setFilterRules(QLatin1String(verbose ? "sdcardreader.debug=true\n"
                                                             "ktlcypher.debug=true\n"
                                                             "indexfileanalyser.debug=true"
                                                           : "sdcardreader=false\n"
                                                             "ktlcypher=false\n"
                                                             "indexfileanalyser=false"));
}

int run(const Command &command)
{
    configureLibraryLogging(command.verbose);
    const std::unique_ptr<Reporter> reporter = Reporter::create(command.json);
    const int exitCode = command.kind == Command::Info ? InfoCommand(*reporter).run(command.source)
                                                       : JobRunner(*reporter).run(command);
    reporter->done(exitCode);
    return exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fiscora"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(getFiscoraLibVersion()));

    const QStringList arguments = QCoreApplication::arguments();
    const QString language = CommandLine::requestedLanguage(arguments);
    CommandLine commandLine;
    switch (installTranslation(language) ? commandLine.parse(arguments) : commandLine.refuseLanguage(language)) {
    case CommandLine::Run:
        return run(commandLine.command());
    case CommandLine::ShowHelp:
        writeText(stdout, commandLine.helpText());
        return ExitDone;
    case CommandLine::ShowVersion:
        writeText(stdout, commandLine.versionText() + QLatin1Char('\n'));
        return ExitDone;
    case CommandLine::UsageError:
        writeText(stderr, commandLine.errorText());
        return ExitUsage;
    }
    return ExitUsage;
}
