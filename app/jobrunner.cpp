#include "jobrunner.h"

#include "interruptwatcher.h"
#include "reporter.h"

#include <fiscora/ktlcypher.h>
#include <fiscora/sdcardreader.h>

#include <QDir>

namespace fiscora::cli {

JobRunner::JobRunner(Reporter &reporter, QObject *parent)
    : QObject(parent)
    , m_reporter(reporter)
{
}

// The worker, a child of this object, has always ended by now: run() waits for it.
JobRunner::~JobRunner() = default;

int JobRunner::run(const Command &command)
{
    // The library writes into the target folder but leaves creating it to the application.
    if (!QDir().mkpath(command.target)) {
        m_reporter.error(tr("Cannot create the target folder %1.").arg(command.target),
                         tr("Check the path and your write permission for its parent folder."));
        return ExitFailed;
    }
    InterruptWatcher watcher;
    connect(&watcher, &InterruptWatcher::interrupted, this, &JobRunner::interrupt);
    if (command.kind == Command::Read)
        startReader(command);
    else
        startCypher(command);
    return m_loop.exec();
}

void JobRunner::startReader(const Command &command)
{
    auto *reader = new SDCardReader(this);
    follow(reader);
    connect(reader, &SDCardReader::processMessage, this, &JobRunner::onMessage);
    connect(reader, &SDCardReader::finishSuccesful, this, &JobRunner::onFinished);
    reader->startReading(command.source, command.target, command.fromDate, command.toDate);
}

void JobRunner::startCypher(const Command &command)
{
    auto *cypher = new KTLCypher(this);
    follow(cypher);
    connect(cypher, &KTLCypher::processMessages, this, &JobRunner::onMessage);
    connect(cypher, &KTLCypher::finishSuccessful, this, &JobRunner::onFinished);
    connect(cypher, &KTLCypher::fileSaved, this, [this](const QString &file) { m_reporter.fileSaved(file); });
    cypher->startDecryption(command.source, command.target, command.rawDataOnly, command.gdpduExport,
                            command.indexInfoLine, command.skipLineCheck);
}

// The workers emit from their own threads; this object lives in the application's thread, so
// every connection is queued and the handlers run here, one after the other.
template <typename Worker>
void JobRunner::follow(Worker *worker)
{
    m_worker = worker;
    m_stopWorker = [worker] { worker->stopProcess(); };
    connect(worker, &Worker::error, this, &JobRunner::onError);
    connect(worker, &Worker::initProgressBar, this,
            [this](int startValue, int endValue) { m_reporter.progressStarted(startValue, endValue); });
    connect(worker, &Worker::updateProgressBar, this, [this](int value) { m_reporter.progress(value); });
    // Queued behind every signal of the job, so nothing it reported is lost.
    connect(worker, &QThread::finished, this, &JobRunner::end);
}

void JobRunner::onError(const QString &error, const QString &hint)
{
    m_failureReported = true;
    m_reporter.error(error, hint);
}

// A message flagged as an error (a damaged line, records that could not be read, a missing
// month, an invalid hash value) is a failure that scripts must be able to notice.
void JobRunner::onMessage(const QString &text, bool isError, int count)
{
    m_failureReported = m_failureReported || isError;
    m_reporter.message(text, isError, count);
}

void JobRunner::onFinished(const QString &file)
{
    ++m_filesFinished;
    m_reporter.finished(file);
}

void JobRunner::interrupt(int signalNumber)
{
    if (m_interruptSignal != 0)
        return;
    m_interruptSignal = signalNumber;
    m_reporter.interrupted();
    m_stopWorker();
}

void JobRunner::end()
{
    // QThread::finished comes just before the thread is done; it must be done before it is destroyed.
    m_worker->wait();
    m_loop.exit(exitCode());
}

int JobRunner::exitCode() const
{
    if (m_interruptSignal != 0)
        return 128 + m_interruptSignal;
    return m_failureReported || m_filesFinished == 0 ? ExitFailed : ExitDone;
}

} // namespace fiscora::cli
