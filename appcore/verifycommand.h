#ifndef FISCORA_APP_VERIFYCOMMAND_H
#define FISCORA_APP_VERIFYCOMMAND_H

#include "exportverifier.h"

#include <QCoreApplication>
#include <QMap>
#include <QString>

namespace fiscora::app {

class JobRunner;
class Reporter;
struct Command;

//! What "verify" found in an export folder, and, with a backup, how it compares.
struct Verification
{
    QString folder;
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

    bool isValid() const;
};

/*!
 * "verify": checks an export folder (ExportVerifier) and, given the backup it was made from,
 * exports that backup again, for the period the folder's name tells, and compares file by file.
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

    //! 0 when the export is sound (and is what the backup gives), 1 otherwise.
    int run(const Command &command);

    /*!
     * Exports \a backup again for the period of \a exportFolder's name and compares; fills the
     * comparison members of \a verification.
     */
    static void compareWithBackup(Reporter &reporter, JobRunner &runner, const QString &backup,
                                  Verification *verification);

    /*!
     * The line of \a first at which it and \a second part, 0 when one cannot be read or \a stop
     * is set, -1 when they are the same.
     */
    static qint64 firstDifference(const QString &first, const QString &second, const std::atomic_bool *stop = nullptr);

private:
    //! The period of \a folder's name on \a command, and the sentence that says so.
    static QString takePeriod(const QString &folder, Command *command);
    static void checkTable(const Command &period, Verification *verification, const std::atomic_bool &stop);

    Reporter &m_reporter;
    JobRunner &m_runner;
};

} // namespace fiscora::app

#endif // FISCORA_APP_VERIFYCOMMAND_H
