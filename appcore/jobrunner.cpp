#include "jobrunner.h"

#include "command.h"
#include "reporter.h"
#include "tappedexport.h"

#include <fiscora/ktlcypher.h>
#include <fiscora/sdcardreader.h>

#include <QThread>

#include <memory>

namespace fiscora::app {

JobRunner::JobRunner(Reporter &reporter, QObject *parent)
    : QObject(parent)
    , m_reporter(reporter)
{
}

// A worker lives only while run() waits for it.
JobRunner::~JobRunner() = default;

JobOutcome JobRunner::read(const QString &folder, const QString &target, const QDate &fromDate, const QDate &toDate)
{
    SDCardReader reader;
    connect(&reader, &SDCardReader::processMessage, this, &JobRunner::onMessage);
    connect(&reader, &SDCardReader::finishSuccesful, this, &JobRunner::onFinished);
    m_forwarding = ForwardEverything;
    return run(reader, [&] { reader.startReading(folder, target, fromDate, toDate); });
}

JobOutcome JobRunner::exportBackup(const ExportRequest &request, Forwarding forwarding)
{
    KTLCypher cypher;
    return runExport(cypher, forwarding, [&] {
        cypher.startDecryption(request.backup, request.target, request.rawDataOnly, request.gdpduExport,
                               request.indexInfoLine, request.skipLineCheck);
    });
}

JobOutcome JobRunner::exportInto(const ExportRequest &request, TablePipe &pipe, Forwarding forwarding)
{
    TappedExport worker(request, pipe);
    return runExport(worker, forwarding, [&] { worker.start(); });
}

template <typename Worker>
JobOutcome JobRunner::runExport(Worker &worker, Forwarding forwarding, const std::function<void()> &start)
{
    connect(&worker, &Worker::processMessages, this, &JobRunner::onMessage);
    connect(&worker, &Worker::finishSuccessful, this, [this](const QString &file, const IndexFileAnalyser &analyser) {
        m_outcome.analyser = analyser;
        m_outcome.decrypted = true;
        // A table that went into a pipe has no file.
        if (!file.isEmpty())
            onFinished(file);
    });
    connect(&worker, &Worker::fileSaved, this, [this](const QString &file) { m_outcome.savedFiles.append(file); });
    // The hash verdict follows the index report, numbered after it.
    connect(&worker, &Worker::processMessages, this, [this](const QString &, bool isError, int count) {
        if (isError && count == m_outcome.analyser.getIndexMessages().size() + 1 && m_outcome.decrypted)
            m_outcome.hashInvalid = true;
    });
    m_forwarding = forwarding;
    return run(worker, start);
}

// The workers emit from their own threads; this object lives in the application's thread, so
// every connection is queued and the handlers run here, one after the other. The thread's
// finished() is queued behind every signal of the job, so nothing it reported is lost.
template <typename Worker>
JobOutcome JobRunner::run(Worker &worker, const std::function<void()> &start)
{
    m_outcome = JobOutcome();
    if (m_stopRequested)
        return m_outcome;
    connect(&worker, &Worker::error, this, [this](const QString &error, const QString &hint) {
        m_outcome.failureReported = true;
        m_outcome.errorReported = true;
        m_reporter.error(error, hint);
    });
    if (m_forwarding != ForwardLineProblems) {
        connect(&worker, &Worker::initProgressBar, this,
                [this](int startValue, int endValue) { m_reporter.progressStarted(startValue, endValue); });
        connect(&worker, &Worker::updateProgressBar, this, [this](int value) { m_reporter.progress(value); });
    }
    connect(&worker, &QThread::finished, &m_loop, &QEventLoop::quit);
    m_stopWorker = [&worker] { worker.stopProcess(); };
    start();
    m_loop.exec();
    m_stopWorker = nullptr;
    // QThread::finished comes just before the thread is done; it must be done before it is destroyed.
    worker.wait();
    return m_outcome;
}

// A message flagged as an error (a damaged line, records that could not be read, a missing
// month, an invalid hash value) is a failure that scripts must be able to notice.
void JobRunner::onMessage(const QString &text, bool isError, int count)
{
    m_outcome.failureReported = m_outcome.failureReported || isError;
    m_outcome.messages.append({text, isError, count});
    if (isError)
        m_outcome.problems.append(text);
    // The index report and the hash verdict are numbered; the messages on lines are not.
    if (isError && count == 0)
        ++m_outcome.lineProblems;
    if (m_forwarding == ForwardEverything || (m_forwarding == ForwardLineProblems && isError && count == 0))
        m_reporter.message(text, isError, count);
}

void JobRunner::onFinished(const QString &file)
{
    m_outcome.files.append(file);
}

void JobRunner::runInThread(const std::function<void()> &work)
{
    if (m_stopRequested)
        return;
    const std::unique_ptr<QThread> thread(QThread::create(work));
    connect(thread.get(), &QThread::finished, &m_loop, &QEventLoop::quit);
    thread->start();
    m_loop.exec();
    thread->wait();
}

void JobRunner::stop(int signalNumber)
{
    if (m_stopRequested)
        return;
    m_stopRequested = true;
    m_stopSignal = signalNumber;
    m_reporter.interrupted();
    if (m_stopWorker)
        m_stopWorker();
}

int JobRunner::stoppedExitCode() const
{
    return m_stopSignal != 0 ? 128 + m_stopSignal : ExitFailed;
}

} // namespace fiscora::app
