#include "backupinfo.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace fiscora::app {

namespace {

constexpr int PieceSize = 1 << 20;

} // namespace

BackupInfo::HeaderResult BackupInfo::readHeader(const QString &path)
{
    m_file = path;
    QFile file(path);
    // A FIFO or a device has no header to read, and opening a FIFO waits for a writer.
    const QFileInfo entry(path);
    if (entry.isDir())
        return unreadable(tr("it is a folder"));
    if (!entry.isFile())
        return unreadable(tr("it is not a regular file"));
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    m_bodyOffset = m_analyser.readCompressIndex(file.read(LongestBackupHeader));
    if (file.error() != QFile::NoError)
        return unreadable(file.errorString());
    m_bodySize = file.size() - m_bodyOffset;
    if (m_bodyOffset == 0) {
        m_errorText = tr("%1 is not a backup file: it does not start with a backup header.").arg(path);
        return NoHeader;
    }
    return HeaderRead;
}

bool BackupInfo::hashData(const std::atomic_bool *stop)
{
    QFile file(m_file);
    QCryptographicHash md5(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(m_bodyOffset)) {
        unreadable(file.errorString());
        return false;
    }
    // The data is hashed as it is read, so a backup of any size needs little memory.
    QByteArray piece(PieceSize, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = file.read(piece.data(), PieceSize)) > 0) {
        if (stop && stop->load(std::memory_order_relaxed))
            return false;
        md5.addData(piece.constData(), int(read));
    }
    if (read < 0) {
        unreadable(file.errorString());
        return false;
    }
    m_bodyMd5 = md5.result();
    return true;
}

BackupInfo::HeaderResult BackupInfo::unreadable(const QString &reason)
{
    m_errorText = tr("Cannot read the backup file %1: %2").arg(m_file, reason);
    return Unreadable;
}

int BackupInfo::headerVersion() const
{
    const QByteArray version = m_analyser.getHeaderVersion();
    return version.isEmpty() ? 0 : static_cast<quint8>(version.at(0));
}

QString BackupInfo::serialNumber() const
{
    return headerFieldText(m_analyser.getCRSerialnumber());
}

QString BackupInfo::firmwareVersion() const
{
    return headerFieldText(m_analyser.getCRFirmwareVersion());
}

QString BackupInfo::sourceText() const
{
    switch (m_analyser.getCurrentIndexSource()) {
    case IndexFileAnalyser::SOURCE_SD:
        return tr("SD card or backup folder");
    case IndexFileAnalyser::SOURCE_SERIAL:
        return tr("the register, over a serial line");
    case IndexFileAnalyser::SOURCE_LAN:
        return tr("the register, over the network");
    case IndexFileAnalyser::SOURCE_UNKNOWN:
        break;
    }
    return tr("unknown");
}

QString BackupInfo::statusText(IndexFileAnalyser::IndexStatus status)
{
    switch (status) {
    case IndexFileAnalyser::INDEX_OK:
        return tr("OK");
    case IndexFileAnalyser::INDEX_ERROR_FILE_MISSING:
        return tr("data file missing");
    case IndexFileAnalyser::INDEX_ERROR_FILE_EXIST:
        return tr("data file not in the index");
    case IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING:
        return tr("no index file");
    }
    // A damaged backup header can hold any status byte.
    return tr("unknown status %1").arg(int(status));
}

} // namespace fiscora::app
