#include "cardlayout_p.h"

#include "logging_p.h"
#include "reading_p.h"

#include <QDir>
#include <QSet>

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

QString monthLabel(const QDate &date)
{
    return date.toString(QStringLiteral("yyyyMM"));
}

// reached holds the canonical paths of the folders searched so far.
QStringList searchSerialNumberFolders(const QString &startPath, QSet<QString> &reached)
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
        return searchSerialNumberFolders(start.absolutePath(), reached);

    QStringList folders;
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (isMakerFolderName(name))
            return searchSerialNumberFolders(entry.absoluteFilePath(), reached);
        if (isSerialNumberFolderName(name))
            folders.append(entry.absoluteFilePath());
        else if (isInsideRegisterFolder(name) && start.cdUp())
            return searchSerialNumberFolders(start.absolutePath(), reached);
    }
    return folders;
}

// The last matching subfolder wins.
QString searchYearPath(const QString &path, QSet<QString> &reached)
{
    QString found = path;
    const QFileInfoList entries = subfolders(path);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (isMakerFolderName(name)) {
            if (reachedFirstTime(entry.absoluteFilePath(), reached))
                found = searchYearPath(entry.absoluteFilePath(), reached);
        } else if (CardLayout::isSerialNumber(name)) {
            found = entry.absoluteFilePath();
        }
    }
    return found;
}

} // namespace

QStringList CardLayout::serialNumberFolders(const QString &startPath)
{
    QSet<QString> reached;
    return searchSerialNumberFolders(startPath, reached);
}

bool CardLayout::isSerialNumber(const QString &name)
{
    if (name.size() != SerialNumberLength)
        return false;
    const bool hasSeriesLetter = name.at(0) == QLatin1Char('G') || name.at(0) == QLatin1Char('g');
    return parsedNumber(hasSeriesLetter ? name.mid(1) : name).has_value();
}

QString CardLayout::serialNumber(const QString &folder, bool withoutPrefix)
{
    //: Stands before the serial number in the name of a backup file, whose parts are joined by "_": may not hold a "_"
    const QString prefix = withoutPrefix ? QString() : tr("CR#");
    const QString name = QFileInfo(folder).fileName();
    // The files of a register in the folder G1234567 carry the number 01234567.
    if (isSerialNumber(name))
        return prefix + name.toUpper().replace(QLatin1Char('G'), QLatin1Char('0'));
    if (isSerialNumberFolderName(name))
        return prefix + name;
    //: Stands for the serial number in the name of a backup file, whose parts are joined by "_": may not hold a "_"
    return prefix + tr("NoSerialNumber");
}

QString CardLayout::yearPath(const QString &folder)
{
    QSet<QString> reached;
    reachedFirstTime(folder, reached);
    return searchYearPath(folder, reached);
}

QList<QFileInfo> CardLayout::dataFiles(const QString &folder, QDate fromDate, QDate toDate)
{
    const QString path = yearPath(folder);
    // A span within one month reads that month, as a single date does.
    if (fromDate.isValid() && toDate.isValid() && monthLabel(fromDate) == monthLabel(toDate))
        toDate = QDate();
    const QList<QFileInfo> years = yearFolders(path, fromDate, toDate);
    if (years.isEmpty()) {
        qCDebug(lcSdCardReader) << "No year directories found!";
        return {};
    }
    QList<QFileInfo> files;
    for (const QFileInfo &year : years)
        files += monthlyFiles(year.absoluteFilePath(), fromDate, toDate);
    return files;
}

QList<QFileInfo> CardLayout::yearFolders(const QString &folder, const QDate &fromDate, const QDate &toDate)
{
    QList<QFileInfo> years;
    const QFileInfoList entries = subfolders(folder);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const std::optional<int> year = name.size() == 4 ? parsedNumber(name) : std::nullopt;
        if (entry.isDir() && year && isYearInDateSpan(*year, fromDate, toDate))
            years.append(entry);
    }
    return years;
}

QList<QFileInfo> CardLayout::monthlyFiles(const QString &yearFolder, const QDate &fromDate, const QDate &toDate)
{
    QList<QFileInfo> files;
    const QFileInfoList entries = QDir(yearFolder).entryInfoList({QStringLiteral("*.a03")}, QDir::Files, QDir::Name);
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

QString CardLayout::reportLabel(const QDate &fromDate, const QDate &toDate)
{
    if (!fromDate.isValid()) {
        //: The period of a backup of every month, part of its file name: may not hold a "_"
        return toDate.isValid() ? QString() : tr("complete");
    }
    QString label = monthLabel(fromDate);
    if (toDate.isValid() && monthLabel(toDate) != label)
        label += QLatin1Char('_') + monthLabel(toDate);
    return label;
}

QString CardLayout::backupFileName(const QString &folder, const QDate &fromDate, const QDate &toDate)
{
    //: Begins the name of a backup file, whose parts are joined by "_": may not hold a "_"
    return tr("Backup") + QLatin1Char('_') + serialNumber(folder, false) + QLatin1Char('_')
        + reportLabel(fromDate, toDate) + QLatin1String(".enc");
}

QString CardLayout::indexFilePath(const QString &folder)
{
    return folder + QLatin1Char('/') + serialNumber(folder, true) + QLatin1String(".a00");
}

// The register names a data file after its month as "yyMM"; QDate reads "yy" as 19yy.
QDate CardLayout::dataFileMonth(const QFileInfo &file)
{
    return QDate::fromString(file.baseName(), QStringLiteral("yyMM")).addYears(100);
}

} // namespace fiscora
