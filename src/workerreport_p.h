#ifndef FISCORA_WORKERREPORT_P_H
#define FISCORA_WORKERREPORT_P_H

#include "jobreport_p.h"

namespace fiscora {

/*!
 * What an export reports goes out as the signals of the worker that runs it, which has those of
 * KTLCypher: error(), processMessages(), initProgressBar(), updateProgressBar(),
 * finishSuccessful() and fileSaved().
 *
 * \code
 * WorkerReport<KTLCypher> report(*this);
 * ExportRun(report, m_stopRequested, job).run();
 * \endcode
 */
template <typename Worker>
class WorkerReport : public ExportReport
{
public:
    explicit WorkerReport(Worker &worker)
        : m_worker(worker)
    {
    }

    void fail(const QString &error, const QString &hint) override { emit m_worker.error(error, hint); }
    void message(const QString &text, bool isError, int count) override
    {
        emit m_worker.processMessages(text, isError, count);
    }
    void progressStarted(int maximum) override { emit m_worker.initProgressBar(0, maximum); }
    void progress(int value) override { emit m_worker.updateProgressBar(value); }
    void tableWritten(const QString &file, const IndexFileAnalyser &analyser) override
    {
        emit m_worker.finishSuccessful(file, analyser);
    }
    void fileSaved(const QString &file) override { emit m_worker.fileSaved(file); }

private:
    Worker &m_worker;
};

} // namespace fiscora

#endif // FISCORA_WORKERREPORT_P_H
