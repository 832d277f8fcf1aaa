#include "checkcommand.h"
#include "command.h"
#include "commandline.h"
#include "exportcommand.h"
#include "infocommand.h"
#include "interruptwatcher.h"
#include "jobrunner.h"
#include "listcommand.h"
#include "output.h"
#include "packagecommand.h"
#include "readcommand.h"
#include "reporter.h"
#include "translation.h"
#include "verifycommand.h"

#include <fiscora/fiscora.h>

#include <QGuiApplication>
#include <QLoggingCategory>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace fiscora;
using namespace fiscora::app;
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

int runCommand(const Command &command, Reporter &reporter, JobRunner &runner)
{
    switch (command.kind) {
    case Command::Read:
        return ReadCommand(reporter, runner).run(command);
    case Command::Export:
        return ExportCommand(reporter, runner).run(command);
    case Command::Info:
        return InfoCommand(reporter, runner).run(command);
    case Command::List:
        return ListCommand(reporter).run(command);
    case Command::Verify:
        return VerifyCommand(reporter, runner).run(command);
    case Command::Package:
        return PackageCommand(reporter, runner).run(command);
    case Command::Check:
        return CheckCommand(reporter, runner).run(command);
    }
    return ExitUsage;
}

int run(const Command &command, const QStringList &notices)
{
    configureLibraryLogging(command.verbose);
    const std::unique_ptr<Reporter> reporter = createReporter(command);
    for (const QString &notice : notices)
        reporter->message(notice, false, 0);
    JobRunner runner(*reporter);
    InterruptWatcher watcher;
    QObject::connect(&watcher, &InterruptWatcher::interrupted, &runner, &JobRunner::stop);
    const int exitCode = runCommand(command, *reporter, runner);
    reporter->done(exitCode);
    return exitCode;
}

// The protocol of a hand-over and the charts of a check are laid out with the system's fonts,
// which takes a QGuiApplication; it needs no display. The other commands do with less.
std::unique_ptr<QCoreApplication> createApplication(int &argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "package") == 0 || std::strncmp(argv[i], "--report", 8) == 0) {
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            // Without a desktop session Qt remarks that XDG_RUNTIME_DIR is not set; the job has no
            // use for that folder, so the remark would only puzzle.
            const QtMessageHandler handler = qInstallMessageHandler(
                    [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                        if (!message.contains(QLatin1String("XDG_RUNTIME_DIR")))
                            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
                    });
            auto application = std::make_unique<QGuiApplication>(argc, argv);
            qInstallMessageHandler(handler);
            return application;
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    // A reader of the output that goes away (fiscora read ... | head -1) must not end the job
    // half way: the write fails instead, and the job goes on to its end.
    std::signal(SIGPIPE, SIG_IGN);
    // A file size limit makes a write fail with its reason instead of ending the process, which
    // would leave the job's temporary files behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::unique_ptr<QCoreApplication> application = createApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fiscora"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(getFiscoraLibVersion()));

    const QStringList arguments = QCoreApplication::arguments();
    const QString language = CommandLine::requestedLanguage(arguments);
    CommandLine commandLine;
    switch (installTranslation(language) ? commandLine.parse(arguments) : commandLine.refuseLanguage(language)) {
    case CommandLine::Run:
        return run(commandLine.command(), commandLine.notices());
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
