#include "samplecard.h"

#include "damage.h"
#include "journal.h"
#include "samplecipher.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVector>
#include <QtDebug>

namespace fiscora::sample {

namespace {

QDate firstDay(const QDate &date)
{
    return QDate(date.year(), date.month(), 1);
}

// Month 0 of the register's index is January 2016.
int monthNumber(const QDate &month)
{
    return (month.year() - 2016) * 12 + month.month() - 1;
}

QString dataFilePath(const QString &folder, const QDate &month)
{
    return folder + QLatin1Char('/') + QString::number(month.year()) + QLatin1Char('/')
        + QStringLiteral("%1%2.a03")
              .arg(month.year() % 100, 2, 10, QLatin1Char('0'))
              .arg(month.month(), 2, 10, QLatin1Char('0'));
}

bool writeFile(const QString &path, const QByteArray &contents)
{
    if (!QDir().mkpath(QFileInfo(path).path())) {
        qWarning("writeCard: cannot create the folder of %s", qPrintable(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) {
        qWarning("writeCard: cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

int linesPerMonth(const CardOptions &options, int monthCount)
{
    if (options.totalSize <= 0)
        return options.linesPerMonth;
    // Records grow with their line numbers; a sample from the middle of a first guess gives their mean.
    constexpr int sampleLines = 64;
    const double fileCount = double(options.serialNumbers.size()) * monthCount;
    int lines = 1;
    for (int pass = 0; pass < 2; ++pass) {
        const int middleLine = lines * monthCount / 2 + 1;
        const QByteArray sample = Journal().encryptedMonth(options.firstMonth, middleLine, sampleLines);
        const double recordSize = sample.size() / double(sampleLines);
        lines = qMax(1, qRound(options.totalSize / (fileCount * recordSize)));
    }
    return lines;
}

QByteArray indexBitmap(const QDate &firstMonth, const QDate &lastMonth)
{
    QByteArray bitmap(monthNumber(lastMonth) / 8 + 1, '\0');
    for (QDate month = firstMonth; month <= lastMonth; month = month.addMonths(1)) {
        const int number = monthNumber(month);
        bitmap[number / 8] = static_cast<char>(bitmap.at(number / 8) | (1 << (number % 8)));
    }
    return bitmap;
}

// The records of a month's data file, damaged as the options say. recordNumber counts the
// records of the card, for damage to every n-th of them.
QByteArray monthData(const QList<QByteArray> &monthLines, const QDate &month, const CardOptions &options,
                     int &recordNumber)
{
    const int lines = int(monthLines.size());
    QVector<std::optional<Damage>> damage(lines);
    for (const QPair<Damage, QDate> &monthDamage : options.damages) {
        if (lines > 0 && firstDay(monthDamage.second) == month)
            damage[lines / 2] = monthDamage.first;
    }
    const QList<Damage> kinds = allDamages();
    for (int i = 0; i < lines; ++i, ++recordNumber) {
        if (options.damageEvery > 0 && (recordNumber + 1) % options.damageEvery == 0)
            damage[i] = kinds.at(recordNumber / options.damageEvery % kinds.size());
    }
    DamagedJournal records{quint32(recordNumber)};
    for (int i = 0; i < lines; ++i)
        records.append(monthLines.at(i), damage.at(i));
    return records.data();
}

// The shop journal of the register, manipulated as the options say; nothing without a shop.
std::optional<ShopJournal> shopJournal(const CardOptions &options, char registerNumber, int registerIndex)
{
    if (!options.shop)
        return std::nullopt;
    ShopOptions shop = *options.shop;
    shop.firstDay = firstDay(options.firstMonth);
    shop.lastDay = firstDay(options.lastMonth).addMonths(1).addDays(-1);
    shop.registerNumber = registerNumber;
    shop.seed += quint32(registerIndex);
    ShopJournal journal(shop);
    for (const Manipulation &manipulation : options.manipulations)
        journal.manipulate(manipulation);
    return journal;
}

bool writeRegister(RegisterFiles &files, const QString &serialNumber, int registerIndex,
                   const CardOptions &options, int lines)
{
    const char registerNumber = "12345678ABCDEFGH"[registerIndex % 16];
    const Journal journal(registerNumber, static_cast<quint32>(registerIndex + 1));
    const std::optional<ShopJournal> shop = shopJournal(options, registerNumber, registerIndex);
    const QDate firstMonth = firstDay(options.firstMonth);
    const QDate lastMonth = firstDay(options.lastMonth);
    int lineNumber = 1;
    int recordNumber = 0;
    for (QDate month = firstMonth; month <= lastMonth; month = month.addMonths(1), lineNumber += lines) {
        if (options.missingMonth.isValid() && month == firstDay(options.missingMonth))
            continue;
        const QList<QByteArray> monthLines =
                shop ? shop->monthLines(month) : journal.monthLines(month, lineNumber, lines);
        const QByteArray data = monthData(monthLines, month, options, recordNumber);
        const QString path = dataFilePath(files.folder, month);
        if (!writeFile(path, data))
            return false;
        files.dataFiles.append(path);
    }
    if (!options.withIndexFile)
        return true;
    files.indexFile = files.folder + QLatin1Char('/') + indexFileName(serialNumber) + QLatin1String(".a00");
    return writeFile(files.indexFile, encryptIndexFile(indexBitmap(firstMonth, lastMonth)));
}

} // namespace

QList<RegisterFiles> writeCard(const QString &path, const CardOptions &options)
{
    const QString root = options.makerFolder.isEmpty() ? path : path + QLatin1Char('/') + options.makerFolder;
    const int monthCount = monthNumber(options.lastMonth) - monthNumber(options.firstMonth) + 1;
    const int lines = linesPerMonth(options, monthCount);
    QList<RegisterFiles> registers;
    for (int i = 0; i < options.serialNumbers.size(); ++i) {
        RegisterFiles files;
        files.folder = root + QLatin1Char('/') + options.serialNumbers.at(i);
        if (!writeRegister(files, options.serialNumbers.at(i), i, options, lines))
            return {};
        registers.append(files);
    }
    return registers;
}

QString indexFileName(const QString &serialNumber)
{
    // A register of the G series names its files with a 0 in place of the G.
    bool digits = false;
    serialNumber.mid(1).toInt(&digits);
    if (digits && serialNumber.startsWith(QLatin1Char('G'), Qt::CaseInsensitive))
        return QLatin1Char('0') + serialNumber.mid(1);
    return serialNumber;
}

QByteArray backupHeader(const QByteArray &serialNumber, const QByteArray &map, const QByteArray &digest)
{
    constexpr char Version = 2;
    constexpr char SourceSd = 10;
    const QByteArray fields = QByteArray(1, Version) + QByteArray(1, SourceSd) + digest
        + serialNumber.leftJustified(20, '\0', true) + QByteArray(20, '\0') + map;
    const int length = fields.size();
    return QByteArray(1, char(length >> 8)) + char(length & 0xFF) + fields;
}

// The header is written last, once the body's digest is known, over a placeholder of its length.
bool writeRepeatedBackup(const QString &path, const QByteArray &records, qint64 size)
{
    const QByteArray map = QByteArray::fromHex("0c01");
    QFile file(path);
    if (records.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 headerSize = backupHeader("12345678", map, QByteArray(16, '\0')).size();
    QCryptographicHash md5(QCryptographicHash::Md5);
    if (!file.seek(headerSize))
        return false;
    for (qint64 written = headerSize; written < size; written += records.size()) {
        md5.addData(records);
        if (file.write(records) != records.size())
            return false;
    }
    return file.seek(0) && file.write(backupHeader("12345678", map, md5.result())) == headerSize && file.flush();
}

bool writeLargeBackup(const QString &path, qint64 size)
{
    const Journal journal('1', 2020);
    QByteArray pool;
    for (int i = 0; i < 4096; ++i)
        pool += encryptRecord(journal.line(i + 1, QDate(2020, 1, 1).addDays(i % 366)));
    return writeRepeatedBackup(path, pool, size);
}

} // namespace fiscora::sample
