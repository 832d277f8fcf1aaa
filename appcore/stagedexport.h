#ifndef FISCORA_APP_STAGEDEXPORT_H
#define FISCORA_APP_STAGEDEXPORT_H

#include "jobrunner.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace fiscora {
class FileLock;
}

namespace fiscora::app {

class JournalFacts;
class PeriodFindings;
class Reporter;
struct ReportedMessage;
struct Command;

/*!
 * An export that is put in place only when it is whole and proven: the library exports into a
 * hidden staging folder below the target, and only an export whose data matches the backup's
 * MD5 value, with its description files, moves to its place, replacing an earlier one there
 * only when asked to, whole and in one step. A failed or stopped export leaves the target as it
 * was; one job at a time exports to a place, and a staging folder that a job left when it was
 * killed is removed by the next export into that target.
 *
 * \code
 * StagedExport staged(reporter, runner, command);
 * if (staged.mayPlace() && staged.run() && staged.place())
 *     ...
 * \endcode
 *
 * The place is "CR#<serial>/<label>/" below the target (GDPdU) or the table file
 * "Backup_CR#<serial>_<label>.csv"; the label is the backup's, or that of the period asked for.
 */
class StagedExport
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::StagedExport)

public:
    StagedExport(Reporter &reporter, JobRunner &runner, const Command &command);
    ~StagedExport();

    //! Where the export will go below the target, as the backup's name tells before it is read:
    //! "CR#12345678/complete" or "Backup_CR#12345678_201903.csv".
    QString plannedName() const { return plannedName(m_command); }
    //! Where the export of \a command will go below its target, before anything is read.
    static QString plannedName(const Command &command);
    /*!
     * Takes the place for this job, and tells whether it is free or may be replaced; says what is
     * in the way otherwise, another job exporting to it included.
     */
    bool mayPlace();
    //! Exports into the staging folder; false when there is no export to place.
    bool run();
    //! Moves the export to its place; false, leaving an earlier export as it was, when it cannot.
    bool place();

    //! The export folder (GDPdU) or table file, in the staging folder until place() moves it.
    QString path() const { return m_path; }
    //! Where run()'s export goes below the target: "CR#12345678/201903".
    QString name() const;
    const JobOutcome &outcome() const { return m_outcome; }
    //! The journal's facts of the export's table, and what they say of its period; after run().
    const JournalFacts *facts() const { return m_facts.get(); }
    const PeriodFindings *findings() const { return m_findings.get(); }
    //! Whether an error or a flagged finding on the period was reported.
    bool flagged() const;

private:
    bool createStaging();
    bool descriptionWritten();
    bool takeFacts(const QString &table);
    void reportFindings(const QList<ReportedMessage> &report);
    static QString placeName(const QString &stagedName, const Command &command);
    bool replace(const QString &place);
    bool replaceFolder(const QString &place, QString *reason);
    bool swapIn(const QString &place, QString *earlier, QString *reason);
    bool placeFailed(const QString &place, const QString &reason);
    void reportPlaced(const QString &place);

    Reporter &m_reporter;
    JobRunner &m_runner;
    const Command &m_command;
    std::unique_ptr<FileLock> m_placeLock;
    // Declared before the folder, so that the folder is removed while still locked.
    std::unique_ptr<FileLock> m_stagingLock;
    std::unique_ptr<QTemporaryDir> m_staging;
    JobOutcome m_outcome;
    std::unique_ptr<JournalFacts> m_facts;
    std::unique_ptr<PeriodFindings> m_findings;
    QString m_path;
};

} // namespace fiscora::app

#endif // FISCORA_APP_STAGEDEXPORT_H
