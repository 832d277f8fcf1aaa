#include "tappedexport.h"

#include "periodfindings.h"
#include "tablepipe.h"

#include "exportrun_p.h"
#include "workerreport_p.h"

namespace fiscora::app {

namespace {

// The rows that a line message names go into the pipe before the bytes of those rows, which
// the record stream still holds when it says so.
class PipeReport final : public WorkerReport<TappedExport>
{
public:
    PipeReport(TappedExport &worker, TablePipe &pipe)
        : WorkerReport(worker)
        , m_pipe(pipe)
    {
    }

    void message(const QString &text, bool isError, int count) override
    {
        if (count == 0)
            m_pipe.rowsNamed(PeriodFindings::namedRows({{text, isError, count}}));
        WorkerReport::message(text, isError, count);
    }

private:
    TablePipe &m_pipe;
};

} // namespace

TappedExport::TappedExport(const ExportRequest &request, TablePipe &pipe)
    : m_request(request)
    , m_pipe(pipe)
{
    // The analyser is queued by its name, as from the decryptor.
    qRegisterMetaType<IndexFileAnalyser>();
}

void TappedExport::run()
{
    const ExportJob job{m_request.backup, QString(), m_request.rawDataOnly, m_request.gdpduExport,
                        m_request.indexInfoLine, m_request.skipLineCheck, &m_pipe};
    PipeReport report(*this, m_pipe);
    ExportRun(report, m_stopRequested, job).run();
    m_pipe.endWriting();
}

} // namespace fiscora::app
