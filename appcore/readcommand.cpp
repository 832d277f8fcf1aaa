#include "readcommand.h"

#include "cardsearch.h"
#include "command.h"
#include "jobpaths.h"
#include "jobrunner.h"
#include "reporter.h"

#include <QDir>
#include <QFileInfo>

namespace fiscora::app {

ReadCommand::ReadCommand(Reporter &reporter, JobRunner &runner)
    : m_reporter(reporter)
    , m_runner(runner)
{
}

int ReadCommand::run(const Command &command)
{
    if (!JobPaths::sourceExists(m_reporter, command.source) || !targetOffTheCard(command)
        || !JobPaths::makeTarget(m_reporter, command.target))
        return ExitFailed;
    const CardSearch search(command.source, command.fromDate, command.toDate, command.target);
    m_reporter.setSubject({QString(), command.source});
    search.reportPassedOver(m_reporter);
    const QList<CardListing::Register> &registers = search.registers();
    if (registers.isEmpty() && !search.discoveredNone()) {
        CardSearch::reportNoRegister(m_reporter, command.source);
        return ExitFailed;
    }
    if (registers.isEmpty()) {
        // The reader says in its own words that the path leads to no register.
        m_runner.read(command.source, command.target, command.fromDate, command.toDate);
        return ExitFailed;
    }
    if (!mayWriteBackups(registers, command))
        return ExitFailed;
    bool allWritten = true;
    for (const CardListing::Register &cashRegister : registers) {
        allWritten = backUp(cashRegister, command) && allWritten;
        if (m_runner.stopRequested())
            return m_runner.stoppedExitCode();
    }
    return allWritten ? ExitDone : ExitFailed;
}

// The card is only read: a backup on it would take the room its register writes into.
bool ReadCommand::targetOffTheCard(const Command &command)
{
    const QString card = QFileInfo(command.source).canonicalFilePath();
    const QString target = QDir::cleanPath(QFileInfo(command.target).absoluteFilePath());
    if (target != card && !target.startsWith(card + QLatin1Char('/')))
        return true;
    m_reporter.error(tr("The target %1 lies on the card %2, which is only read.").arg(command.target, command.source),
                     tr("Choose a target folder outside the card."));
    return false;
}

bool ReadCommand::mayWriteBackups(const QList<CardListing::Register> &registers, const Command &command)
{
    bool free = true;
    for (const CardListing::Register &cashRegister : registers) {
        m_reporter.setSubject({cashRegister.serialNumber, cashRegister.folder});
        const QString backup = command.target + QLatin1Char('/') + cashRegister.backupFileName;
        free = (!cashRegister.error.isEmpty() || JobPaths::mayWrite(m_reporter, backup, command.overwrite)) && free;
    }
    return free;
}

bool ReadCommand::backUp(const CardListing::Register &cashRegister, const Command &command)
{
    m_reporter.setSubject({cashRegister.serialNumber, cashRegister.folder});
    // The listing found what the read would fail with, in the reader's words.
    if (!cashRegister.error.isEmpty()) {
        m_reporter.error(cashRegister.error, cashRegister.hint);
        return false;
    }
    const JobOutcome outcome = m_runner.read(cashRegister.folder, command.target, command.fromDate, command.toDate);
    for (const QString &file : outcome.files)
        m_reporter.finished(file);
    return !outcome.failureReported && !outcome.files.isEmpty();
}

} // namespace fiscora::app
