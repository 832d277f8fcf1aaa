#include "infocommand.h"

#include "commandline.h"
#include "reporter.h"

#include <QCryptographicHash>
#include <QFile>

namespace fiscora::cli {

InfoCommand::InfoCommand(Reporter &reporter)
    : m_reporter(reporter)
{
}

int InfoCommand::run(const QString &backupFile)
{
    QFile file(backupFile);
    if (!file.open(QIODevice::ReadOnly))
        return readFailed(file);
    BackupInfo info;
    info.file = backupFile;
    const int bodyOffset = info.analyser.readCompressIndex(file.read(LongestBackupHeader));
    if (file.error() != QFile::NoError)
        return readFailed(file);
    if (bodyOffset == 0) {
        m_reporter.error(tr("%1 is not a backup file: it does not start with a backup header.").arg(backupFile),
                         tr("Choose a backup file written by \"fiscora read\"."));
        return ExitFailed;
    }
    // The data is hashed as it is read, so a backup of any size needs little memory.
    QCryptographicHash md5(QCryptographicHash::Md5);
    if (!file.seek(bodyOffset) || !md5.addData(&file))
        return readFailed(file);
    info.bodySize = file.size() - bodyOffset;
    info.bodyMd5 = md5.result();
    m_reporter.backupInfo(info);
    return info.md5Matches() ? ExitDone : ExitFailed;
}

int InfoCommand::readFailed(const QFile &file)
{
    m_reporter.error(tr("Cannot read the backup file %1: %2").arg(file.fileName(), file.errorString()),
                     tr("Check the path and your read permission."));
    return ExitFailed;
}

} // namespace fiscora::cli
