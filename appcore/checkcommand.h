#ifndef FISCORA_APP_CHECKCOMMAND_H
#define FISCORA_APP_CHECKCOMMAND_H

#include <QCoreApplication>
#include <QString>

#include <memory>

namespace fiscora::app {

class CheckTally;
class JobRunner;
class JournalFacts;
class Reporter;
class DecryptedFacts;
struct CheckReport;
struct Command;

/*!
 * "check": what the tests of a tax audit make of a journal, before it is handed over. A backup's
 * records are checked as it is decrypted, the one pass of the journal's facts giving the check's
 * tally too; an export folder's table is read as it is. Reports the findings and, when asked, writes
 * their charts into a PDF.
 *
 * \code
 * const int exitCode = CheckCommand(reporter, runner).run(command);
 * \endcode
 */
class CheckCommand
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::CheckCommand)

public:
    CheckCommand(Reporter &reporter, JobRunner &runner);
    ~CheckCommand();

    //! Returns 0 when no test flags the journal and it was read whole, 1 otherwise.
    int run(const Command &command);

private:
    const JournalFacts *readBackup(const Command &command, CheckTally &tally);
    const JournalFacts *readFolder(const Command &command, CheckTally &tally);
    bool hasTakings(const CheckTally &tally);
    bool writeReport(const QString &file, const CheckReport &report);

    Reporter &m_reporter;
    JobRunner &m_runner;
    // The facts of a backup or of a folder's table, which the report reads.
    std::unique_ptr<DecryptedFacts> m_decrypted;
    std::unique_ptr<JournalFacts> m_facts;
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHECKCOMMAND_H
