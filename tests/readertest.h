#ifndef FISCORA_READERTEST_H
#define FISCORA_READERTEST_H

// Shared by the reader's tests: sample cards, and what a good backup of one of their registers
// reports and holds.

#include "fixtures.h"
#include "joblog.h"

#include <samplecard.h>

#include <fiscora/helperclass.h>

#include <QDate>
#include <QStringList>

namespace readertest {

using namespace joblog;

//! initProgressBar(0, files) followed by updateProgressBar(1) to updateProgressBar(files).
inline QStringList progressOf(int files)
{
    QStringList lines{progressStarted(files)};
    for (int i = 1; i <= files; ++i)
        lines << progress(i);
    return lines;
}

inline QString backupPath(const QString &target, const QString &serialNumber, const QString &label = "complete")
{
    return target + QStringLiteral("/Backup_CR#%1_%2.enc").arg(serialNumber, label);
}

//! What a register whose index and data files agree reports: progress, the complete backup, the index report.
inline QStringList goodBackup(const QString &target, const QString &serialNumber, int files = 4)
{
    return progressOf(files) + QStringList{backupWritten(backupPath(target, serialNumber)),
        message("The data was created by reading from SD-Card or Backup.", false, 1),
        message("Serialnumber of the cash register: " + serialNumber, false, 2),
        message("The data index is correct, no issues recognised.", false, 3)};
}

//! Registers of four months, January to April 2019, whose index and data files agree.
inline QList<fiscora::sample::RegisterFiles> writeTestCard(const QString &path,
                                                           fiscora::sample::CardOptions options = {})
{
    options.lastMonth = QDate(2019, 4, 1);
    return fiscora::sample::writeCard(path, options);
}

/*!
 * The backup of \a reg: the header with the serial number, the month \a map (by default 128
 * months from January 2016, all fine) and the MD5 digest of the body, which is the \a dataFiles
 * in their order.
 */
inline QByteArray expectedBackup(const fiscora::sample::RegisterFiles &reg, const QStringList &dataFiles,
                                 const QByteArray &map = QByteArray::fromHex("8001"))
{
    QByteArray body;
    for (const QString &file : dataFiles)
        body += fileBytes(file);
    return fiscora::sample::backupHeader(QFileInfo(reg.folder).fileName().toLatin1(), map,
                                         fiscora::HelperClass::calculateMD5Hash(body))
        + body;
}

//! What a folder holds, hidden files and all.
inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace readertest

#endif // FISCORA_READERTEST_H
