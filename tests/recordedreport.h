#ifndef FISCORA_RECORDEDREPORT_H
#define FISCORA_RECORDEDREPORT_H

// A run's report, recorded as the lines that the worker's signals would give (joblog.h), so that
// the runs and the record stream are tested without a thread.

#include "jobreport_p.h"
#include "joblog.h"

#include <functional>

namespace joblog {

//! What every job reports; onProgress, when set, is called at each progress, in the middle of the run.
template <typename Report>
class Recorded : public Report
{
public:
    void fail(const QString &text, const QString &hint) override { lines << error(text, hint); }
    void message(const QString &text, bool isError, int count) override
    {
        lines << joblog::message(text, isError, count, m_messageSignal);
    }
    void progressStarted(int maximum) override { lines << joblog::progressStarted(maximum); }
    void progress(int value) override
    {
        lines << joblog::progress(value);
        if (onProgress)
            onProgress(value);
    }

    QStringList lines;
    std::function<void(int)> onProgress;

protected:
    explicit Recorded(const char *messageSignal)
        : m_messageSignal(messageSignal)
    {
    }

private:
    const char *m_messageSignal;
};

//! What the reader's runs report, as the reader's signals.
class RecordedBackupReport : public Recorded<fiscora::BackupReport>
{
public:
    RecordedBackupReport()
        : Recorded("processMessage")
    {
    }
    void backupWritten(const QString &file) override { lines << joblog::backupWritten(file); }
};

//! What an export and its record stream report, as the decryptor's signals.
class RecordedExportReport : public Recorded<fiscora::ExportReport>
{
public:
    RecordedExportReport()
        : Recorded("processMessages")
    {
    }
    void tableWritten(const QString &file, const fiscora::IndexFileAnalyser &) override
    {
        lines << joblog::tableWritten(file);
    }
    void fileSaved(const QString &file) override { lines << joblog::fileSaved(file); }
};

} // namespace joblog

#endif // FISCORA_RECORDEDREPORT_H
