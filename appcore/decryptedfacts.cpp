#include "decryptedfacts.h"

#include "periodfindings.h"
#include "reporter.h"
#include "tablepipe.h"

#include <QThread>

namespace fiscora::app {

DecryptedFacts::DecryptedFacts(Reporter &reporter, JobRunner &runner, const Command &command)
    : m_reporter(reporter)
    , m_runner(runner)
    , m_command(command)
    , m_facts(TableLayout::ofExports(), command.fromDate, command.toDate)
{
}

DecryptedFacts::~DecryptedFacts() = default;

bool DecryptedFacts::run(QIODevice *periodTable)
{
    TablePipe pipe;
    pipe.onRowsNamed([this](const QList<qint64> &rows) { m_facts.locate(rows); });
    bool counted = false;
    const std::unique_ptr<QThread> counting(QThread::create([&] {
        counted = m_facts.addDevice(pipe, periodTable, &m_runner.stopFlag(), m_command.indexInfoLine);
        pipe.abandon();
    }));
    counting->start();
    const ExportRequest request{m_command.source, QString(), m_command.rawDataOnly, m_command.gdpduExport,
                                m_command.indexInfoLine, m_command.skipLineCheck};
    // The report waits for the facts, which tell what of it concerns the period and where.
    m_outcome = m_runner.exportInto(request, pipe, JobRunner::ForwardErrors);
    // An export that a stop kept from starting did not end the pipe.
    pipe.endWriting();
    m_runner.runInThread([&] { counting->wait(); });
    counting->wait();
    if (m_runner.stopRequested() || !m_outcome.decrypted)
        return false;
    m_findings = std::make_unique<PeriodFindings>(m_outcome.analyser, m_facts, m_outcome.messages);
    for (const ReportedMessage &message : m_findings->report()) {
        if (message.isError && message.count == 0)
            m_reporter.message(message.text, true, 0);
    }
    return counted;
}

bool DecryptedFacts::flagged() const
{
    return m_outcome.errorReported || (m_findings && m_findings->flagged());
}

} // namespace fiscora::app
