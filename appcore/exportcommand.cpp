#include "exportcommand.h"

#include "backupinfo.h"
#include "command.h"
#include "jobpaths.h"
#include "jobrunner.h"
#include "reporter.h"
#include "stagedexport.h"

#include <QFileInfo>

namespace fiscora::app {

ExportCommand::ExportCommand(Reporter &reporter, JobRunner &runner)
    : m_reporter(reporter)
    , m_runner(runner)
{
}

int ExportCommand::run(const Command &command)
{
    if (!checkBackup(m_reporter, command) || !JobPaths::makeTarget(m_reporter, command.target))
        return ExitFailed;
    StagedExport staged(m_reporter, m_runner, command);
    if (!staged.mayPlace())
        return ExitFailed;
    const bool placed = staged.run() && staged.place();
    if (m_runner.stopRequested())
        return m_runner.stoppedExitCode();
    return placed && !staged.flagged() ? ExitDone : ExitFailed;
}

bool ExportCommand::checkBackup(Reporter &reporter, const Command &command)
{
    reporter.setSubject({QString(), command.source});
    if (!JobPaths::sourceExists(reporter, command.source))
        return false;
    BackupInfo info;
    switch (info.readHeader(command.source)) {
    case BackupInfo::HeaderRead:
        reporter.setSubject({info.serialNumber(), command.source});
        return true;
    case BackupInfo::NoHeader:
        // A file of bare records has no header by nature.
        if (command.rawDataOnly)
            return true;
        if (command.fromWindow)
            reporter.error(info.errorText(), tr("Choose a backup file that a read of the card wrote, named like "
                                                "Backup_CR#12345678_complete.enc."));
        else if (command.kind == Command::Export)
            reporter.error(info.errorText(), tr("Choose a backup file written by \"fiscora read\", or give --raw to "
                                                "export a file of bare records."));
        else
            reporter.error(info.errorText(), tr("Choose a backup file written by \"fiscora read\"."));
        return false;
    case BackupInfo::Unreadable:
        break;
    }
    reporter.error(info.errorText(), tr("Check the path and your read permission."));
    return false;
}

} // namespace fiscora::app
