#include "listcommand.h"

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
    const QList<CardListing::Register> registers = CardListing::list(command.source, command.fromDate, command.toDate);
    m_reporter.cardListing(command.source, registers);
    bool readable = !registers.isEmpty();
    for (const CardListing::Register &cashRegister : registers)
        readable = readable && cashRegister.error.isEmpty();
    return readable ? ExitDone : ExitFailed;
}

} // namespace fiscora::app
