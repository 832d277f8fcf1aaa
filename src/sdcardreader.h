#ifndef FISCORA_SDCARDREADER_H
#define FISCORA_SDCARDREADER_H

#include "fiscora.h"

#include <QDate>
#include <QFileInfo>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

namespace fiscora {

/*!
 * Copies the monthly data files of one or more cash registers from an SD card (or a copy of it)
 * into one backup file per register, in a thread of its own.
 *
 * The start folder may be the card, its maker folder "KORVANE", a register's serial-number folder
 * or one of its year folders. For every register found, the data files of the date span are
 * checked against the register's index file and written, still encrypted, behind a header into
 * "Backup_CR#<serial number>_<label>.enc" in the target folder.
 *
 * \code
 * auto *reader = new fiscora::SDCardReader(this);
 * connect(reader, &fiscora::SDCardReader::finishSuccesful, this, &Window::backupWritten);
 * connect(reader, &fiscora::SDCardReader::error, this, &Window::showError);
 * reader->startReading(QStringLiteral("E:/"), backupFolder, QDate(2019, 1, 1), QDate(2019, 12, 31));
 * ...
 * reader->stopProcess(); // if the user cancels
 * reader->wait();        // always before the reader is destroyed
 * \endcode
 *
 * Dates: both invalid read everything; only \a fromDate valid reads the month that starts on it;
 * both valid read the months from \a fromDate to \a toDate, where a \a fromDate after the first
 * of its month leaves that month out; only \a toDate valid reads nothing.
 *
 * The signals are emitted from the reader's thread. A backup file only appears once it is
 * complete; a failed or stopped register leaves no file behind and keeps an older backup of
 * the same name.
 */
class FISCORA_EXPORT SDCardReader : public QThread
{
    Q_OBJECT

public:
    explicit SDCardReader(QObject *parent = nullptr);

    //! Neither stops nor waits: stop the job and wait for the thread before destroying the reader.
    ~SDCardReader() override;

    /*!
     * Starts a job that backs up every register found below \a sourcePath into \a targetPath,
     * which must exist. Returns false, and changes nothing, while a job is still running.
     */
    bool startReading(QString sourcePath, QString targetPath, QDate fromDate, QDate toDate);

    /*!
     * Asks a running job to stop after the data file it is reading; the job then emits the error
     * "Process abbort by the user." and writes nothing more. Returns at once; ignored while idle.
     */
    void stopProcess();

Q_SIGNALS:
    //! A backup file is complete at \a savedFilename; its index report follows.
    void finishSuccesful(const QString &savedFilename);

    //! One message of a backup's index report, numbered from 1 by \a messageCount.
    void processMessage(const QString &message, bool isError, int messageCount = 0);

    //! A failure: \a error says what happened, \a hint what to check or what follows.
    void error(const QString &error, const QString &hint);

    //! A register's data files are about to be read: \a endValue is their number.
    void initProgressBar(int startValue, int endValue);

    //! \a currenValue data files of the register have been read so far.
    void updateProgressBar(int currenValue);

private:
    void run() override;

    void processInternalSDData(QString sourcePath, QString targetPath, QDate fromDate, QDate toDate);

    QStringList determineSerialnumberStartPath(QString startPath);
    bool isSerialNumber(QString name);
    QString getCRSerialNumber(QString path, bool withoutPrefix);
    QString findYearPath(QString path);

    QList<QFileInfo> getFiles(QString path, QDate fromDate, QDate toDate);
    QList<QFileInfo> getYearDirs(QString path, QDate fromDate, QDate toDate);
    QList<QFileInfo> getMonthlyFiles(QString path, QDate fromDate, QDate toDate);
    QString getReportLabel(QDate fromDate, QDate toDate);

    QString m_sourcePath;
    QString m_targetPath;
    QDate m_fromDate;
    QDate m_toDate;
    QMutex m_mutex;
    // Set under m_mutex like the arguments, but read by the job without it.
    std::atomic_bool m_stopRequested{false};
};

} // namespace fiscora

#endif // FISCORA_SDCARDREADER_H
