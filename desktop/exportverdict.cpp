#include "exportverdict.h"

#include "reportview.h"

#include <fiscora/helperclass.h>

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace fiscora::desktop {

namespace {

// More would push the verdict out of sight; the messages hold them all.
constexpr int ShownLineProblems = 3;

} // namespace

void ExportVerdict::addMessage(const QString &text, bool isError, int count)
{
    if (!isError)
        return;
    // The index report and the hash verdict are numbered; the messages on lines are not.
    if (count == 0)
        m_lineProblems << ReportView::plainText(text);
    else
        ++m_indexProblems;
}

void ExportVerdict::addError(const QString &error, const QString &hint)
{
    m_errors << tr("%1\nWhat to do: %2").arg(ReportView::plainText(error), ReportView::plainText(hint));
}

QString ExportVerdict::title(int exitCode, bool package) const
{
    if (m_files.isEmpty())
        return m_stopped ? tr("Stopped: nothing was written.") : tr("Failed: nothing was written.");
    if (package)
        return exitCode == 0 ? tr("Done: the hand-over archive is written.")
                             : tr("Done, with findings: the hand-over archive is written.");
    // Complete only where nothing was found missing or damaged.
    return exitCode == 0 ? tr("Done: the export is complete and proven.")
                         : tr("Done, with findings: the export is written and its data proven; the lines below say "
                              "what is missing or damaged.");
}

QStringList ExportVerdict::lines(const app::HandoverFacts &handover, bool package, bool lineCheck) const
{
    if (m_files.isEmpty()) {
        QStringList lines = m_errors;
        lines << tr("The target folder is as it was: no export and no archive was put there.");
        return lines;
    }
    QStringList lines = package ? packageLines(handover) : exportLines(lineCheck);
    if (m_indexProblems > 0)
        lines << tr("The backup's index reports %1 problems; the messages above name them.").arg(m_indexProblems);
    lines << tr("Where: %1").arg(QDir::toNativeSeparators(folder()));
    return lines;
}

// An export is put in its place only when its data matches the MD5 value of the backup header.
QStringList ExportVerdict::exportLines(bool lineCheck) const
{
    return QStringList{tr("MD5 proof: the exported data matches the MD5 value in the backup's header.")}
        + recordLines(lineCheck);
}

QStringList ExportVerdict::packageLines(const app::HandoverFacts &handover) const
{
    const QString md5 = HelperClass::convertToFormattedHexValue(handover.computedMd5);
    QStringList lines{handover.storedMd5 == handover.computedMd5
                              ? tr("MD5 proof: the backup's data matches the value in its header, %1.").arg(md5)
                              : tr("MD5 proof failed: the backup's data gives %1, its header says %2.")
                                        .arg(md5, HelperClass::convertToFormattedHexValue(handover.storedMd5)),
                      tr("Records in the table file: %1.").arg(handover.records)};
    lines << recordLines(true);
    lines << tr("The protocol %1 in the archive states all of this.").arg(app::HandoverProtocol::fileName());
    const QFileInfo archive(written());
    lines << tr("Give the tax office this file: %1 (%2).")
                     .arg(archive.fileName(), QLocale().formattedDataSize(archive.size()))
          << tr("Before that, print the protocol (View protocol shows it), check it and sign it: the signed "
                "protocol with its SHA-256 values vouches for the data.");
    return lines;
}

QStringList ExportVerdict::recordLines(bool lineCheck) const
{
    if (!lineCheck)
        return {tr("The line check was skipped: the lines are as they decrypted.")};
    if (m_lineProblems.isEmpty())
        return {tr("Every record passed the line check: none were repaired and none were lost.")};
    // The export words each damaged record and, at its end, what was repaired and what was lost.
    QStringList lines = m_lineProblems.mid(0, ShownLineProblems);
    if (m_lineProblems.size() > ShownLineProblems)
        lines << tr("… and %1 more, listed in the messages.").arg(m_lineProblems.size() - ShownLineProblems);
    return lines;
}

// The table file comes first: in its GDPdU folder, or in the target as the archive is.
QString ExportVerdict::folder() const
{
    return m_files.isEmpty() ? QString() : QFileInfo(m_files.constFirst()).path();
}

} // namespace fiscora::desktop
