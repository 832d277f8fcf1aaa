#include "sdcardreader.h"

#include "backuprun_p.h"
#include "logging_p.h"
#include "reading_p.h"

#include <QDir>
#include <QMutexLocker>
#include <QStorageInfo>

#include <optional>

namespace fiscora {

namespace {

constexpr int SerialNumberLength = 8;

std::optional<int> parsedNumber(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

bool isMakerFolderName(const QString &name)
{
    return name.toUpper() == QLatin1String("KORVANE");
}

// Discovery takes any 8-character folder for a register; only the file names need a strict number.
bool isSerialNumberFolderName(const QString &name)
{
    return name.size() == SerialNumberLength;
}

bool isNumberInRange(const QString &name, int length, int lowest, int highest)
{
    const std::optional<int> value = name.size() == length ? parsedNumber(name) : std::nullopt;
    return value && *value >= lowest && *value <= highest;
}

// Year and month folders lie inside a register folder, so the register is found one level up.
bool isInsideRegisterFolder(const QString &name)
{
    return isNumberInRange(name, 4, 1900, 2100) || isNumberInRange(name, 2, 1, 12);
}

// "." and ".." included, hidden folders left out, sorted by name.
QFileInfoList subfolders(const QString &path)
{
    return QDir(path).entryInfoList(QDir::Dirs, QDir::Name);
}

bool hasNoSubfolders(const QFileInfoList &entries)
{
    return entries.size() == 2 && entries.at(0).fileName() == QLatin1String(".")
        && entries.at(1).fileName() == QLatin1String("..");
}

// A folder reached a second time within one search adds nothing: a maker folder without
// subfolders, a year folder directly inside a maker folder, or a link back to a folder above
// would otherwise send the search round in a circle for ever.
bool reachedFirstTime(const QString &path, QSet<QString> &reached)
{
    const int before = reached.size();
    reached.insert(QFileInfo(path).canonicalFilePath());
    return reached.size() != before;
}

// A year folder is opened when the span can hold months of its year.
bool isYearInDateSpan(int year, const QDate &fromDate, const QDate &toDate)
{
    if (!fromDate.isValid())
        return !toDate.isValid();
    if (!toDate.isValid())
        return year == fromDate.year();
    return fromDate.year() <= year && year <= toDate.year();
}

// The register names a data file after its month as "yyMM"; QDate reads "yy" as 19yy.
QDate dataFileMonth(const QFileInfo &file)
{
    return QDate::fromString(file.baseName(), QStringLiteral("yyMM")).addYears(100);
}

QString monthLabel(const QDate &date)
{
    return date.toString(QStringLiteral("yyyyMM"));
}

QString messageMonth(const QDate &date)
{
    return date.toString(QStringLiteral("MM/yyyy"));
}

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
    if (folders.isEmpty()) {
        emit error(tr("No valid serial number folder found!"), tr("Check your selected start path!"));
        return;
    }
    // Two register folders can give one backup name (G1234567 and 01234567).
    QSet<QString> written;
    for (const QString &folder : folders) {
        if (!backupRegister(folder, targetPath, fromDate, toDate, written))
            return;
    }
}

// Writes the backup of the register in folder, unless a backup of the same name was written in
// this job already. Returns false when the user stopped the job.
bool SDCardReader::backupRegister(const QString &folder, const QString &targetPath, const QDate &fromDate,
                                  const QDate &toDate, QSet<QString> &written)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid()) {
        qCDebug(lcSdCardReader) << "Error: no valid sd card folder";
        emit error(tr("SD card folder is not valid."), tr("Please check your path to the encrypted GoBD dataset."));
        return true;
    }
    qCDebug(lcSdCardReader) << "Storage root path: " << storage.rootPath();

    //: "Backup" and "CR#" begin the name of the backup file, whose parts are joined by "_"
    const QString backupPath = targetPath + QLatin1Char('/') + tr("Backup") + QLatin1Char('_')
        + getCRSerialNumber(folder, false) + QLatin1Char('_') + getReportLabel(fromDate, toDate)
        + QLatin1String(".enc");
    qCDebug(lcSdCardReader) << "Savefile: " << backupPath;
    if (written.contains(backupPath)) {
        emit error(tr("The backup file %1 was already written for another register folder.").arg(backupPath),
                   tr("Read that register folder on its own into another target folder."));
        return true;
    }
    BackupJob job{backupPath, QString(), getCRSerialNumber(folder, true), getFiles(folder, fromDate, toDate),
                  fromDate, toDate};
    if (job.dataFiles.isEmpty()) {
        reportNoDataFiles(folder, fromDate, toDate);
        return true;
    }
    job.indexFilePath = folder + QLatin1Char('/') + job.serialNumber + QLatin1String(".a00");
    switch (BackupRun(*this, m_stopRequested, job).run()) {
    case BackupRun::Written:
        written.insert(backupPath);
        return true;
    case BackupRun::Failed:
        return true;
    case BackupRun::Stopped:
        return false;
    }
    Q_UNREACHABLE();
    return false;
}

