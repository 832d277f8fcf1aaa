#include "jobthread.h"

#include "cardsearch.h"
#include "checkcommand.h"
#include "exportcommand.h"
#include "infocommand.h"
#include "jobrunner.h"
#include "listcommand.h"
#include "packagecommand.h"
#include "readcommand.h"
#include "stagedexport.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>

namespace fiscora::desktop {

namespace {

// The files a command would replace, found before it runs, so that the window can ask first
// instead of letting the command refuse.
QStringList filesInTheWay(const app::Command &command)
{
    QStringList paths;
    switch (command.kind) {
    case app::Command::Read: {
        const app::CardSearch search(command.source, command.fromDate, command.toDate, command.target);
        for (const CardListing::Register &cashRegister : search.registers()) {
            if (cashRegister.error.isEmpty())
                paths << QDir(command.target).filePath(cashRegister.backupFileName);
        }
        break;
    }
    case app::Command::Export:
        paths << QDir(command.target).filePath(app::StagedExport::plannedName(command));
        break;
    case app::Command::Package:
        paths << app::PackageCommand::plannedArchive(command);
        break;
    case app::Command::Check:
        if (!command.reportFile.isEmpty())
            paths << command.reportFile;
        break;
    case app::Command::Info:
    case app::Command::List:
    case app::Command::Verify:
        break;
    }
    QStringList existing;
    for (const QString &path : qAsConst(paths)) {
        if (QFileInfo::exists(path))
            existing << QDir::toNativeSeparators(path);
    }
    return existing;
}

// The job's hints speak of the window's controls.
app::Command ofTheWindow(app::Command command)
{
    command.fromWindow = true;
    return command;
}

void registerTypes()
{
    qRegisterMetaType<app::BackupInfo>();
    qRegisterMetaType<app::PeriodFindings>();
    qRegisterMetaType<app::CheckReport>();
    qRegisterMetaType<QList<CardListing::Register>>();
}

} // namespace

JobThread::JobThread(const app::Command &command, QObject *parent)
    : QThread(parent)
    , m_command(ofTheWindow(command))
{
    registerTypes();
}

JobThread::~JobThread()
{
    stop();
    wait();
}

void JobThread::stop()
{
    QMutexLocker locker(&m_mutex);
    m_stopRequested = true;
    // The runner is not thread-safe: the stop is carried out in its own thread, where it waits
    // for the library's worker in an event loop.
    if (m_runner)
        QMetaObject::invokeMethod(m_runner, [runner = m_runner] { runner->stop(); }, Qt::QueuedConnection);
}

void JobThread::run()
{
    if (!m_command.overwrite) {
        m_inTheWay = filesInTheWay(m_command);
        if (!m_inTheWay.isEmpty())
            return;
    }
    app::JobRunner runner(*this);
    setRunner(&runner);
    m_exitCode = runCommand(runner);
    setRunner(nullptr);
}

// A stop asked for before the runner was there is passed on to it at once.
void JobThread::setRunner(app::JobRunner *runner)
{
    QMutexLocker locker(&m_mutex);
    m_runner = runner;
    if (m_runner && m_stopRequested)
        m_runner->stop();
}

int JobThread::runCommand(app::JobRunner &runner)
{
    switch (m_command.kind) {
    case app::Command::Read:
        return app::ReadCommand(*this, runner).run(m_command);
    case app::Command::Export:
        return app::ExportCommand(*this, runner).run(m_command);
    case app::Command::Package: {
        app::PackageCommand package(*this, runner);
        const int exitCode = package.run(m_command);
        m_handover = package.handover();
        return exitCode;
    }
    case app::Command::Info:
        return app::InfoCommand(*this, runner).run(m_command);
    case app::Command::List:
        return app::ListCommand(*this).run(m_command);
    case app::Command::Check:
        return app::CheckCommand(*this, runner).run(m_command);
    case app::Command::Verify:
        break;
    }
    return app::ExitUsage;
}

void JobThread::progressStarted(int startValue, int endValue)
{
    Q_EMIT progressBegan(m_subject.serialNumber, startValue, endValue);
}

void JobThread::progress(int value)
{
    Q_EMIT progressed(m_subject.serialNumber, value);
}

void JobThread::message(const QString &text, bool isError, int count)
{
    Q_EMIT messageReported(m_subject.serialNumber, text, isError, count);
}

void JobThread::error(const QString &error, const QString &hint)
{
    Q_EMIT errorReported(m_subject.serialNumber, error, hint);
}

void JobThread::finished(const QString &file)
{
    Q_EMIT fileWritten(m_subject.serialNumber, file);
}

void JobThread::fileSaved(const QString &file)
{
    Q_EMIT fileWritten(m_subject.serialNumber, file);
}

void JobThread::interrupted()
{
    Q_EMIT stopping();
}

void JobThread::backupInfo(const app::BackupInfo &info, const app::PeriodFindings &findings)
{
    Q_EMIT backupRead(info, findings);
}

void JobThread::cardListing(const QString &source, const QList<CardListing::Register> &registers)
{
    Q_EMIT cardListed(source, registers);
}

void JobThread::check(const app::CheckReport &report)
{
    Q_EMIT checked(report);
}

// The window verifies no export on its own; a package verifies its export itself and reports
// what it found as messages.
void JobThread::verification(const app::Verification &)
{
}

// The window learns of the end from QThread::finished, which comes after every signal of the job.
void JobThread::done(int)
{
}

} // namespace fiscora::desktop
