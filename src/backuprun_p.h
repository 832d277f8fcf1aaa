#ifndef FISCORA_BACKUPRUN_P_H
#define FISCORA_BACKUPRUN_P_H

#include "indexfileanalyser.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSet>
#include <QString>

#include <atomic>

namespace fiscora {

class AtomicFile;
class BackupReport;
class ConcurrentMd5;

/*!
 * One register's backup, from its serial-number folder to the index report: the data files of
 * the span are selected, read one at a time and written behind the header into the backup file,
 * their MD5 digest computed on the way; the index check judges the months by the data files
 * that could be read, and the backup appears only once it is complete on the disk. Everything it
 * has to say goes to \a report.
 *
 * \code
 * BackupRun run(report, stopRequested, folder, targetPath, fromDate, toDate);
 * switch (run.run(written)) { ... }
 * \endcode
 *
 * The texts are the reader's, translated in its context.
 */
class BackupRun
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::SDCardReader)

public:
    enum Result { Written, Failed, Stopped };

    BackupRun(BackupReport &report, const std::atomic_bool &stopRequested, const QString &folder,
              const QString &targetPath, const QDate &fromDate, const QDate &toDate);

    //! Writes the backup, unless one of the same name is among the \a written ones of this job.
    Result run(const QSet<QString> &written);

    /*!
     * Finds the data files of the span, after checking that the folder can be read and that no
     * backup of the same name is among the \a written ones; false after reporting why not.
     */
    bool select(const QSet<QString> &written);
    //! The data files select() found.
    QList<QFileInfo> dataFiles() const { return m_dataFiles; }

    /*!
     * The register's index file judged against \a filesRead, as the backup header stores it;
     * \a indexRead tells whether the index file could be read.
     */
    IndexFileAnalyser checkIndex(const QList<QFileInfo> &filesRead, bool *indexRead) const;

    //! Where the backup goes.
    QString backupPath() const { return m_backupPath; }

private:
    enum class CopyResult { Copied, WriteFailed, Stopped };

    void reportNoDataFiles();
    Result write();
    CopyResult copyDataFiles(AtomicFile &backup, ConcurrentMd5 &md5);
    bool placeHeader(QFile &file, int writtenSize, const QByteArray &header);
    Result writeFailed(const QString &reason);
    void reportIndex(bool indexRead, const IndexFileAnalyser &analyser);

    BackupReport &m_report;
    const std::atomic_bool &m_stopRequested;
    const QString m_folder;
    const QDate m_fromDate;
    const QDate m_toDate;
    const QString m_backupPath;
    QList<QFileInfo> m_dataFiles;
    QList<QFileInfo> m_filesRead;
    qint64 m_bodySize = 0;
};

} // namespace fiscora

#endif // FISCORA_BACKUPRUN_P_H
