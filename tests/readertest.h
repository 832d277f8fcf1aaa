#ifndef FISCORA_READERTEST_H
#define FISCORA_READERTEST_H

// Shared by the reader's test suites: running a whole job and recording what it emits, the
// user texts it must emit, and small file-system fixtures.

#include "fixtures.h"

#include <fiscora/helperclass.h>
#include <fiscora/sdcardreader.h>

#include <QDate>
#include <QStringList>

namespace readertest {

using fiscora::SDCardReader;

inline QString error(const QString &error, const QString &hint)
{
    return QStringLiteral("error(%1 | %2)").arg(error, hint);
}
inline QString finished(const QString &path)
{
    return QStringLiteral("finishSuccesful(%1)").arg(path);
}
inline QString message(const QString &text, bool isError, int count)
{
    const QString flag = isError ? QStringLiteral("true") : QStringLiteral("false");
    return QStringLiteral("processMessage(%1, %2, %3)").arg(text, flag).arg(count);
}

//! initProgressBar(0, n) followed by updateProgressBar(1) to updateProgressBar(n).
inline QStringList progress(int count)
{
    QStringList log{QStringLiteral("initProgressBar(0, %1)").arg(count)};
    for (int i = 1; i <= count; ++i)
        log << QStringLiteral("updateProgressBar(%1)").arg(i);
    return log;
}

//! Records every signal of \a reader into \a log, in the order of emission, as text.
inline void recordSignals(SDCardReader &reader, QStringList &log)
{
    // The signals come from the reader's thread; recording them there keeps their order.
    QObject::connect(&reader, &SDCardReader::finishSuccesful, &reader, [&log](const QString &path) {
        log << finished(path);
    }, Qt::DirectConnection);
    QObject::connect(&reader, &SDCardReader::processMessage, &reader, [&log](const QString &text, bool isError, int count) {
        log << message(text, isError, count);
    }, Qt::DirectConnection);
    QObject::connect(&reader, &SDCardReader::error, &reader, [&log](const QString &text, const QString &hint) {
        log << error(text, hint);
    }, Qt::DirectConnection);
    QObject::connect(&reader, &SDCardReader::initProgressBar, &reader, [&log](int start, int end) {
        log << QStringLiteral("initProgressBar(%1, %2)").arg(start).arg(end);
    }, Qt::DirectConnection);
    QObject::connect(&reader, &SDCardReader::updateProgressBar, &reader, [&log](int value) {
        log << QStringLiteral("updateProgressBar(%1)").arg(value);
    }, Qt::DirectConnection);
}

//! Runs one job to its end and returns what it emitted.
inline QStringList runJob(const QString &source, const QString &target, const QDate &fromDate = QDate(),
                          const QDate &toDate = QDate())
{
    SDCardReader reader;
    QStringList log;
    recordSignals(reader, log);
    if (!reader.startReading(source, target, fromDate, toDate))
        return {QStringLiteral("not started")};
    reader.wait();
    return log;
}

// The reader's user texts, exactly.
inline const QString noSerialNumberFolder = error(QStringLiteral("No valid serial number folder found!"),
                                                  QStringLiteral("Check your selected start path!"));
inline const QString invalidFolder = error(QStringLiteral("SD card folder is not valid."),
                                           QStringLiteral("Please check your path to the encrypted GoBD dataset."));
inline const QString indexUnreadable = error(QStringLiteral("Index file could not read successful."),
    QStringLiteral("Please check your sources for right permissions, or generate a new backup of your data."));
inline const QString stopped = error(QStringLiteral("Process abbort by the user."),
                                     QStringLiteral("Your saved data are not complete!"));
inline QString noDataForDate(const QString &month)
{
    return error(QStringLiteral("For the choosen date %1 couldn´t found any data!").arg(month),
                 QStringLiteral("Please change your choosen date or check your selected datafolder."));
}
inline QString noDataForSpan(const QString &from, const QString &to)
{
    return error(QStringLiteral("For the choosen datespan %1 to %2 couldn´t found any data!").arg(from, to),
                 QStringLiteral("Please change your choosen datespan or check your selected datafolder."));
}
inline QString noDataInFolder(const QString &folder)
{
    return error(QStringLiteral("In the folder %1 couldn´t found any data files!").arg(folder),
                 QStringLiteral("Please check your choosen folder of your source dataset."));
}
inline QString cannotCreate(const QString &backup)
{
    return error(QStringLiteral("Couldn´t create file %1 for saving data.").arg(backup),
                 QStringLiteral("Please be sure that you have write access on your destination folder."));
}
inline QString cannotOpen(const QString &file)
{
    return error(QStringLiteral("Couldn´t open file %1 for reading data.").arg(file),
                 QStringLiteral("Your data source is corrupted or you have no right for open this file."));
}
inline QString cannotRead(const QString &file, const QString &reason)
{
    return error(QStringLiteral("Couldn´t read data from the file %1. The error from the system is: %2").arg(file, reason),
                 QStringLiteral("You have no read permission on this location or the file is corrupted."));
}
inline QString cannotSave(const QString &backup, const QString &reason)
{
    return error(QStringLiteral("Couldn´t save data in backup file %1. The error from the system is: %2").arg(backup, reason),
                 QStringLiteral("You have no write permission on this location or the saved file is corrupted."));
}

/*!
 * Creates every entry below \a root: "name -> target" a symbolic link, "name/" a folder, anything
 * else a file holding its own name.
 */
inline bool makeTree(const QString &root, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString path = root + QLatin1Char('/') + entry.section(QStringLiteral(" -> "), 0, 0);
        bool made = false;
        if (entry.contains(QStringLiteral(" -> ")))
            made = QFile::link(entry.section(QStringLiteral(" -> "), 1), path);
        else if (entry.endsWith(QLatin1Char('/')))
            made = QDir().mkpath(path);
        else
            made = writeFile(path, entry.toUtf8());
        if (!made)
            return false;
    }
    return true;
}

inline QString backupPath(const QString &target, const QString &serialNumber,
                          const QString &label = QStringLiteral("complete"))
{
    return target + QStringLiteral("/Backup_CR#%1_%2.enc").arg(serialNumber, label);
}

//! The index report of a register whose index and data files agree.
inline QStringList goodReport(const QString &serialNumber)
{
    return {message(QStringLiteral("The data was created by reading from SD-Card or Backup."), false, 1),
            message(QStringLiteral("Serialnumber of the cash register: ") + serialNumber, false, 2),
            message(QStringLiteral("The data index is correct, no issues recognised."), false, 3)};
}

//! What such a register emits: progress, the complete backup, its report.
inline QStringList goodBackup(const QString &target, const QString &serialNumber, int files = 4)
{
    return progress(files) + QStringList(finished(backupPath(target, serialNumber))) + goodReport(serialNumber);
}

//! The bytes behind the backup header.
inline QByteArray backupBody(const QByteArray &backup)
{
    return backup.mid(fiscora::HelperClass::convertByteArrayToInt(backup.left(2)) + 2);
}

} // namespace readertest

#endif // FISCORA_READERTEST_H
