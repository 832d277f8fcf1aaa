#include "stagedexport.h"

#include "command.h"
#include "jobpaths.h"
#include "journalfacts.h"
#include "periodfindings.h"
#include "reporter.h"

#include "filelock_p.h"

#include <fiscora/cardlisting.h>

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace fiscora::app {

namespace {

// Where KTLCypher puts an export in its target, after the backup's name
// "Backup_<serial>_<label>.enc": "<serial>/<label>/gobd.csv", or "<name>.csv" without GDPdU.
QString libraryExportName(const QString &backup, bool gdpdu)
{
    const QString baseName = QFileInfo(backup).baseName();
    if (!gdpdu)
        return baseName + QLatin1String(".csv");
    const QStringList parts = baseName.split(QLatin1Char('_'));
    return parts.size() == 1 ? baseName : parts.at(1) + QLatin1Char('/') + parts.mid(2, 2).join(QLatin1Char('_'));
}

QString monthText(const QDate &month)
{
    return month.toString(QStringLiteral("MM/yyyy"));
}

bool hasPeriod(const Command &command)
{
    return command.fromDate.isValid();
}

QString periodText(const Command &command)
{
    return command.toDate.isValid() && command.toDate != command.fromDate
        ? StagedExport::tr("%1 to %2").arg(monthText(command.fromDate), monthText(command.toDate))
        : monthText(command.fromDate);
}

bool renamePath(const QString &from, const QString &to, QString *reason)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *reason = qt_error_string(errno);
    return false;
}

// Swaps two folders in one step, where the system and the file system can; \a unsupported tells
// where they cannot.
bool exchangePaths(const QString &first, const QString &second, QString *reason, bool *unsupported)
{
#ifdef Q_OS_LINUX
    if (::renameat2(AT_FDCWD, QFile::encodeName(first).constData(), AT_FDCWD, QFile::encodeName(second).constData(),
                    RENAME_EXCHANGE) == 0)
        return true;
    *unsupported = errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP;
    *reason = qt_error_string(errno);
#else
    Q_UNUSED(first)
    Q_UNUSED(second)
    Q_UNUSED(reason)
    *unsupported = true;
#endif
    return false;
}

// Moves the entries \a names of one folder into another, all of them or, after a failure, none.
bool moveEntries(const QStringList &names, const QString &from, const QString &to, QString *reason)
{
    for (int moved = 0; moved < names.size(); ++moved) {
        const QString name = QLatin1Char('/') + names.at(moved);
        if (!renamePath(from + name, to + name, reason)) {
            QString ignored;
            while (moved-- > 0)
                renamePath(to + QLatin1Char('/') + names.at(moved), from + QLatin1Char('/') + names.at(moved), &ignored);
            return false;
        }
    }
    return true;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

StagedExport::StagedExport(Reporter &reporter, JobRunner &runner, const Command &command)
    : m_reporter(reporter)
    , m_runner(runner)
    , m_command(command)
{
}

StagedExport::~StagedExport() = default;

QString StagedExport::plannedName(const Command &command)
{
    return placeName(libraryExportName(command.source, command.gdpduExport && !command.rawDataOnly), command);
}

bool StagedExport::mayPlace()
{
    const QString place = m_command.target + QLatin1Char('/') + plannedName();
    // Beside the place, so that the lock needs no folder of its own.
    m_placeLock = std::make_unique<FileLock>(m_command.target + QLatin1String("/.")
                                             + plannedName().replace(QLatin1Char('/'), QLatin1Char('_'))
                                             + QLatin1String(".~lock"));
    if (m_placeLock->tryLock())
        return JobPaths::mayWrite(m_reporter, place, m_command.overwrite);
    if (m_placeLock->heldElsewhere()) {
        m_reporter.error(tr("The export %1 is being written by another job.").arg(place),
                         tr("Wait until the other job has finished, or export into another target folder."));
    } else {
        m_reporter.error(tr("Cannot write into the target folder %1: %2").arg(m_command.target, m_placeLock->errorString()),
                         tr("Check your write permission for the target folder."));
    }
    return false;
}

bool StagedExport::run()
{
    if (!createStaging())
        return false;
    const ExportRequest request{m_command.source, m_staging->path(), m_command.rawDataOnly, m_command.gdpduExport,
                                m_command.indexInfoLine, m_command.skipLineCheck};
    // The report waits for the journal's facts, which tell what of it concerns the period and where.
    m_outcome = m_runner.exportBackup(request, JobRunner::ForwardErrors);
    if (m_outcome.files.isEmpty() || m_runner.stopRequested())
        return false;
    if (m_outcome.hashInvalid) {
        reportFindings(m_outcome.messages);
        m_reporter.error(tr("The export of %1 was not kept: its data does not match the MD5 value of its header.")
                                 .arg(m_command.source),
                         tr("The backup has been altered or damaged. Read the card again, or ask for an intact "
                            "copy of the backup."));
        return false;
    }
    const bool gdpdu = m_command.gdpduExport && !m_command.rawDataOnly;
    const QString table = m_outcome.files.constFirst();
    m_path = gdpdu ? QFileInfo(table).path() : table;
    return (!gdpdu || descriptionWritten()) && takeFacts(table);
}
// Hidden and on the target's own file system, so that placing the export is a rename; locked while
// this job works in it, so that the next export here tells it from one that a killed job left.
bool StagedExport::createStaging()
{
    FileLock::removeAbandoned(m_command.target, {QStringLiteral(".fiscora-*")}, QDir::Dirs);
    m_staging = std::make_unique<QTemporaryDir>(m_command.target + QLatin1String("/.fiscora-XXXXXX"));
    QString reason = m_staging->errorString();
    if (m_staging->isValid()) {
        m_stagingLock = std::make_unique<FileLock>(m_staging->path());
        if (m_stagingLock->tryLockExisting())
            return true;
        reason = m_stagingLock->errorString();
    }
    m_reporter.error(tr("Cannot create a staging folder in %1: %2").arg(m_command.target, reason),
                     tr("Check your write permission for the target folder."));
    return false;
}

// A table without its description would leave the auditor's software guessing, and put beside an
// earlier export's description it would be read by the wrong one.
bool StagedExport::descriptionWritten()
{
    if (m_outcome.savedFiles.size() == 2)
        return true;
    m_reporter.error(tr("The export of %1 was not kept: its description files could not be written.").arg(m_command.source),
                     tr("Check the free space and your write permission for the target folder."));
    return false;
}

// One pass over the table gives the journal's facts; for a period it writes the period's table,
// which takes the place of the backup's whole table in the staging folder.
bool StagedExport::takeFacts(const QString &table)
{
    m_facts = std::make_unique<JournalFacts>(TableLayout::ofExports(), m_command.fromDate, m_command.toDate);
    m_facts->locate(PeriodFindings::namedRows(m_outcome.messages));
    QFile period(table + QLatin1String(".~period"));
    QString reason;
    bool taken = false;
    const bool cut = hasPeriod(m_command);
    m_runner.runInThread([&] {
        taken = (!cut || period.open(QIODevice::WriteOnly))
            && m_facts->addFile(table, cut ? &period : nullptr, &m_runner.stopFlag(), m_command.indexInfoLine)
            && (!cut || period.flush());
        reason = m_facts->errorString();
    });
    if (m_runner.stopRequested()) {
        period.remove();
        return false;
    }
    if (!taken || (cut && !renamePath(period.fileName(), table, &reason))) {
        period.remove();
        m_reporter.error(tr("Cannot write the table of the period to %1: %2").arg(table, reason),
                         tr("Check the free space and your write permission for the target folder."));
        return false;
    }
    m_findings = std::make_unique<PeriodFindings>(m_outcome.analyser, *m_facts, m_outcome.messages);
    if (cut && m_facts->total().rows == 0) {
        m_reporter.error(tr("The backup holds no lines of the period %1.").arg(periodText(m_command)),
                         m_command.fromWindow
                             ? tr("Choose a period with records: the line under the backup file names its months.")
                             : tr("Choose a period with records: \"fiscora info\" shows the records of each month."));
        return false;
    }
    if (cut) {
        m_reporter.message(tr("The period %1 left out %2 of the %3 lines of the backup.")
                                   .arg(periodText(m_command))
                                   .arg(m_facts->outside().rows)
                                   .arg(m_facts->rowsRead()),
                           false, 0);
    }
    reportFindings(m_findings->report());
    return true;
}

void StagedExport::reportFindings(const QList<ReportedMessage> &report)
{
    for (const ReportedMessage &message : report)
        m_reporter.message(message.text, message.isError, message.count);
}

bool StagedExport::flagged() const
{
    return m_outcome.errorReported || (m_findings && m_findings->flagged());
}

QString StagedExport::name() const
{
    return placeName(QDir(m_staging->path()).relativeFilePath(m_path), m_command);
}

bool StagedExport::place()
{
    const QString place = m_command.target + QLatin1Char('/') + name();
    if (!JobPaths::mayWrite(m_reporter, place, m_command.overwrite))
        return false;
    if (!QDir().mkpath(QFileInfo(place).path()) || !replace(place))
        return false;
    reportPlaced(place);
    return true;
}

// The label of a period takes the place of the backup's label.
QString StagedExport::placeName(const QString &stagedName, const Command &command)
{
    if (!hasPeriod(command))
        return stagedName;
    const QString label = CardListing::reportLabel(command.fromDate, command.toDate);
    const QFileInfo staged(stagedName);
    if (command.gdpduExport && !command.rawDataOnly)
        return (stagedName.contains(QLatin1Char('/')) ? staged.path() : stagedName) + QLatin1Char('/') + label;
    const QStringList parts = staged.completeBaseName().split(QLatin1Char('_'));
    return QStringList(parts.mid(0, 2) << label).join(QLatin1Char('_')) + QLatin1String(".csv");
}

// The new export takes the place of an earlier one whole and in one step, so that the place holds
// the one export or the other, never files of both. A table file replaces an earlier one in one
// rename.
bool StagedExport::replace(const QString &place)
{
    QString reason;
    const bool intoFolder = QFileInfo(place).isDir() && QFileInfo(m_path).isDir();
    return (intoFolder ? replaceFolder(place, &reason) : renamePath(m_path, place, &reason))
        || placeFailed(place, reason);
}

// What else a user keeps in an earlier export folder moves into the new one first, and back if the
// new one cannot take the place. Where even the earlier export could not come back, the staging
// folder that holds it stays, and the reason says where it is.
bool StagedExport::replaceFolder(const QString &place, QString *reason)
{
    QStringList kept = entriesOf(place);
    for (const QString &own : entriesOf(m_path))
        kept.removeAll(own);
    if (!moveEntries(kept, place, m_path, reason))
        return false;
    QString earlier = place;
    if (swapIn(place, &earlier, reason))
        return true;
    QString ignored;
    const bool keptBack = moveEntries(kept, m_path, earlier, &ignored);
    if (earlier != place) {
        m_staging->setAutoRemove(false);
        *reason += QLatin1Char(' ') + tr("The earlier export is now in %1.").arg(earlier);
    }
    if (!keptBack) {
        m_staging->setAutoRemove(false);
        *reason += QLatin1Char(' ') + tr("The files kept in the earlier export are now in %1.").arg(m_path);
    }
    return false;
}

// The staged folder and the earlier one change places in one step where the file system can;
// elsewhere the earlier one moves aside first, and back if the new one cannot take its place.
// Either way the earlier export ends up in the staging folder, and goes with it; \a earlier tells
// where it is after a failure.
bool StagedExport::swapIn(const QString &place, QString *earlier, QString *reason)
{
    bool unsupported = false;
    if (exchangePaths(m_path, place, reason, &unsupported))
        return true;
    if (!unsupported)
        return false;
    const QString aside = m_staging->path() + QLatin1String("/earlier");
    if (!renamePath(place, aside, reason))
        return false;
    if (renamePath(m_path, place, reason))
        return true;
    QString ignored;
    if (!renamePath(aside, place, &ignored))
        *earlier = aside;
    return false;
}

bool StagedExport::placeFailed(const QString &place, const QString &reason)
{
    m_reporter.error(tr("Cannot put the export in its place %1: %2").arg(place, reason),
                     tr("Check that no program holds the export open, and your write permission."));
    return false;
}

void StagedExport::reportPlaced(const QString &place)
{
    const auto placed = [&](const QString &staged) {
        return staged == m_path ? place : place + QLatin1Char('/') + QDir(m_path).relativeFilePath(staged);
    };
    for (const QString &file : qAsConst(m_outcome.files))
        m_reporter.finished(placed(file));
    for (const QString &file : qAsConst(m_outcome.savedFiles))
        m_reporter.fileSaved(placed(file));
    m_path = place;
}

} // namespace fiscora::app
