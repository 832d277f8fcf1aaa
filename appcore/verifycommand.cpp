#include "verifycommand.h"

#include "command.h"
#include "exportcommand.h"
#include "jobpaths.h"
#include "jobrunner.h"
#include "linereader.h"
#include "reporter.h"
#include "stagedexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace fiscora::app {

namespace {

// An export folder is named after its period: "201903", "201901_201912", or the label of a
// backup of every month.
void takePeriod(const QString &label, Command *command)
{
    const QRegularExpression period(QStringLiteral("^(\\d{6})(?:_(\\d{6}))?$"));
    const QRegularExpressionMatch match = period.match(label);
    if (!match.hasMatch())
        return;
    command->fromDate = QDate::fromString(match.captured(1), QStringLiteral("yyyyMM"));
    command->toDate = QDate::fromString(match.captured(2), QStringLiteral("yyyyMM"));
}

} // namespace

bool Verification::isValid() const
{
    return result.isValid() && (backup.isEmpty() || (exported && md5Holds && differences.isEmpty()));
}

VerifyCommand::VerifyCommand(Reporter &reporter, JobRunner &runner)
    : m_reporter(reporter)
    , m_runner(runner)
{
}

int VerifyCommand::run(const Command &command)
{
    m_reporter.setSubject({QString(), command.source});
    if (!JobPaths::sourceExists(m_reporter, command.source))
        return ExitFailed;
    if (!QFileInfo(command.source).isDir()) {
        m_reporter.error(tr("%1 is no folder.").arg(command.source),
                         tr("Give the folder that holds index.xml and the table file."));
        return ExitFailed;
    }
    Verification verification;
    verification.folder = command.source;
    verification.result = ExportVerifier::verify(command.source);
    if (!command.target.isEmpty())
        compareWithBackup(m_reporter, m_runner, command.target, &verification);
    if (m_runner.stopRequested())
        return m_runner.stoppedExitCode();
    m_reporter.verification(verification);
    return verification.isValid() ? ExitDone : ExitFailed;
}

void VerifyCommand::compareWithBackup(Reporter &reporter, JobRunner &runner, const QString &backup,
                                      Verification *verification)
{
    verification->backup = backup;
    Command again;
    again.kind = Command::Export;
    again.source = backup;
    again.gdpduExport = true;
    takePeriod(QFileInfo(verification->folder).fileName(), &again);
    Command checked = again;
    checked.kind = Command::Verify;
    if (!ExportCommand::checkBackup(reporter, checked))
        return;
    const QTemporaryDir scratch;
    again.target = scratch.path();
    StagedExport staged(reporter, runner, again, JobRunner::ForwardLineProblems);
    verification->exported = staged.run();
    verification->md5Holds = !staged.outcome().files.isEmpty() && !staged.outcome().hashInvalid;
    if (!verification->exported)
        return;
    QStringList names = QDir(staged.path()).entryList(QDir::Files) + QDir(verification->folder).entryList(QDir::Files);
    names.removeDuplicates();
    for (const QString &name : names) {
        const qint64 line = firstDifference(verification->folder + QLatin1Char('/') + name,
                                            staged.path() + QLatin1Char('/') + name);
        if (line >= 0)
            verification->differences.insert(name, line);
    }
}

qint64 VerifyCommand::firstDifference(const QString &first, const QString &second)
{
    QFile one(first);
    QFile other(second);
    if (!one.open(QIODevice::ReadOnly) || !other.open(QIODevice::ReadOnly))
        return 0;
    LineReader oneLines(&one, '\n', ExportVerifier::LongestRow);
    LineReader otherLines(&other, '\n', ExportVerifier::LongestRow);
    QByteArray oneLine;
    QByteArray otherLine;
    for (;;) {
        const bool oneRead = oneLines.readLine(&oneLine);
        const bool otherRead = otherLines.readLine(&otherLine);
        if (oneLines.hasError() || otherLines.hasError())
            return 0;
        if (oneRead != otherRead || oneLine != otherLine || oneLines.ended() != otherLines.ended()
            || oneLines.truncated() || otherLines.truncated())
            return oneLines.lineNumber();
        if (!oneRead)
            return -1;
    }
}

} // namespace fiscora::app
