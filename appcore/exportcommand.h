#ifndef FISCORA_APP_EXPORTCOMMAND_H
#define FISCORA_APP_EXPORTCOMMAND_H

#include <QCoreApplication>

namespace fiscora::app {

class JobRunner;
class Reporter;
struct Command;

/*!
 * "export": decrypts a backup into a table file (with its GDPdU description, when asked), of the
 * whole backup or of a period, and puts it in place only when it is whole and proven.
 *
 * \code
 * const int exitCode = ExportCommand(reporter, runner).run(command);
 * \endcode
 */
class ExportCommand
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::ExportCommand)

public:
    ExportCommand(Reporter &reporter, JobRunner &runner);

    /*!
     * Returns 0 when the export is in place and nothing was flagged, 1 otherwise, 128 plus the
     * signal number after a stop by a signal.
     */
    int run(const Command &command);

    /*!
     * Whether \a command names a backup whose header can be read, or bare records; reports why
     * not. Sets the subject of the report to the backup.
     */
    static bool checkBackup(Reporter &reporter, const Command &command);

private:
    Reporter &m_reporter;
    JobRunner &m_runner;
};

} // namespace fiscora::app

#endif // FISCORA_APP_EXPORTCOMMAND_H
