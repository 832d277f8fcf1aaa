#include "stagedexport.h"

#include "command.h"
#include "jobpaths.h"
#include "periodfilter.h"
#include "reporter.h"

#include <fiscora/cardlisting.h>

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

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

bool renamePath(const QString &from, const QString &to, QString *reason)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *reason = qt_error_string(errno);
    return false;
}

} // namespace

StagedExport::StagedExport(Reporter &reporter, JobRunner &runner, const Command &command,
                           JobRunner::Forwarding forwarding)
    : m_reporter(reporter)
    , m_runner(runner)
    , m_command(command)
    , m_forwarding(forwarding)
{
}

StagedExport::~StagedExport() = default;

QString StagedExport::plannedName(const Command &command)
{
    return placeName(libraryExportName(command.source, command.gdpduExport && !command.rawDataOnly), command);
}

bool StagedExport::mayPlace() const
{
    return JobPaths::mayWrite(m_reporter, m_command.target + QLatin1Char('/') + plannedName(), m_command.overwrite);
}

bool StagedExport::run()
{
    // Hidden and on the target's own file system, so that placing the export is a rename.
    m_staging = std::make_unique<QTemporaryDir>(m_command.target + QLatin1String("/.fiscora-XXXXXX"));
    if (!m_staging->isValid()) {
        m_reporter.error(tr("Cannot create a staging folder in %1: %2").arg(m_command.target, m_staging->errorString()),
                         tr("Check your write permission for the target folder."));
        return false;
    }
    const ExportRequest request{m_command.source, m_staging->path(), m_command.rawDataOnly, m_command.gdpduExport,
                                m_command.indexInfoLine, m_command.skipLineCheck};
    m_outcome = m_runner.exportBackup(request, m_forwarding);
    if (m_outcome.files.isEmpty() || m_runner.stopRequested())
        return false;
    if (m_outcome.hashInvalid) {
        m_reporter.error(tr("The export of %1 was not kept: its data does not match the MD5 value of its header.")
                                 .arg(m_command.source),
                         tr("The backup has been altered or damaged. Read the card again, or ask for an intact "
                            "copy of the backup."));
        return false;
    }
    const QString table = m_outcome.files.constFirst();
    m_path = m_command.gdpduExport && !m_command.rawDataOnly ? QFileInfo(table).path() : table;
    return !hasPeriod(m_command) || cutPeriod(table);
}

// The table of the period takes the place of the backup's whole table in the staging folder.
bool StagedExport::cutPeriod(const QString &table)
{
    PeriodFilter filter(m_command.fromDate, m_command.toDate, TableLayout::ofExports());
    QFile whole(table);
    QFile period(table + QLatin1String(".~period"));
    QString reason;
    const bool cut = whole.open(QIODevice::ReadOnly) && period.open(QIODevice::WriteOnly)
        && filter.copy(whole, period, m_command.indexInfoLine) && period.flush();
    if (!cut || !renamePath(period.fileName(), table, &reason)) {
        m_reporter.error(tr("Cannot write the table of the period to %1: %2")
                                 .arg(table, cut ? reason : period.errorString() + whole.errorString()),
                         tr("Check the free space and your write permission for the target folder."));
        return false;
    }
    const QString periodText = m_command.toDate.isValid() && m_command.toDate != m_command.fromDate
        ? tr("%1 to %2").arg(monthText(m_command.fromDate), monthText(m_command.toDate))
        : monthText(m_command.fromDate);
    if (filter.linesKept() == 0) {
        m_reporter.error(tr("The backup holds no lines of the period %1.").arg(periodText),
                         tr("Choose a period with records: \"fiscora info\" shows the records of each month."));
        return false;
    }
    if (m_forwarding == JobRunner::ForwardEverything) {
        m_reporter.message(tr("The period %1 left out %2 of the %3 lines of the backup.")
                                   .arg(periodText)
                                   .arg(filter.linesLeftOut())
                                   .arg(filter.linesKept() + filter.linesLeftOut()),
                           false, 0);
    }
    return true;
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

// An earlier export folder keeps what else it holds, a note of the user's say: each file of the
// new export replaces its namesake there in one rename. A table file is replaced in one rename too.
bool StagedExport::replace(const QString &place)
{
    const bool intoFolder = QFileInfo(place).isDir() && QFileInfo(m_path).isDir();
    const QStringList names = intoFolder ? QDir(m_path).entryList(QDir::Files | QDir::Hidden) : QStringList{QString()};
    QString reason;
    for (const QString &name : names) {
        const QString from = intoFolder ? m_path + QLatin1Char('/') + name : m_path;
        const QString to = intoFolder ? place + QLatin1Char('/') + name : place;
        if (!renamePath(from, to, &reason)) {
            m_reporter.error(tr("Cannot put the export in its place %1: %2").arg(place, reason),
                             tr("Check that no program holds the export open, and your write permission."));
            return false;
        }
    }
    return true;
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
