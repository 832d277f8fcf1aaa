#ifndef FISCORA_JOBLOG_H
#define FISCORA_JOBLOG_H

// What a job reports, as lines of text in the order of their emission, so that one QCOMPARE
// proves order, arguments and absence at once. A worker's signals (SignalLog) and a run's report
// without a thread (recordedreport.h) give the same lines.

#include <fiscora/ktlcypher.h>
#include <fiscora/sdcardreader.h>

#include <QStringList>

namespace joblog {

// The lines, named after the workers' signals.
inline QString error(const QString &error, const QString &hint)
{
    return QStringLiteral("error(%1 | %2)").arg(error, hint);
}
//! A message of the reader (processMessage) or of the decryptor (processMessages, with "s").
inline QString message(const QString &text, bool isError, int count, const char *signal = "processMessage")
{
    return QStringLiteral("%1(%2, %3, %4)")
        .arg(QLatin1String(signal), text, isError ? QStringLiteral("true") : QStringLiteral("false"))
        .arg(count);
}
inline QString exportMessage(const QString &text, bool isError, int count = 0)
{
    return message(text, isError, count, "processMessages");
}
inline QString progressStarted(int maximum)
{
    return QStringLiteral("initProgressBar(0, %1)").arg(maximum);
}
inline QString progress(int value)
{
    return QStringLiteral("updateProgressBar(%1)").arg(value);
}
inline QString backupWritten(const QString &file)
{
    return QStringLiteral("finishSuccesful(%1)").arg(file);
}
inline QString tableWritten(const QString &file)
{
    return QStringLiteral("finishSuccessful(%1)").arg(file);
}
inline QString fileSaved(const QString &file)
{
    return QStringLiteral("fileSaved(%1)").arg(file);
}

//! The lines without the progress values: how many there are depends on the size of the data.
inline QStringList withoutProgress(const QStringList &lines)
{
    QStringList kept;
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1String("updateProgressBar(")))
            kept << line;
    }
    return kept;
}

/*!
 * Records the signals of a worker as lines, in the worker's thread, which keeps their order.
 * Read lines once the job has ended.
 */
class SignalLog
{
public:
    explicit SignalLog(fiscora::SDCardReader &reader)
    {
        using fiscora::SDCardReader;
        record(reader, &SDCardReader::finishSuccesful, [](const QString &file) { return backupWritten(file); });
        record(reader, qOverload<const QString &, bool, int>(&SDCardReader::processMessage),
               [](const QString &text, bool isError, int count) { return message(text, isError, count); });
        recordCommon(reader);
    }

    explicit SignalLog(fiscora::KTLCypher &cypher)
    {
        using fiscora::KTLCypher;
        record(cypher, &KTLCypher::finishSuccessful,
               [](const QString &file, const fiscora::IndexFileAnalyser &) { return tableWritten(file); });
        record(cypher, qOverload<const QString &, bool, int>(&KTLCypher::processMessages),
               [](const QString &text, bool isError, int count) { return exportMessage(text, isError, count); });
        record(cypher, &KTLCypher::fileSaved, [](const QString &file) { return fileSaved(file); });
        recordCommon(cypher);
    }

    QStringList lines;

private:
    template <typename Worker, typename Signal, typename Line>
    void record(Worker &worker, Signal signal, Line line)
    {
        QObject::connect(&worker, signal, &worker, [this, line](auto... arguments) { lines << line(arguments...); },
                         Qt::DirectConnection);
    }

    template <typename Worker>
    void recordCommon(Worker &worker)
    {
        record(worker, &Worker::error, [](const QString &text, const QString &hint) { return error(text, hint); });
        record(worker, &Worker::initProgressBar, [](int, int maximum) { return progressStarted(maximum); });
        record(worker, &Worker::updateProgressBar, [](int value) { return progress(value); });
    }
};

} // namespace joblog

#endif // FISCORA_JOBLOG_H
