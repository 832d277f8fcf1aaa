#ifndef FISCORA_APP_VERIFYCOMMAND_H
#define FISCORA_APP_VERIFYCOMMAND_H

#include "exportverifier.h"

#include <QCoreApplication>
#include <QMap>
#include <QString>

#include <memory>

class QTemporaryDir;

namespace fiscora::app {

class JobRunner;
class JournalFacts;
class Reporter;
struct Command;

//! What "verify" found in an export folder, and, with a backup, how it compares.
struct Verification
{
    QString folder;
    //! The hand-over archive the folder was unpacked from, and the folder's name in it; nothing
    //! when a folder was verified.
    QString archive;
    QString folderInArchive;
    ExportVerifier::Result result;
    //! The backup the folder was compared with, or nothing.
    QString backup;
    //! Whether the backup could be exported to compare with.
    bool exported = false;
    //! Whether the backup's data matches the MD5 value of its header.
    bool md5Holds = false;
    //! The files that differ from the backup's export, with the first line that differs (0: the
    //! file is missing on one side).
    QMap<QString, qint64> differences;
    //! Whether the backup's export reported damaged or lost records: the folder holds them too.
    bool damageReported = false;
    //! The period the folder holds, and where that was learnt, in words.
    QString period;
    //! What the table's own rows show wrong: gaps and repeats in the numbering, rows outside the
    //! period, no rows at all.
    QStringList tableFindings;
    //! What the archive shows wrong: files that its manifest does not vouch for, or that a
    //! hand-over does not hold.
    QStringList archiveFindings;
    //! Whether the figures of a hand-over were compared with the table and the files, as they are
    //! when the folder holds them and always for an archive, and what they show wrong.
    bool figuresChecked = false;
    QStringList figuresFindings;

    //! The folder as the user knows it: its path, or its name in the archive.
    QString shownFolder() const { return archive.isEmpty() ? folder : folderInArchive; }
    bool isValid() const;
};

/*!
 * "verify": checks an export folder (ExportVerifier), the rows of its table, and the figures of a
 * hand-over (FiguresCheck) where the folder holds them; given the backup it was made from, it
 * decrypts that backup again, for the period the folder's name tells, and compares file by file
 * with what an export of it holds, the table as it is decrypted.
 * A hand-over archive is unpacked into a temporary folder first, its files checked against its
 * manifest, and its export folder checked as any.
 *
 * \code
 * const int exitCode = VerifyCommand(reporter, runner).run(command);
 * \endcode
 */
class VerifyCommand
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::VerifyCommand)

public:
    VerifyCommand(Reporter &reporter, JobRunner &runner);

    //! 0 when the export or archive is sound (and is what the backup gives), 1 otherwise.
    int run(const Command &command);

    /*!
     * Decrypts \a backup again for the period of the export folder's name and compares; fills
     * the comparison members of \a verification.
     */
    static void compareWithBackup(Reporter &reporter, JobRunner &runner, const QString &backup,
                                  Verification *verification);

    /*!
     * The line of \a first at which it and \a second part, 0 when one cannot be read or \a stop
     * is set, -1 when they are the same; \a second may be a resource.
     */
    static qint64 firstDifference(const QString &first, const QString &second, const std::atomic_bool *stop = nullptr);

private:
    //! The folder to verify, unpacked into \a scratch from an archive; false when there is none.
    bool takeSource(const QString &source, std::unique_ptr<QTemporaryDir> &scratch, Verification *verification);
    bool unpackArchive(const QString &zipPath, const QString &scratch, Verification *verification);
    //! The period of \a folder's name on \a command, and the sentence that says so.
    static QString takePeriod(const QString &folder, Command *command);
    static void checkTable(const Command &period, Verification *verification, const std::atomic_bool &stop);
    static void checkFigures(const JournalFacts &facts, Verification *verification, const std::atomic_bool &stop);

    Reporter &m_reporter;
    JobRunner &m_runner;
};

} // namespace fiscora::app

#endif // FISCORA_APP_VERIFYCOMMAND_H
