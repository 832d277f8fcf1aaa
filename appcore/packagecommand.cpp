#include "packagecommand.h"

#include "backupinfo.h"
#include "command.h"
#include "exportcommand.h"
#include "filedigest.h"
#include "handoverarchive.h"
#include "handoverfigures.h"
#include "jobpaths.h"
#include "jobrunner.h"
#include "reporter.h"
#include "periodfindings.h"
#include "stagedexport.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QThread>

#include <memory>

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
    if (!ExportCommand::checkBackup(m_reporter, command) || !JobPaths::makeTarget(m_reporter, command.target)
        || info.readHeader(command.source) != BackupInfo::HeaderRead)
        return ExitFailed;
    StagedExport staged(m_reporter, m_runner, exportCommand);
    if (!JobPaths::mayWrite(m_reporter, plannedArchive(command), command.overwrite))
        return ExitFailed;
    QStringList problems;
    HandoverFacts digests;
    if (!staged.run() || !check(staged, info, &problems, &digests))
        return m_runner.stopRequested() ? m_runner.stoppedExitCode() : ExitFailed;
    HandoverFacts handover = facts(command, info, staged);
    handover.backupSha256 = digests.backupSha256;
    handover.sha256 = digests.sha256;
    problems += gaps(handover, *staged.findings());
    handover.problems += problems;
    if (!writeArchive(command, staged, handover))
        return m_runner.stopRequested() ? m_runner.stoppedExitCode() : ExitFailed;
    return staged.flagged() || !problems.isEmpty() ? ExitFailed : ExitDone;
}

QString PackageCommand::plannedArchive(const Command &command)
{
    return archivePath(command.target, StagedExport::plannedName(gdpduExport(command)));
}

// Verifying a large table takes a while, and so does hashing a large backup and its export: they
// run beside the event loop, which takes a stop at once, the SHA-256 values on a core of their own.
// The export proved the backup's MD5 value as it decrypted; only an export that did not get that
// far needs the backup read for it once more.
bool PackageCommand::check(const StagedExport &staged, BackupInfo &info, QStringList *problems, HandoverFacts *digests)
{
    m_reporter.message(tr("Verifying the export ..."), false, 0);
    m_reporter.message(tr("Computing the SHA-256 values of the backup and the export ..."), false, 0);
    const std::atomic_bool *stop = &m_runner.stopFlag();
    FileDigest digest(stop);
    ExportVerifier::Result verification;
    const bool proven = !staged.outcome().files.isEmpty() && !staged.outcome().hashInvalid;
    bool md5Known = proven;
    bool filesHashed = false;
    m_runner.runInThread([&] {
        const std::unique_ptr<QThread> hashing(QThread::create(
                [&] { filesHashed = hashFiles(digest, info.file(), staged.path(), digests); }));
        hashing->start();
        verification = ExportVerifier::verify(staged.path(), stop);
        if (proven)
            info.takeProvenMd5();
        else
            md5Known = info.hashData(stop);
        hashing->wait();
    });
    if (m_runner.stopRequested() || !passes(verification, staged, problems))
        return false;
    if (!md5Known)
        m_reporter.error(info.errorText(), tr("Check that the medium holding the backup is still connected."));
    else if (!filesHashed)
        m_reporter.error(digest.errorString(),
                         tr("Check that the media holding the backup and the target folder are still connected."));
    return md5Known && filesHashed;
}

