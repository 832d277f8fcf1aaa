#include "listcommand.h"

#include "cardsearch.h"
#include "command.h"
#include "jobpaths.h"
#include "reporter.h"

#include <fiscora/cardlisting.h>

namespace fiscora::app {

ListCommand::ListCommand(Reporter &reporter)
    : m_reporter(reporter)
{
}

int ListCommand::run(const Command &command)
{
    m_reporter.setSubject({QString(), command.source});
    if (!JobPaths::sourceExists(m_reporter, command.source))
        return ExitFailed;
    const CardSearch search(command.source, command.fromDate, command.toDate);
    search.reportPassedOver(m_reporter);
    const QList<CardListing::Register> &registers = search.registers();
    if (registers.isEmpty()) {
        CardSearch::reportNoRegister(m_reporter, command.source);
        return ExitFailed;
    }
    m_reporter.cardListing(command.source, registers);
    // What a read would flag is flagged here too.
    bool sound = true;
    for (const CardListing::Register &cashRegister : registers) {
        sound = sound && cashRegister.error.isEmpty();
        for (const QPair<QString, bool> &message : cashRegister.index.getIndexMessages())
            sound = sound && !message.second;
    }
    return sound ? ExitDone : ExitFailed;
}

} // namespace fiscora::app
