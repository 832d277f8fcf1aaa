#ifndef FISCORA_APP_PACKAGECOMMAND_H
#define FISCORA_APP_PACKAGECOMMAND_H

#include "exportverifier.h"
#include "handoverprotocol.h"

#include <QCoreApplication>

namespace fiscora::app {

class BackupInfo;
class FileDigest;
class JobRunner;
class Reporter;
class StagedExport;
struct Command;
class PeriodFindings;

/*!
 * "package": exports a backup for GDPdU, verifies the export and writes the hand-over archive
 * TARGET/CR#<serial>_<label>.zip with the export folder, the protocol's figures beside its table
 * (HandoverFigures), the manifest and the protocol.
 *
 * No archive is written when the MD5 proof fails or the verification finds anything but the
 * rows of damaged records that the export itself reported; those do not stop it, the protocol
 * states them, as it states the months of the period without any record. A stop is taken while
 * the archive is written, too.
 *
 * \code
 * const int exitCode = PackageCommand(reporter, runner).run(command);
 * \endcode
 */
class PackageCommand
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::PackageCommand)

public:
    PackageCommand(Reporter &reporter, JobRunner &runner);

    /*!
     * 0 when the archive is written and nothing was flagged, 1 otherwise, 128 plus the signal
     * number after a stop by a signal.
     */
    int run(const Command &command);

    //! The archive that run() would write for \a command, named before anything is read.
    static QString plannedArchive(const Command &command);
    //! What the protocol of the archive that run() wrote states; empty before an archive is written.
    const HandoverFacts &handover() const { return m_handover; }

private:
    bool check(const StagedExport &staged, BackupInfo &info, QStringList *problems, HandoverFacts *digests);
    bool passes(const ExportVerifier::Result &result, const StagedExport &staged, QStringList *problems);
    QStringList gaps(const HandoverFacts &handover, const PeriodFindings &findings);
    static bool hashFiles(FileDigest &digest, const QString &backup, const QString &exportFolder,
                          HandoverFacts *digests);
    bool writeArchive(const Command &command, const StagedExport &staged, HandoverFacts handover);
    HandoverFacts facts(const Command &command, const BackupInfo &info, const StagedExport &staged) const;

    Reporter &m_reporter;
    JobRunner &m_runner;
    HandoverFacts m_handover;
};

} // namespace fiscora::app

#endif // FISCORA_APP_PACKAGECOMMAND_H
