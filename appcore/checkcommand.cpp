#include "checkcommand.h"

#include "backupinfo.h"
#include "checkanalysis.h"
#include "checkpdf.h"
#include "checktally.h"
#include "command.h"
#include "decryptedfacts.h"
#include "jobpaths.h"
#include "jobrunner.h"
#include "journalfacts.h"
#include "reporter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace fiscora::app {

namespace {

// The table of an export folder, as "fiscora export --gdpdu" names it.
const QLatin1String TableName("gobd.csv");

} // namespace

CheckCommand::CheckCommand(Reporter &reporter, JobRunner &runner)
    : m_reporter(reporter)
    , m_runner(runner)
{
}

CheckCommand::~CheckCommand() = default;

int CheckCommand::run(const Command &command)
{
    m_reporter.setSubject({QString(), command.source});
    if (!JobPaths::sourceExists(m_reporter, command.source)
        || (!command.reportFile.isEmpty() && !JobPaths::mayWrite(m_reporter, command.reportFile, command.overwrite)))
        return ExitFailed;
    CheckTerms terms;
    if (!command.takingsType.isEmpty())
        terms.takings = command.takingsType.toLatin1();
    CheckTally tally(terms);
    const JournalFacts *facts =
            QFileInfo(command.source).isDir() ? readFolder(command, tally) : readBackup(command, tally);
    if (m_runner.stopRequested())
        return m_runner.stoppedExitCode();
    if (!facts || !hasTakings(tally))
        return ExitFailed;
    const CheckReport report = CheckAnalysis::analyse(*facts, tally);
    m_reporter.check(report);
    if (!command.reportFile.isEmpty() && !writeReport(command.reportFile, report))
        return ExitFailed;
    return report.flagged() || (m_decrypted && m_decrypted->flagged()) ? ExitFailed : ExitDone;
}

// The records are checked as they are decrypted, and those it could not read are said as the
// export says them.
const JournalFacts *CheckCommand::readBackup(const Command &command, CheckTally &tally)
{
    BackupInfo info;
    if (info.readHeader(command.source) != BackupInfo::HeaderRead) {
        m_reporter.error(info.errorText(), tr("Choose a backup file written by \"fiscora read\", or an export folder."));
        return nullptr;
    }
    m_reporter.setSubject({info.serialNumber(), command.source});
    m_decrypted = std::make_unique<DecryptedFacts>(m_reporter, m_runner, command);
    m_decrypted->setRowSink(&tally);
    if (!m_decrypted->run())
        return nullptr;
    if (m_decrypted->md5Holds())
        return &m_decrypted->facts();
    m_reporter.error(tr("%1 was not checked: its data does not match the MD5 value of its header.").arg(command.source),
                     tr("The backup has been altered or damaged. Read the card again, or ask for an intact copy of "
                        "the backup."));
    return nullptr;
}

const JournalFacts *CheckCommand::readFolder(const Command &command, CheckTally &tally)
{
    const QString table = QDir(command.source).filePath(TableName);
    if (!QFileInfo(table).isFile()) {
        m_reporter.error(tr("The folder %1 holds no table file %2.").arg(command.source, TableName),
                         tr("Choose an export folder written by \"fiscora export --gdpdu\", or a backup file."));
        return nullptr;
    }
    m_facts = std::make_unique<JournalFacts>(TableLayout::ofExports(), command.fromDate, command.toDate);
    m_facts->setRowSink(&tally);
    bool read = false;
    m_runner.runInThread([&] { read = m_facts->addFile(table, nullptr, &m_runner.stopFlag()); });
    if (read || m_runner.stopRequested())
        return m_facts.get();
    m_reporter.error(tr("Cannot read the table file %1: %2").arg(table, m_facts->errorString()),
                     tr("Check the path and your read permission."));
    return nullptr;
}

bool CheckCommand::hasTakings(const CheckTally &tally)
{
    if (!tally.days().empty())
        return true;
    QStringList types;
    for (const TallyEntry &type : tally.paymentWayTypes())
        types << QStringLiteral("\"%1\"").arg(QString::fromLatin1(type.name));
    const QString type = QString::fromLatin1(tally.terms().takings);
    m_reporter.error(tr("The journal of the period holds no lines of Buchungstyp \"%1\" to take the takings from.").arg(type),
                     types.isEmpty() ? tr("Name the Buchungstyp of the payment lines with --takings TYPE.")
                                     : tr("Lines that name a payment way have the Buchungstyp %1: name the one of the "
                                          "payment lines with --takings TYPE.")
                                               .arg(types.join(QLatin1String(", "))));
    return false;
}

bool CheckCommand::writeReport(const QString &file, const CheckReport &report)
{
    QSaveFile pdf(file);
    if (pdf.open(QIODevice::WriteOnly) && pdf.write(CheckPdf().pdf(report)) >= 0 && pdf.commit()) {
        m_reporter.finished(file);
        return true;
    }
    m_reporter.error(tr("Cannot write the report %1: %2").arg(file, pdf.errorString()),
                     tr("Check the free space and your write permission for its folder."));
    return false;
}

} // namespace fiscora::app
