#include "verifycommand.h"

#include "command.h"
#include "decryptedfacts.h"
#include "exportcommand.h"
#include "filecomparison.h"
#include "figurescheck.h"
#include "handoverarchive.h"
#include "handoverfigures.h"
#include "handoverprotocol.h"
#include "jobpaths.h"
#include "jobrunner.h"
#include "journalfacts.h"
#include "periodfindings.h"
#include "reporter.h"
#include "unpackedarchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>
#include <thread>

namespace fiscora::app {

namespace {

// Pieces of the compared files.
constexpr qint64 PieceSize = 1 << 20;

const QString TableName = QStringLiteral("gobd.csv");

bool isArchive(const QString &source)
{
    return QFileInfo(source).isFile() && source.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}

// What the manifest says of the archive's files, and what lies beside its export folder but the
// manifest and the protocol.
QStringList archiveFindings(const UnpackedArchive &archive, const QString &exportFolder)
{
    const QString protocol = HandoverProtocol::fileName();
    QStringList findings = archive.manifestFindings();
    if (!archive.sha256().contains(protocol))
        findings << VerifyCommand::tr("The archive holds no %1.").arg(protocol);
    for (const QString &file : archive.sha256().keys()) {
        if (!file.startsWith(exportFolder + QLatin1Char('/')) && file != HandoverArchive::manifestName()
            && file != protocol)
            findings << VerifyCommand::tr("%1 lies outside the export folder %2, where a hand-over archive holds "
                                          "no file.")
                                .arg(file, exportFolder);
    }
    return findings;
}

} // namespace

bool Verification::isValid() const
{
    return result.isValid() && tableFindings.isEmpty() && archiveFindings.isEmpty() && figuresFindings.isEmpty()
        && (backup.isEmpty() || (exported && md5Holds && differences.isEmpty() && !damageReported));
}

VerifyCommand::VerifyCommand(Reporter &reporter, JobRunner &runner)
    : m_reporter(reporter)
    , m_runner(runner)
{
}

int VerifyCommand::run(const Command &command)
{
    m_reporter.setSubject({QString(), command.source});
    // Where an archive is unpacked; removed with what it holds when the verification ends.
    std::unique_ptr<QTemporaryDir> scratch;
    Verification verification;
    if (!JobPaths::sourceExists(m_reporter, command.source) || !takeSource(command.source, scratch, &verification))
        return m_runner.stopRequested() ? m_runner.stoppedExitCode() : ExitFailed;
    Command period;
    verification.period = takePeriod(verification.folder, &period);
    // The rows are checked against their columns and read for the journal's facts on cores of
    // their own, while the backup, if any, is decrypted again. The threads are joined, not only
    // waited for: libxml2 frees what a thread holds of it as the thread ends, after a QThread
    // counts as finished.
    std::thread rowCheck([&] { verification.result = ExportVerifier::verify(verification.folder, &m_runner.stopFlag()); });
    std::thread tableCheck([&] { checkTable(period, &verification, m_runner.stopFlag()); });
    if (!command.target.isEmpty())
        compareWithBackup(m_reporter, m_runner, command.target, &verification);
    m_runner.runInThread([&] {
        rowCheck.join();
        tableCheck.join();
    });
    for (std::thread *check : {&rowCheck, &tableCheck}) {
        if (check->joinable())
            check->join();
    }
    if (m_runner.stopRequested())
        return m_runner.stoppedExitCode();
    m_reporter.verification(verification);
    return verification.isValid() ? ExitDone : ExitFailed;
}

bool VerifyCommand::takeSource(const QString &source, std::unique_ptr<QTemporaryDir> &scratch,
                               Verification *verification)
{
    if (isArchive(source)) {
        scratch = std::make_unique<QTemporaryDir>();
        if (scratch->isValid())
            return unpackArchive(source, scratch->path(), verification);
        m_reporter.error(tr("Cannot create a temporary folder to unpack %1 into: %2").arg(source, scratch->errorString()),
                         tr("Check the free space in the temporary folder, which TMPDIR names."));
        return false;
    }
    if (!QFileInfo(source).isDir()) {
        m_reporter.error(tr("%1 is no folder.").arg(source),
                         tr("Give the folder that holds index.xml and the table file, or a hand-over archive "
                            "(.zip)."));
        return false;
    }
    // "folder/" and "folder" are one folder, and its name tells the period.
    verification->folder = QDir::cleanPath(source);
    return true;
}

// The export folder of an archive is the one that holds index.xml.
bool VerifyCommand::unpackArchive(const QString &zipPath, const QString &scratch, Verification *verification)
{
    UnpackedArchive archive(zipPath);
    bool unpacked = false;
    m_runner.runInThread([&] { unpacked = archive.unpack(scratch, &m_runner.stopFlag()); });
    if (!unpacked) {
        if (!m_runner.stopRequested())
            m_reporter.error(archive.errorString(), tr("Check that it is a hand-over archive written by \"fiscora "
                                                       "package\", and the free space in the temporary folder."));
        return false;
    }
    const QStringList indexFiles = archive.sha256().keys().filter(QRegularExpression(QStringLiteral("(^|/)index\\.xml$")));
    if (indexFiles.size() != 1) {
        m_reporter.error(indexFiles.isEmpty() ? tr("The archive %1 holds no export folder: no index.xml.").arg(zipPath)
                                              : tr("The archive %1 holds more than one export folder: %2.")
                                                        .arg(zipPath, indexFiles.join(QLatin1String(", "))),
                         tr("Give a hand-over archive written by \"fiscora package\"."));
        return false;
    }
    verification->archive = zipPath;
    verification->folderInArchive = QFileInfo(indexFiles.constFirst()).path();
    verification->folder = scratch + QLatin1Char('/') + verification->folderInArchive;
    verification->archiveFindings = archiveFindings(archive, verification->folderInArchive);
    return true;
}

void VerifyCommand::compareWithBackup(Reporter &reporter, JobRunner &runner, const QString &backup,
                                      Verification *verification)
{
    verification->backup = backup;
    Command again;
    again.kind = Command::Export;
    again.source = backup;
    again.gdpduExport = true;
    takePeriod(QDir::cleanPath(verification->folder), &again);
    Command checked = again;
    checked.kind = Command::Verify;
    if (!ExportCommand::checkBackup(reporter, checked))
        return;
    // The backup's table is compared with the folder's as it is decrypted: no export is written.
    const QString folder = verification->folder + QLatin1Char('/');
    FileComparison table(folder + TableName);
    DecryptedFacts decrypted(reporter, runner, again);
    verification->exported = decrypted.run(&table);
    verification->md5Holds = decrypted.md5Holds();
    verification->damageReported = decrypted.flagged();
    if (!verification->exported)
        return;
    const QStringList description = TableLayout::descriptionFiles();
    QStringList names = QStringList(TableName) + description + QDir(folder).entryList(QDir::Files);
    names.removeDuplicates();
    // The figures of a hand-over are no part of an export.
    names.removeAll(HandoverFigures::fileName());
    runner.runInThread([&] {
        for (const QString &name : qAsConst(names)) {
            // A file that an export does not write is not in both.
            const QString exported = description.contains(name) ? QStringLiteral(":/") + name : QString();
            const qint64 line = name == TableName ? table.firstDifference()
                                                  : firstDifference(folder + name, exported, &runner.stopFlag());
            if (line >= 0)
                verification->differences.insert(name, line);
        }
    });
}

// An export folder is named after its period: "201903", "201901_201912", or the label of a
// backup of every month.
QString VerifyCommand::takePeriod(const QString &folder, Command *command)
{
    const QString name = QFileInfo(folder).fileName();
    const QRegularExpression period(QStringLiteral("^(\\d{6})(?:_(\\d{6}))?$"));
    const QRegularExpressionMatch match = period.match(name);
    command->fromDate = QDate::fromString(match.captured(1), QStringLiteral("yyyyMM"));
    command->toDate = QDate::fromString(match.captured(2), QStringLiteral("yyyyMM"));
    // A backup of every month is labelled "complete".
    if (name == QLatin1String("complete"))
        return tr("every month, as the folder's name %1 says").arg(name);
    if (!command->fromDate.isValid())
        return tr("every month, as the folder's name %1 names no period").arg(name);
    const QString first = command->fromDate.toString(QStringLiteral("MM/yyyy"));
    if (!command->toDate.isValid())
        return tr("%1, as the folder's name %2 says").arg(first, name);
    return tr("%1 to %2, as the folder's name %3 says").arg(first, command->toDate.toString(QStringLiteral("MM/yyyy")), name);
}

// The rows alone tell of rows taken out, copied or moved, and of rows of another period.
void VerifyCommand::checkTable(const Command &period, Verification *verification, const std::atomic_bool &stop)
{
    JournalFacts facts(TableLayout::ofExports(), period.fromDate, period.toDate);
    const QString table = verification->folder + QLatin1Char('/') + TableName;
    if (!QFileInfo::exists(table) || !facts.addFile(table, nullptr, &stop))
        return;
    if (facts.rowsRead() == 0)
        verification->tableFindings << tr("gobd.csv holds no rows.");
    if (facts.outside().rows > 0) {
        verification->tableFindings << tr("gobd.csv holds %1 rows outside its period %2.")
                                           .arg(facts.outside().rows)
                                           .arg(verification->period);
    }
    const PeriodFindings findings(IndexFileAnalyser(), facts, {});
    for (const ReportedMessage &message : findings.report()) {
        if (message.isError)
            verification->tableFindings << message.text;
    }
    checkFigures(facts, verification, stop);
}

// An export folder holds figures only when it comes from a hand-over archive, which must hold them.
void VerifyCommand::checkFigures(const JournalFacts &facts, Verification *verification, const std::atomic_bool &stop)
{
    const bool present = QFileInfo::exists(verification->folder + QLatin1Char('/') + HandoverFigures::fileName());
    verification->figuresChecked = present || !verification->archive.isEmpty();
    if (verification->figuresChecked)
        verification->figuresFindings = FiguresCheck(verification->folder, facts).findings(&stop);
}

qint64 VerifyCommand::firstDifference(const QString &first, const QString &second, const std::atomic_bool *stop)
{
    QFile other(second);
    if (second.isEmpty() || !other.open(QIODevice::ReadOnly))
        return 0;
    FileComparison comparison(first);
    QByteArray piece(int(PieceSize), Qt::Uninitialized);
    qint64 read = 0;
    while ((read = other.read(piece.data(), PieceSize)) > 0) {
        if (stop && stop->load(std::memory_order_relaxed))
            return 0;
        comparison.write(piece.constData(), read);
    }
    return read < 0 ? 0 : comparison.firstDifference();
}

} // namespace fiscora::app
