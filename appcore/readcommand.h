#ifndef FISCORA_APP_READCOMMAND_H
#define FISCORA_APP_READCOMMAND_H

#include <fiscora/cardlisting.h>

#include <QCoreApplication>
#include <QList>

namespace fiscora::app {

class JobRunner;
class Reporter;
struct Command;

/*!
 * "read": backs up the registers of a card into one backup file each. The card is listed first,
 * so that backups in the way are named before anything is written, and each register is then
 * read on its own, so that everything reported is said of its register.
 *
 * \code
 * const int exitCode = ReadCommand(reporter, runner).run(command);
 * \endcode
 */
class ReadCommand
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::ReadCommand)

public:
    ReadCommand(Reporter &reporter, JobRunner &runner);

    /*!
     * Returns 0 when every register was backed up without an error or a flagged message, 1
     * otherwise, 128 plus the signal number after a stop by a signal.
     */
    int run(const Command &command);

private:
    bool targetOffTheCard(const Command &command);
    bool mayWriteBackups(const QList<CardListing::Register> &registers, const Command &command);
    bool backUp(const CardListing::Register &cashRegister, const Command &command);

    Reporter &m_reporter;
    JobRunner &m_runner;
};

} // namespace fiscora::app

#endif // FISCORA_APP_READCOMMAND_H
