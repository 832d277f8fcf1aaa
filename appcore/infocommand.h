#ifndef FISCORA_APP_INFOCOMMAND_H
#define FISCORA_APP_INFOCOMMAND_H

#include <QCoreApplication>
#include <QString>

namespace fiscora::app {

class BackupInfo;
struct Command;
class DecryptedFacts;
class JobRunner;
class Reporter;

/*!
 * "info": what a backup file's header says, whether the data behind it still matches the
 * header's MD5 value, and the period and records it holds.
 *
 * \code
 * const int exitCode = InfoCommand(reporter, runner).run(command);
 * \endcode
 */
class InfoCommand
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::InfoCommand)

public:
    InfoCommand(Reporter &reporter, JobRunner &runner);

    /*!
     * Reports on \a backupFile and returns the exit code: 0 when its data matches the header's
     * MD5 value, 1 when it does not or the file has no readable header.
     */
    int run(const Command &request);

private:
    bool hashed(BackupInfo &info, const DecryptedFacts &decrypted);

    Reporter &m_reporter;
    JobRunner &m_runner;
};

} // namespace fiscora::app

#endif // FISCORA_APP_INFOCOMMAND_H