void SDCardReader::reportNoDataFiles(const QString &folder, const QDate &fromDate, const QDate &toDate)
{
    if (!fromDate.isValid()) {
        emit error(tr("In the folder %1 couldn´t found any data files!").arg(folder),
                   tr("Please check your choosen folder of your source dataset."));
    } else if (!toDate.isValid() || toDate == fromDate) {
        emit error(tr("For the choosen date %1 couldn´t found any data!").arg(messageMonth(fromDate)),
                   tr("Please change your choosen date or check your selected datafolder."));
    } else {
        emit error(tr("For the choosen datespan %1 to %2 couldn´t found any data!")
                       .arg(messageMonth(fromDate), messageMonth(toDate)),
                   tr("Please change your choosen datespan or check your selected datafolder."));
    }
}

QStringList SDCardReader::determineSerialnumberStartPath(QString startPath)
{
    QSet<QString> reached;
    return determineSerialnumberStartPath(startPath, reached);
}

QStringList SDCardReader::determineSerialnumberStartPath(const QString &startPath, QSet<QString> &reached)
{
    // A register folder named as the start path is taken as it stands; the job checks whether it exists.
    if (isSerialNumberFolderName(QFileInfo(startPath).fileName()))
        return {startPath};
    if (!reachedFirstTime(startPath, reached))
        return {};
    const QFileInfoList entries = subfolders(startPath);
    if (entries.isEmpty())
        return {};
    QDir start(startPath);
    // A folder without subfolders, such as a year folder, is looked at from its parent.
    if (hasNoSubfolders(entries) && start.cdUp())
        return determineSerialnumberStartPath(start.absolutePath(), reached);

    QStringList folders;
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (isMakerFolderName(name))
            return determineSerialnumberStartPath(entry.absoluteFilePath(), reached);
        if (isSerialNumberFolderName(name))
            folders.append(entry.absoluteFilePath());
        else if (isInsideRegisterFolder(name) && start.cdUp())
            return determineSerialnumberStartPath(start.absolutePath(), reached);
    }
    return folders;
}

bool SDCardReader::isSerialNumber(QString name)
{
    if (name.size() != SerialNumberLength)
        return false;
    const bool hasSeriesLetter = name.at(0) == QLatin1Char('G') || name.at(0) == QLatin1Char('g');
    return parsedNumber(hasSeriesLetter ? name.mid(1) : name).has_value();
}

QString SDCardReader::getCRSerialNumber(QString path, bool withoutPrefix)
{
    const QString prefix = withoutPrefix ? QString() : tr("CR#");
    const QString name = QFileInfo(path).fileName();
    // The files of a register in the folder G1234567 carry the number 01234567.
    if (isSerialNumber(name))
        return prefix + name.toUpper().replace(QLatin1Char('G'), QLatin1Char('0'));
    if (isSerialNumberFolderName(name))
        return prefix + name;
    return prefix + tr("NoSerialNumber");
}

QString SDCardReader::findYearPath(QString path)
{
    QSet<QString> reached;
    reachedFirstTime(path, reached);
    return findYearPath(path, reached);
}

// The last matching subfolder wins.
QString SDCardReader::findYearPath(const QString &path, QSet<QString> &reached)
{
    QString yearPath = path;
    const QFileInfoList entries = subfolders(path);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (isMakerFolderName(name)) {
            if (reachedFirstTime(entry.absoluteFilePath(), reached))
                yearPath = findYearPath(entry.absoluteFilePath(), reached);
        } else if (isSerialNumber(name)) {
            yearPath = entry.absoluteFilePath();
        }
    }
    return yearPath;
}

QList<QFileInfo> SDCardReader::getFiles(QString path, QDate fromDate, QDate toDate)
{
    path = findYearPath(path);
    // A span within one month reads that month, as a single date does.
    if (fromDate.isValid() && toDate.isValid() && monthLabel(fromDate) == monthLabel(toDate))
        toDate = QDate();
    const QList<QFileInfo> yearDirs = getYearDirs(path, fromDate, toDate);
    if (yearDirs.isEmpty()) {
        qCDebug(lcSdCardReader) << "No year directories found!";
        return {};
    }
    QList<QFileInfo> files;
    for (const QFileInfo &yearDir : yearDirs)
        files += getMonthlyFiles(yearDir.absoluteFilePath(), fromDate, toDate);
    return files;
}

QList<QFileInfo> SDCardReader::getYearDirs(QString path, QDate fromDate, QDate toDate)
{
    QList<QFileInfo> yearDirs;
    const QFileInfoList entries = subfolders(path);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const std::optional<int> year = name.size() == 4 ? parsedNumber(name) : std::nullopt;
        if (entry.isDir() && year && isYearInDateSpan(*year, fromDate, toDate))
            yearDirs.append(entry);
    }
    return yearDirs;
}

QList<QFileInfo> SDCardReader::getMonthlyFiles(QString path, QDate fromDate, QDate toDate)
{
    QList<QFileInfo> files;
    const QFileInfoList entries = QDir(path).entryInfoList({QStringLiteral("*.a03")}, QDir::Files, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (!entry.isFile())
            continue;
        const QDate month = dataFileMonth(entry);
        qCDebug(lcSdCardReader) << "Filedate: " << month;
        if (month.isValid() && isInDateSpan(month, fromDate, toDate))
            files.append(entry);
    }
    return files;
}

QString SDCardReader::getReportLabel(QDate fromDate, QDate toDate)
{
    if (!fromDate.isValid())
        return toDate.isValid() ? QString() : tr("complete");
    QString label = monthLabel(fromDate);
    if (toDate.isValid() && monthLabel(toDate) != label)
        label += QLatin1Char('_') + monthLabel(toDate);
    return label;
}

} // namespace fiscora
