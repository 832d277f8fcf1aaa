#ifndef FISCORA_CLI_INFOCOMMAND_H
#define FISCORA_CLI_INFOCOMMAND_H

#include <QCoreApplication>
#include <QString>

class QFile;

namespace fiscora::cli {

class Reporter;

/*!
 * "fiscora info": reads the header of a backup file without decrypting anything, and checks the
 * data behind it against the header's MD5 value.
 *
 * \code
 * const int exitCode = InfoCommand(*reporter).run(QStringLiteral("Backup_CR#12345678_complete.enc"));
 * \endcode
 */
class InfoCommand
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::cli::InfoCommand)

public:
    explicit InfoCommand(Reporter &reporter);

    /*!
     * Reports on \a backupFile and returns the exit code: 0 when its data matches the header's
     * MD5 value, 1 when it does not or the file has no readable header.
     */
    int run(const QString &backupFile);

private:
    int readFailed(const QFile &file);

    Reporter &m_reporter;
};

} // namespace fiscora::cli

#endif // FISCORA_CLI_INFOCOMMAND_H
