#include "sdcardreader.h"

#include "backuprun_p.h"
#include "cardlayout_p.h"
#include "jobreport_p.h"
#include "logging_p.h"

#include <QMutexLocker>

namespace fiscora {

namespace {

// What the backup runs report goes out as the reader's signals, from here alone.
class ReaderReport : public BackupReport
{
public:
    explicit ReaderReport(SDCardReader &reader)
        : m_reader(reader)
    {
    }

    void fail(const QString &error, const QString &hint) override { emit m_reader.error(error, hint); }
    void message(const QString &text, bool isError, int count) override
    {
        emit m_reader.processMessage(text, isError, count);
    }
    void progressStarted(int maximum) override { emit m_reader.initProgressBar(0, maximum); }
    void progress(int value) override { emit m_reader.updateProgressBar(value); }
    void backupWritten(const QString &file) override { emit m_reader.finishSuccesful(file); }

private:
    SDCardReader &m_reader;
};

} // namespace

SDCardReader::SDCardReader(QObject *parent)
    : QThread(parent)
{
}

SDCardReader::~SDCardReader() = default;

bool SDCardReader::startReading(QString sourcePath, QString targetPath, QDate fromDate, QDate toDate)
{
    if (isRunning()) {
        qCDebug(lcSdCardReader) << "SD card reader already running!";
        return false;
    }
    qCInfo(lcSdCardReader) << "Start SD card reader";
    {
        const QMutexLocker locker(&m_mutex);
        m_sourcePath = sourcePath;
        m_targetPath = targetPath;
        m_fromDate = fromDate;
        m_toDate = toDate;
        m_stopRequested = false;
    }
    start(QThread::InheritPriority);
    return true;
}

void SDCardReader::stopProcess()
{
    if (!isRunning())
        return;
    qCInfo(lcSdCardReader) << "Stop SD card reader";
    const QMutexLocker locker(&m_mutex);
    m_stopRequested = true;
}

void SDCardReader::run()
{
    QMutexLocker locker(&m_mutex);
    const QString sourcePath = m_sourcePath;
    const QString targetPath = m_targetPath;
    const QDate fromDate = m_fromDate;
    const QDate toDate = m_toDate;
    locker.unlock();
    processInternalSDData(sourcePath, targetPath, fromDate, toDate);
}

void SDCardReader::processInternalSDData(QString sourcePath, QString targetPath, QDate fromDate, QDate toDate)
{
    qCDebug(lcSdCardReader) << "Start reading SD Card: " << sourcePath << " save: " << targetPath;
    if (!fromDate.isValid())
        qCDebug(lcSdCardReader) << "Last saved Value!";
    else if (!toDate.isValid())
        qCDebug(lcSdCardReader) << "Value at: " << fromDate;
    else
        qCDebug(lcSdCardReader) << "Value from: " << fromDate << "  to: " << toDate;

    const QStringList folders = determineSerialnumberStartPath(sourcePath);
    qCDebug(lcSdCardReader) << "Selected and found search folder:";
    for (const QString &folder : folders)
        qCDebug(lcSdCardReader) << folder;
    ReaderReport report(*this);
    if (folders.isEmpty()) {
        report.fail(tr("No valid serial number folder found!"), tr("Check your selected start path!"));
        return;
    }
    QSet<QString> written;
    for (const QString &folder : folders) {
        BackupRun backup(report, m_stopRequested, folder, targetPath, fromDate, toDate);
        switch (backup.run(written)) {
        case BackupRun::Written:
            written.insert(backup.backupPath());
            break;
        case BackupRun::Failed:
            break;
        case BackupRun::Stopped:
            return;
        }
    }
}

// The reader's own functions for the card's layout, which its backup runs share.

QStringList SDCardReader::determineSerialnumberStartPath(QString startPath)
{
    return CardLayout::serialNumberFolders(startPath);
}

bool SDCardReader::isSerialNumber(QString name)
{
    return CardLayout::isSerialNumber(name);
}

QString SDCardReader::getCRSerialNumber(QString path, bool withoutPrefix)
{
    return CardLayout::serialNumber(path, withoutPrefix);
}

QString SDCardReader::findYearPath(QString path)
{
    return CardLayout::yearPath(path);
}

QList<QFileInfo> SDCardReader::getFiles(QString path, QDate fromDate, QDate toDate)
{
    return CardLayout::dataFiles(path, fromDate, toDate);
}

QList<QFileInfo> SDCardReader::getYearDirs(QString path, QDate fromDate, QDate toDate)
{
    return CardLayout::yearFolders(path, fromDate, toDate);
}

QList<QFileInfo> SDCardReader::getMonthlyFiles(QString path, QDate fromDate, QDate toDate)
{
    return CardLayout::monthlyFiles(path, fromDate, toDate);
}

QString SDCardReader::getReportLabel(QDate fromDate, QDate toDate)
{
    return CardLayout::reportLabel(fromDate, toDate);
}

} // namespace fiscora
