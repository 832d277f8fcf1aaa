#include "packagecommand.h"

#include "backupinfo.h"
#include "command.h"
#include "exportcommand.h"
#include "handoverarchive.h"
#include "jobpaths.h"
#include "jobrunner.h"
#include "reporter.h"
#include "stagedexport.h"
#include "tablescan.h"

#include <QDateTime>
#include <QDir>

namespace fiscora::app {

namespace {

const QLatin1String TableFile("gobd.csv");

bool isTableRow(const Finding &finding)
{
    return finding.file == TableFile && finding.line > 0;
}

// Slashes of the export's place become underscores: "CR#12345678/201903" is packed as
// "CR#12345678_201903.zip".
QString archivePath(const QString &target, const QString &exportName)
{
    return target + QLatin1Char('/') + QString(exportName).replace(QLatin1Char('/'), QLatin1Char('_'))
        + QLatin1String(".zip");
}

Command gdpduExport(const Command &command)
{
    Command exportCommand = command;
    exportCommand.kind = Command::Export;
    exportCommand.gdpduExport = true;
    return exportCommand;
}

// The months the protocol lists: those of the period asked for or, for a whole backup, those from
// the first to the last month with records and every month the index reports a problem with.
QList<QDate> protocolMonths(const Command &command, const IndexFileAnalyser &analyser, const TableTotals &totals)
{
    const bool period = command.fromDate.isValid();
    const QDate first = period ? command.fromDate : totals.months.isEmpty() ? QDate() : totals.months.firstKey();
    const QDate last = !period ? (totals.months.isEmpty() ? QDate() : totals.months.lastKey())
                               : command.toDate.isValid() ? command.toDate : command.fromDate;
    QList<QDate> months;
    for (QDate month = first; month.isValid() && month <= last; month = month.addMonths(1))
        months.append(month);
    const QMap<QDate, IndexFileAnalyser::IndexStatus> indexMap = analyser.getIndexMap();
    for (auto month = indexMap.cbegin(); !period && month != indexMap.cend(); ++month) {
        const bool problem = *month == IndexFileAnalyser::INDEX_ERROR_FILE_MISSING
            || *month == IndexFileAnalyser::INDEX_ERROR_FILE_EXIST;
        if (problem && !months.contains(month.key()))
            months.append(month.key());
    }
    std::sort(months.begin(), months.end());
    return months;
}

} // namespace

PackageCommand::PackageCommand(Reporter &reporter, JobRunner &runner)
    : m_reporter(reporter)
    , m_runner(runner)
{
}

int PackageCommand::run(const Command &command)
{
    const Command exportCommand = gdpduExport(command);
    BackupInfo info;
    if (!ExportCommand::checkBackup(m_reporter, exportCommand) || !JobPaths::makeTarget(m_reporter, command.target)
        || info.readHeader(command.source) != BackupInfo::HeaderRead)
        return ExitFailed;
    StagedExport staged(m_reporter, m_runner, exportCommand);
    if (!JobPaths::mayWrite(m_reporter, plannedArchive(command), command.overwrite))
        return ExitFailed;
    QStringList problems;
    if (!staged.run() || !passes(ExportVerifier::verify(staged.path()), staged, &problems))
        return m_runner.stopRequested() ? m_runner.stoppedExitCode() : ExitFailed;
    if (!info.hashData()) {
        m_reporter.error(info.errorText(), tr("Check that the medium holding the backup is still connected."));
        return ExitFailed;
    }
    TableTotals totals;
    totals.add(staged.path() + QLatin1Char('/') + TableFile, TableLayout::ofExports());
    HandoverFacts handover = facts(command, info, staged, totals);
    handover.problems += problems;
    HandoverArchive archive(archivePath(command.target, staged.name()));
    archive.addFolder(staged.path(), staged.name());
    archive.addFile(HandoverProtocol::fileName(), HandoverProtocol().pdf(handover), handover.created);
    if (!archive.write(command.overwrite ? HandoverArchive::Existing::Replace : HandoverArchive::Existing::Keep)) {
        m_reporter.error(archive.errorString(), tr("Check the free space and your write permission for the target folder."));
        return ExitFailed;
    }
    m_handover = handover;
    m_reporter.finished(archivePath(command.target, staged.name()));
    return staged.outcome().failureReported ? ExitFailed : ExitDone;
}

QString PackageCommand::plannedArchive(const Command &command)
{
    return archivePath(command.target, StagedExport::plannedName(gdpduExport(command)));
}

// Rows of the table that do not fit their columns are the records that the export reported as
// damaged; anything else the verification finds stops the hand-over.
bool PackageCommand::passes(const ExportVerifier::Result &result, const StagedExport &staged, QStringList *problems)
{
    const bool damageReported = staged.outcome().lineProblems > 0;
    qint64 damagedRows = result.findingsLeftOut.value(TableFile);
    bool passed = true;
    for (const Finding &finding : result.findings) {
        if (damageReported && isTableRow(finding)) {
            ++damagedRows;
            continue;
        }
        passed = false;
        m_reporter.message(finding.toString(), true, 0);
    }
    if (!passed) {
        m_reporter.error(tr("The export did not pass its verification, so no archive was written."),
                         tr("The findings above say what is wrong with the export."));
        return false;
    }
    if (damagedRows > 0) {
        problems->append(tr("Rows of the table that do not fit the columns index.xml declares: %1. They are the "
                            "damaged records reported above.").arg(damagedRows));
        m_reporter.message(problems->constLast(), true, 0);
    }
    return true;
}

HandoverFacts PackageCommand::facts(const Command &command, const BackupInfo &info, const StagedExport &staged,
                                    const TableTotals &totals) const
{
    HandoverFacts facts;
    const IndexFileAnalyser &analyser = info.analyser();
    facts.serialNumber = info.serialNumber();
    facts.backupFile = command.source;
    facts.source = info.sourceText();
    const QMap<QDate, IndexFileAnalyser::IndexStatus> indexMap = analyser.getIndexMap();
    for (const QDate &month : protocolMonths(command, analyser, totals)) {
        const MonthTotals monthTotals = totals.months.value(month);
        facts.months.append({month, indexMap.value(month, IndexFileAnalyser::INDEX_OK), monthTotals.records,
                             monthTotals.amountCents});
    }
    if (!facts.months.isEmpty()) {
        facts.firstMonth = facts.months.constFirst().month;
        facts.lastMonth = facts.months.constLast().month;
    }
    facts.records = totals.records() + totals.undatedRows;
    facts.problems = staged.outcome().problems;
    facts.storedMd5 = analyser.getMD5Value();
    facts.computedMd5 = info.bodyMd5();
    facts.toolVersion = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
    facts.created = QDateTime::currentDateTime();
    facts.exportFolder = staged.name();
    return facts;
}

} // namespace fiscora::app
