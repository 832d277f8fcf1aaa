#ifndef FISCORA_BACKUPRUN_P_H
#define FISCORA_BACKUPRUN_P_H

#include <QByteArray>
#include <QFile>
#include <QDate>
#include <QFileInfo>
#include <QList>
#include <QString>

#include <atomic>

namespace fiscora {

class AtomicFile;
class ConcurrentMd5;
class IndexFileAnalyser;
class SDCardReader;

//! What the reader chose for one register's backup.
struct BackupJob
{
    QString backupPath;
    QString indexFilePath;
    //! Without the "CR#" prefix, as the header and the index file name carry it.
    QString serialNumber;
    QList<QFileInfo> dataFiles;
    QDate fromDate;
    QDate toDate;
};

/*!
 * One register's backup: its data files are read one at a time and written behind the header
 * into the backup file, their MD5 digest computed on the way; the index check judges the months
 * by the data files that could be read, and the backup appears only once it is complete on the
 * disk. Progress, failures, the finished file and the index report go out as \a reader's signals.
 *
 * \code
 * BackupRun run(reader, stopRequested, job);
 * if (run.run() == BackupRun::Stopped)
 *     return;
 * \endcode
 */
class BackupRun
{
public:
    enum Result { Written, Failed, Stopped };

    BackupRun(SDCardReader &reader, const std::atomic_bool &stopRequested, const BackupJob &job);

    Result run();

private:
    enum class CopyResult { Copied, WriteFailed, Stopped };

    CopyResult copyDataFiles(AtomicFile &backup, ConcurrentMd5 &md5);
    bool placeHeader(QFile &file, int writtenSize, const QByteArray &header);
    Result writeFailed(const QString &reason);
    void reportIndex(bool indexRead, const IndexFileAnalyser &analyser);

    SDCardReader &m_reader;
    const std::atomic_bool &m_stopRequested;
    const BackupJob m_job;
    QList<QFileInfo> m_filesRead;
    qint64 m_bodySize = 0;
};

} // namespace fiscora

#endif // FISCORA_BACKUPRUN_P_H
