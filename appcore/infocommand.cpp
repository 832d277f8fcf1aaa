#include "infocommand.h"

#include "backupinfo.h"
#include "command.h"
#include "decryptedfacts.h"
#include "jobpaths.h"
#include "periodfindings.h"
#include "reporter.h"

namespace fiscora::app {

InfoCommand::InfoCommand(Reporter &reporter, JobRunner &runner)
    : m_reporter(reporter)
    , m_runner(runner)
{
}

int InfoCommand::run(const Command &request)
{
    const QString &backupFile = request.source;
    m_reporter.setSubject({QString(), backupFile});
    if (!JobPaths::sourceExists(m_reporter, backupFile))
        return ExitFailed;
    BackupInfo info;
    switch (info.readHeader(backupFile)) {
    case BackupInfo::HeaderRead:
        break;
    case BackupInfo::NoHeader:
        m_reporter.error(info.errorText(), request.fromWindow
                                               ? tr("Choose a backup file that a read of the card wrote, named like "
                                                    "Backup_CR#12345678_complete.enc.")
                                               : tr("Choose a backup file written by \"fiscora read\"."));
        return ExitFailed;
    case BackupInfo::Unreadable:
        m_reporter.error(info.errorText(), tr("Check the path and your read permission."));
        return ExitFailed;
    }
    m_reporter.setSubject({info.serialNumber(), backupFile});
    // The records are counted as they are decrypted; no table is written.
    Command whole;
    whole.source = backupFile;
    DecryptedFacts decrypted(m_reporter, m_runner, whole);
    const bool read = decrypted.run();
    if (!m_runner.stopRequested() && !hashed(info, decrypted))
        return ExitFailed;
    if (m_runner.stopRequested())
        return m_runner.stoppedExitCode();
    m_reporter.backupInfo(info, decrypted.findings() ? *decrypted.findings() : PeriodFindings());
    return read && info.md5Matches() && !decrypted.flagged() ? ExitDone : ExitFailed;
}

// The export hashes the data as it decrypts; only a value that does not match, or an export that
// did not get that far, needs the data read once more to show what it is.
bool InfoCommand::hashed(BackupInfo &info, const DecryptedFacts &decrypted)
{
    if (decrypted.md5Holds()) {
        info.takeProvenMd5();
        return true;
    }
    bool hashed = false;
    m_runner.runInThread([&] { hashed = info.hashData(&m_runner.stopFlag()); });
    if (!hashed && !m_runner.stopRequested())
        m_reporter.error(info.errorText(), tr("Check the path and your read permission."));
    return hashed || m_runner.stopRequested();
}

} // namespace fiscora::app
