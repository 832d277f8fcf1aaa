#include "backuprun_p.h"

#include "atomicfile_p.h"
#include "cardlayout_p.h"
#include "concurrentmd5_p.h"
#include "helperclass.h"
#include "indexfileanalyser.h"
#include "jobreport_p.h"
#include "logging_p.h"
#include "reading_p.h"
#include "writeall_p.h"

#include <QStorageInfo>

namespace fiscora {

namespace {

constexpr qint64 MovePieceSize = 1024 * 1024;

QString messageMonth(const QDate &date)
{
    return date.toString(QStringLiteral("MM/yyyy"));
}

// The digest costs about as much as the write, so it runs beside it; both only read the data.
bool appendToBackup(AtomicFile &backup, ConcurrentMd5 &md5, const QByteArray &data)
{
    md5.addData(data.constData(), data.size());
    const bool written = backup.write(data.constData(), data.size());
    md5.waitForSpans(md5.spans());
    return written;
}

// Moves the size bytes at from to to, in pieces: from the end when they move up, from the start
// when they move down, so that no piece overwrites one still to be moved.
bool moveBytes(QFile &file, qint64 from, qint64 to, qint64 size)
{
    QByteArray piece;
    for (qint64 done = 0; done < size;) {
        const qint64 length = qMin(MovePieceSize, size - done);
        const qint64 offset = to > from ? size - done - length : done;
        piece.resize(int(length));
        if (!file.seek(from + offset) || file.read(piece.data(), length) != length || !file.seek(to + offset)
            || !writeAll(file, piece.constData(), length))
            return false;
        done += length;
    }
    return to > from || file.resize(to + size);
}

} // namespace

BackupRun::BackupRun(BackupReport &report, const std::atomic_bool &stopRequested, const QString &folder,
                     const QString &targetPath, const QDate &fromDate, const QDate &toDate)
    : m_report(report)
    , m_stopRequested(stopRequested)
    , m_folder(folder)
    , m_fromDate(fromDate)
    , m_toDate(toDate)
    , m_backupPath(targetPath + QLatin1Char('/') + CardLayout::backupFileName(folder, fromDate, toDate))
{
}

BackupRun::Result BackupRun::run(const QSet<QString> &written)
{
    return select(written) ? write() : Failed;
}

bool BackupRun::select(const QSet<QString> &written)
{
    const QStorageInfo storage(m_folder);
    if (!storage.isValid()) {
        qCDebug(lcSdCardReader) << "Error: no valid sd card folder";
        m_report.fail(tr("SD card folder is not valid."), tr("Please check your path to the encrypted GoBD dataset."));
        return false;
    }
    qCDebug(lcSdCardReader) << "Storage root path: " << storage.rootPath();
    qCDebug(lcSdCardReader) << "Savefile: " << m_backupPath;
    // Two register folders can give one backup name (G1234567 and 01234567).
    if (written.contains(m_backupPath)) {
        m_report.fail(tr("The backup file %1 was already written for another register folder.").arg(m_backupPath),
                      tr("Read that register folder on its own into another target folder."));
        return false;
    }
    m_dataFiles = CardLayout::dataFiles(m_folder, m_fromDate, m_toDate);
    if (m_dataFiles.isEmpty()) {
        reportNoDataFiles();
        return false;
    }
    return true;
}

void BackupRun::reportNoDataFiles()
{
    if (!m_fromDate.isValid()) {
        m_report.fail(tr("In the folder %1 couldn´t found any data files!").arg(m_folder),
                      tr("Please check your choosen folder of your source dataset."));
    } else if (!m_toDate.isValid() || m_toDate == m_fromDate) {
        m_report.fail(tr("For the choosen date %1 couldn´t found any data!").arg(messageMonth(m_fromDate)),
                      tr("Please change your choosen date or check your selected datafolder."));
    } else {
        m_report.fail(tr("For the choosen datespan %1 to %2 couldn´t found any data!")
                              .arg(messageMonth(m_fromDate), messageMonth(m_toDate)),
                      tr("Please change your choosen datespan or check your selected datafolder."));
    }
}

BackupRun::Result BackupRun::write()
{
    // The index check needs only the list of data files, so the header, and with it the place of
    // the body, is known before the first data file is read.
    bool indexRead = false;
    IndexFileAnalyser analyser = checkIndex(m_dataFiles, &indexRead);
    const QByteArray provisionalHeader = analyser.getCompessIndex();
    if (provisionalHeader.isEmpty())
        return writeFailed(tr("The index of the register is too large for a backup header."));

    // Only a regular file is replaced: the backup goes into place by a rename, which would put it
    // in place of a folder's name or a device's.
    const QFileInfo existing(m_backupPath);
    AtomicFile backup(m_backupPath);
    if ((existing.exists() && !existing.isFile()) || !backup.open()) {
        qCDebug(lcSdCardReader) << "Backup file not created:" << backup.errorString();
        if (backup.heldElsewhere()) {
            m_report.fail(tr("The backup file %1 is being written by another job.").arg(m_backupPath),
                          tr("Wait until the other job has finished, or read into another target folder."));
            return Failed;
        }
        m_report.fail(tr("Couldn´t create file %1 for saving data.").arg(m_backupPath),
                      tr("Please be sure that you have write access on your destination folder."));
        return Failed;
    }
    if (!backup.write(provisionalHeader.constData(), provisionalHeader.size()))
        return writeFailed(backup.errorString());
    m_report.progressStarted(m_dataFiles.size());
    ConcurrentMd5 md5;
    switch (copyDataFiles(backup, md5)) {
    case CopyResult::Copied:
        break;
    case CopyResult::WriteFailed:
        return writeFailed(backup.errorString());
    case CopyResult::Stopped:
        m_report.fail(tr("Process abbort by the user."), tr("Your saved data are not complete!"));
        return Stopped;
    }

    // A month whose data file could not be read is missing from the backup, and its header says so.
    if (m_filesRead.size() != m_dataFiles.size())
        analyser = checkIndex(m_filesRead, &indexRead);
    analyser.setMD5Value(md5.result());
    const QByteArray header = analyser.getCompessIndex();
    if (header.isEmpty())
        return writeFailed(tr("The index of the register is too large for a backup header."));
    qCDebug(lcSdCardReader) << "INDEX-Array: " << HelperClass::convertToFormattedHexValue(header);
    if (!placeHeader(backup.file(), provisionalHeader.size(), header))
        return writeFailed(backup.file().errorString());
    if (!backup.finish() || !backup.commit())
        return writeFailed(backup.errorString());
    m_report.backupWritten(m_backupPath);
    reportIndex(indexRead, analyser);
    return Written;
}

IndexFileAnalyser BackupRun::checkIndex(const QList<QFileInfo> &filesRead, bool *indexRead) const
{
    IndexFileAnalyser analyser;
    analyser.setCRSerialnumber(CardLayout::serialNumber(m_folder, true).toLatin1());
    *indexRead = analyser.checkA00IndexFile(CardLayout::indexFilePath(m_folder), filesRead, m_fromDate, m_toDate,
                                            IndexFileAnalyser::SOURCE_SD);
    return analyser;
}

// Each data file is read whole, so one that cannot be read contributes nothing, and only one of
// them is held in memory at a time.
BackupRun::CopyResult BackupRun::copyDataFiles(AtomicFile &backup, ConcurrentMd5 &md5)
{
    int filesOpened = 0;
    for (const QFileInfo &dataFile : qAsConst(m_dataFiles)) {
        const QString path = dataFile.absoluteFilePath();
        qCDebug(lcSdCardReader) << "Found files: " << path;
        QFile file(path);
        // A FIFO would keep the job waiting for a writer, and a device such as /dev/zero never ends.
        if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
            QByteArray data;
            if (!readWholeFile(file, data)) {
                m_report.fail(tr("Couldn´t read data from the file %1. The error from the system is: %2")
                                      .arg(path, file.errorString()),
                              tr("You have no read permission on this location or the file is corrupted."));
            } else if (!appendToBackup(backup, md5, data)) {
                return CopyResult::WriteFailed;
            } else {
                m_filesRead.append(dataFile);
                m_bodySize += data.size();
            }
            file.close();
            m_report.progress(++filesOpened);
        } else {
            qCDebug(lcSdCardReader) << "Data file not opened:" << file.errorString();
            m_report.fail(tr("Couldn´t open file %1 for reading data.").arg(path),
                          tr("Your data source is corrupted or you have no right for open this file."));
        }
        if (m_stopRequested)
            return CopyResult::Stopped;
    }
    return CopyResult::Copied;
}

// The final header differs from the provisional one in its MD5 value, and where a data file
// could not be read also in its month map, which can change its size: the body then moves.
bool BackupRun::placeHeader(QFile &file, int writtenSize, const QByteArray &header)
{
    if (header.size() != writtenSize && !moveBytes(file, writtenSize, header.size(), m_bodySize))
        return false;
    return file.seek(0) && writeAll(file, header.constData(), header.size());
}

BackupRun::Result BackupRun::writeFailed(const QString &reason)
{
    m_report.fail(tr("Couldn´t save data in backup file %1. The error from the system is: %2").arg(m_backupPath, reason),
                  tr("You have no write permission on this location or the saved file is corrupted."));
    return Failed;
}

void BackupRun::reportIndex(bool indexRead, const IndexFileAnalyser &analyser)
{
    if (!indexRead) {
        m_report.fail(tr("Index file could not read successful."),
                      tr("Please check your sources for right permissions, or generate a new backup of your data."));
        return;
    }
    int messageCount = 0;
    const QQueue<QPair<QString, bool>> messages = analyser.getIndexMessages();
    for (const QPair<QString, bool> &message : messages)
        m_report.message(message.first, message.second, ++messageCount);
}

} // namespace fiscora
