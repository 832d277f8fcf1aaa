#include "verifycommand.h"

#include "command.h"
#include "exportcommand.h"
#include "jobpaths.h"
#include "jobrunner.h"
#include "journalfacts.h"
#include "linereader.h"
#include "periodfindings.h"
#include "reporter.h"
#include "stagedexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <memory>

namespace fiscora::app {

namespace {

// Pieces of the compared files; equal pieces only have their line feeds counted.
constexpr qint64 PieceSize = 1 << 20;

} // namespace

bool Verification::isValid() const
{
    return result.isValid() && tableFindings.isEmpty()
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
    if (!JobPaths::sourceExists(m_reporter, command.source))
        return ExitFailed;
    if (!QFileInfo(command.source).isDir()) {
        m_reporter.error(tr("%1 is no folder.").arg(command.source),
                         tr("Give the folder that holds index.xml and the table file."));
        return ExitFailed;
    }
    Verification verification;
    // "folder/" and "folder" are one folder, and its name tells the period.
    verification.folder = QDir::cleanPath(command.source);
    Command period;
    verification.period = takePeriod(verification.folder, &period);
    const auto checkFolder = [&] {
        verification.result = ExportVerifier::verify(verification.folder, &m_runner.stopFlag());
        checkTable(period, &verification, m_runner.stopFlag());
    };
    if (command.target.isEmpty()) {
        m_runner.runInThread(checkFolder);
    } else {
        // The folder is checked while the backup is exported again, on a core of its own.
        const std::unique_ptr<QThread> folderCheck(QThread::create(checkFolder));
        folderCheck->start();
        compareWithBackup(m_reporter, m_runner, command.target, &verification);
        m_runner.runInThread([&] { folderCheck->wait(); });
        folderCheck->wait();
    }
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
    takePeriod(QDir::cleanPath(verification->folder), &again);
    Command checked = again;
    checked.kind = Command::Verify;
    if (!ExportCommand::checkBackup(reporter, checked))
        return;
    const QTemporaryDir scratch;
    again.target = scratch.path();
    StagedExport staged(reporter, runner, again, JobRunner::ForwardLineProblems);
    verification->exported = staged.run();
    verification->md5Holds = !staged.outcome().files.isEmpty() && !staged.outcome().hashInvalid;
    verification->damageReported = staged.flagged();
    if (!verification->exported)
        return;
    QStringList names = QDir(staged.path()).entryList(QDir::Files) + QDir(verification->folder).entryList(QDir::Files);
    names.removeDuplicates();
    runner.runInThread([&] {
        for (const QString &name : qAsConst(names)) {
            const qint64 line = firstDifference(verification->folder + QLatin1Char('/') + name,
                                                staged.path() + QLatin1Char('/') + name, &runner.stopFlag());
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
    const QString table = verification->folder + QLatin1String("/gobd.csv");
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
}

// The files are compared piece by piece, and only the line feeds before the first difference
// are counted: lines need not be split for that.
qint64 VerifyCommand::firstDifference(const QString &first, const QString &second, const std::atomic_bool *stop)
{
    QFile one(first);
    QFile other(second);
    if (!one.open(QIODevice::ReadOnly) || !other.open(QIODevice::ReadOnly))
        return 0;
    QByteArray onePiece(int(PieceSize), Qt::Uninitialized);
    QByteArray otherPiece(int(PieceSize), Qt::Uninitialized);
    qint64 lineFeeds = 0;
    for (;;) {
        if (stop && stop->load(std::memory_order_relaxed))
            return 0;
        const qint64 oneSize = one.read(onePiece.data(), PieceSize);
        const qint64 otherSize = other.read(otherPiece.data(), PieceSize);
        if (oneSize < 0 || otherSize < 0)
            return 0;
        const char *oneBytes = onePiece.constData();
        const qint64 common = std::min(oneSize, otherSize);
        const auto parted = std::mismatch(oneBytes, oneBytes + common, otherPiece.constData());
        lineFeeds += std::count(oneBytes, parted.first, '\n');
        if (parted.first != oneBytes + common || oneSize != otherSize)
            return lineFeeds + 1;
        if (oneSize == 0)
            return -1;
    }
}

} // namespace fiscora::app
