#ifndef FISCORA_APP_DECRYPTEDFACTS_H
#define FISCORA_APP_DECRYPTEDFACTS_H

#include "command.h"
#include "jobrunner.h"
#include "journalfacts.h"

#include <memory>

class QIODevice;

namespace fiscora::app {

class PeriodFindings;
class Reporter;
class RowSink;

/*!
 * The journal's facts of a backup, taken while it is decrypted: the library's export hands its
 * table through a pipe to the facts, which read it on a core of their own, and no table file is
 * written. The export's messages on damaged and lost records, and the flagged findings on the
 * period, go on to the reporter; so do its errors.
 *
 * \code
 * DecryptedFacts decrypted(reporter, runner, command);
 * if (decrypted.run() && decrypted.md5Holds())
 *     report(decrypted.facts(), *decrypted.findings());
 * \endcode
 */
class DecryptedFacts
{
public:
    //! The backup \a command's source, and its period, if any.
    DecryptedFacts(Reporter &reporter, JobRunner &runner, const Command &command);
    ~DecryptedFacts();

    //! Hands each record of the period to \a sink as the facts are taken; before run().
    void setRowSink(RowSink *sink) { m_facts.setRowSink(sink); }
    /*!
     * Decrypts the backup, the rows of the period going to \a periodTable as well, if any. False
     * when not every record could be decrypted, \a periodTable took no more, or on a stop.
     */
    bool run(QIODevice *periodTable = nullptr);

    const JobOutcome &outcome() const { return m_outcome; }
    //! Whether the data matched the MD5 value of its header.
    bool md5Holds() const { return m_outcome.decrypted && !m_outcome.hashInvalid; }
    const JournalFacts &facts() const { return m_facts; }
    //! What the facts say of the period, once every record was decrypted; nullptr before.
    const PeriodFindings *findings() const { return m_findings.get(); }
    //! Whether an error or a flagged finding on the period was reported.
    bool flagged() const;

private:
    Reporter &m_reporter;
    JobRunner &m_runner;
    const Command m_command;
    JournalFacts m_facts;
    JobOutcome m_outcome;
    std::unique_ptr<PeriodFindings> m_findings;
};

} // namespace fiscora::app

#endif // FISCORA_APP_DECRYPTEDFACTS_H
