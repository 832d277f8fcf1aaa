#ifndef FISCORA_READERTEST_H
#define FISCORA_READERTEST_H

// Shared by the reader's tests: running a whole job and recording what it emits, as text.

#include "fixtures.h"

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
    return QStringLiteral("processMessage(%1, %2, %3)").arg(text, isError ? "true" : "false").arg(count);
}

//! initProgressBar(0, n) followed by updateProgressBar(1) to updateProgressBar(n).
inline QStringList progress(int count)
{
    QStringList log{QStringLiteral("initProgressBar(0, %1)").arg(count)};
    for (int i = 1; i <= count; ++i)
        log << QStringLiteral("updateProgressBar(%1)").arg(i);
    return log;
}

//! Records every signal of \a reader into \a log, in the reader's thread, which keeps their order.
inline void recordSignals(SDCardReader &reader, QStringList &log)
{
    const auto on = [&reader](auto signal, auto record) {
        QObject::connect(&reader, signal, &reader, record, Qt::DirectConnection);
    };
    on(&SDCardReader::finishSuccesful, [&log](const QString &path) { log << finished(path); });
    on(&SDCardReader::processMessage, [&log](const QString &text, bool isError, int count) {
        log << message(text, isError, count);
    });
    on(&SDCardReader::error, [&log](const QString &text, const QString &hint) { log << error(text, hint); });
    on(&SDCardReader::initProgressBar, [&log](int start, int end) {
        log << QStringLiteral("initProgressBar(%1, %2)").arg(start).arg(end);
    });
    on(&SDCardReader::updateProgressBar, [&log](int value) {
        log << QStringLiteral("updateProgressBar(%1)").arg(value);
    });
}

//! Runs one job to its end and returns what it emitted.
inline QStringList runJob(const QString &source, const QString &target, const QDate &fromDate = QDate(),
                          const QDate &toDate = QDate())
{
    SDCardReader reader;
    QStringList log;
    recordSignals(reader, log);
    if (reader.startReading(source, target, fromDate, toDate))
        reader.wait();
    return log;
}

inline QString backupPath(const QString &target, const QString &serialNumber, const QString &label = "complete")
{
    return target + QStringLiteral("/Backup_CR#%1_%2.enc").arg(serialNumber, label);
}

//! What a register whose index and data files agree emits: progress, the complete backup, the index report.
inline QStringList goodBackup(const QString &target, const QString &serialNumber, int files = 4)
{
    return progress(files) + QStringList{finished(backupPath(target, serialNumber)),
        message("The data was created by reading from SD-Card or Backup.", false, 1),
        message("Serialnumber of the cash register: " + serialNumber, false, 2),
        message("The data index is correct, no issues recognised.", false, 3)};
}

} // namespace readertest

#endif // FISCORA_READERTEST_H