// Rows of the table that do not fit their columns are the records that the export reported as
// damaged; anything else the verification finds stops the hand-over.
bool PackageCommand::passes(const ExportVerifier::Result &result, const StagedExport &staged, QStringList *problems)
{
    const bool damageReported = staged.findings()->total().damagedRows > 0
        || std::any_of(staged.findings()->months().cbegin(), staged.findings()->months().cend(),
                       [](const MonthFinding &month) { return month.lineMessages > 0; });
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

// A month without a single record is not in the backup, or its records were lost to damage;
// either way the protocol must not let it pass for a month without sales. Nor may a sum pass for
// whole when records without a readable amount are left out of it.
QStringList PackageCommand::gaps(const HandoverFacts &handover, const PeriodFindings &findings)
{
    QStringList months;
    for (const MonthSummary &month : handover.months) {
        if (month.records == 0)
            months << month.month.toString(QStringLiteral("MM/yyyy"));
    }
    QStringList gaps;
    if (!months.isEmpty())
        gaps << tr("The backup holds no records for %1: these months are not in it, or their records were lost.")
                        .arg(months.join(QLatin1String(", ")));
    if (findings.total().unreadableAmounts > 0)
        gaps << tr("Records whose Betrag cannot be read: %1. The sums leave them out.").arg(findings.total().unreadableAmounts);
    for (const QString &gap : qAsConst(gaps))
        m_reporter.message(gap, true, 0);
    return gaps;
}

// The protocol states the SHA-256 values of the backup and of the export's files, which are read
// once more for them.
bool PackageCommand::hashFiles(FileDigest &digest, const QString &backup, const QString &exportFolder,
                               HandoverFacts *digests)
{
    digests->backupSha256 = digest.sha256(backup);
    if (digests->backupSha256.isEmpty())
        return false;
    const QDir folder(exportFolder);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QByteArray sha256 = digest.sha256(folder.filePath(name));
        if (sha256.isEmpty())
            return false;
        digests->sha256.insert(name, sha256);
    }
    return true;
}

bool PackageCommand::writeArchive(const Command &command, const StagedExport &staged, HandoverFacts handover)
{
    const QString path = archivePath(command.target, staged.name());
    m_reporter.message(tr("Writing the archive %1 ...").arg(path), false, 0);
    // The figures cannot state their own SHA-256 value; the protocol does.
    const QByteArray figures = HandoverFigures::of(handover).toJson();
    handover.sha256.insert(HandoverFigures::fileName(),
                           QCryptographicHash::hash(figures, QCryptographicHash::Sha256).toHex());
    HandoverArchive archive(path);
    archive.addFolder(staged.path(), staged.name());
    archive.addFile(staged.name() + QLatin1Char('/') + HandoverFigures::fileName(), figures, handover.created);
    archive.addFile(HandoverProtocol::fileName(), HandoverProtocol().pdf(handover), handover.created);
    archive.stopWhen(m_runner.stopFlag());
    const auto existing = command.overwrite ? HandoverArchive::Existing::Replace : HandoverArchive::Existing::Keep;
    bool written = false;
    m_runner.runInThread([&] { written = archive.write(existing); });
    if (!written && !m_runner.stopRequested())
        m_reporter.error(archive.errorString(), tr("Check the free space and your write permission for the target folder."));
    if (written) {
        m_handover = handover;
        m_reporter.finished(path);
    }
    return written;
}

HandoverFacts PackageCommand::facts(const Command &command, const BackupInfo &info, const StagedExport &staged) const
{
    HandoverFacts facts;
    const IndexFileAnalyser &analyser = info.analyser();
    facts.serialNumber = info.serialNumber();
    facts.backupFile = QFileInfo(command.source).absoluteFilePath();
    facts.source = info.sourceText();
    for (const MonthFinding &month : staged.findings()->months())
        facts.months.append({month.month, month.status, month.sums.rows, month.sums.betragCents,
                             month.sums.steuerCents, month.faults()});
    if (!facts.months.isEmpty()) {
        facts.firstMonth = facts.months.constFirst().month;
        facts.lastMonth = facts.months.constLast().month;
    }
    facts.records = staged.findings()->total().rows;
    for (const ReportedMessage &message : staged.findings()->report()) {
        if (message.isError)
            facts.problems << message.text;
    }
    facts.storedMd5 = analyser.getMD5Value();
    facts.computedMd5 = info.bodyMd5();
    facts.toolVersion = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
    facts.created = QDateTime::currentDateTime();
    facts.exportFolder = staged.name();
    return facts;
}

} // namespace fiscora::app
