#include "numberingcheck.h"

#include "checkwords.h"
#include "journalfacts.h"

namespace fiscora::app {

NumberingCheck::NumberingCheck(const JournalFacts &facts)
    : m_facts(facts)
{
}

QList<CheckFinding> NumberingCheck::findings() const
{
    return {lineNumbers(), receiptNumbers(), damagedRows()};
}

CheckFinding NumberingCheck::lineNumbers() const
{
    CheckFinding finding;
    finding.test = QStringLiteral("lineNumbers");
    finding.title = tr("Zeilennummer without gaps, repeats or steps back");
    qint64 missing = 0;
    int gaps = 0;
    qint64 repeats = 0;
    const QMap<QByteArray, Numbering> numberings = m_facts.lineNumbers();
    for (const Numbering &numbering : numberings) {
        finding.details += gapLines(QStringLiteral("Zeilennummer"), numbering, &missing, &gaps);
        finding.details += repeatLines(QStringLiteral("Zeilennummer"), numbering);
        repeats += numbering.duplicateCount + numbering.backwardCount;
    }
    finding.figure = tr("missing: %1, gaps: %2, repeated or out of order: %3, records of the period: %4")
                             .arg(missing).arg(gaps).arg(repeats).arg(m_facts.total().rows);
    finding.threshold = tr("flagged at the first missing, repeated or backward number");
    finding.verdict = missing + repeats > 0 ? CheckFinding::Flagged : CheckFinding::Passed;
    finding.conclusion = finding.verdict == CheckFinding::Flagged
        ? tr("An auditor asks about each gap first: lines missing from the journal are records that were not "
             "kept. Explain each gap (damage of the card, a reset of the register with its protocol); the lines "
             "below name the numbers and the records on both sides.")
        : tr("Every line number of the period follows the one before: the journal is complete in its lines.");
    return finding;
}

CheckFinding NumberingCheck::receiptNumbers() const
{
    CheckFinding finding;
    finding.test = QStringLiteral("receiptNumbers");
    finding.title = tr("Bonnummer without gaps");
    qint64 missing = 0;
    int gaps = 0;
    const QMap<QByteArray, Numbering> numberings = m_facts.receiptNumbers();
    for (const Numbering &numbering : numberings)
        finding.details += gapLines(QStringLiteral("Bonnummer"), numbering, &missing, &gaps);
    finding.figure = tr("missing: %1, gaps: %2").arg(missing).arg(gaps);
    finding.threshold = tr("flagged at the first missing number");
    finding.verdict = missing > 0 ? CheckFinding::Flagged : CheckFinding::Passed;
    finding.conclusion = finding.verdict == CheckFinding::Flagged
        ? tr("Receipts missing from the numbering are sales an auditor will assume were made and not booked, "
             "unless each gap is explained.")
        : tr("Every receipt number of the period follows the one before.");
    return finding;
}

CheckFinding NumberingCheck::damagedRows() const
{
    CheckFinding finding;
    finding.test = QStringLiteral("damagedRows");
    finding.title = tr("Records that can be read");
    const qint64 damaged = m_facts.total().damagedRows;
    finding.figure = tr("damaged rows: %1, rows of the period: %2").arg(damaged).arg(m_facts.total().rows);
    finding.threshold = tr("flagged at the first damaged row");
    finding.verdict = damaged > 0 ? CheckFinding::Flagged : CheckFinding::Passed;
    for (const DamagedRow &row : m_facts.damagedRows()) {
        finding.details << (row.column.isEmpty()
                                    ? tr("Row %1 (%2): wrong number of fields").arg(row.place.row).arg(where(row.place))
                                    : tr("Row %1 (%2): %3 cannot be read").arg(row.place.row).arg(where(row.place), row.column));
    }
    finding.conclusion = finding.verdict == CheckFinding::Flagged
        ? tr("An auditor's import rejects damaged rows, and the figures of every other test leave them out. "
             "Keep the export's report of the damage at hand.")
        : tr("Every row of the period is a record an auditor's import reads whole.");
    return finding;
}

// Gaps inside the period are missing from it; one at its edge may be missing from the months beside.
QStringList NumberingCheck::gapLines(const QString &column, const Numbering &numbering, qint64 *missing, int *gaps) const
{
    QStringList lines;
    for (const NumberGap &gap : numbering.gaps) {
        if (!gap.inPeriod())
            continue;
        *missing += gap.count();
        if (++*gaps > PlacesSaid)
            continue;
        QString line = tr("%1 %2 to %3 missing (count: %4) between %5 and %6")
                               .arg(column)
                               .arg(gap.first)
                               .arg(gap.last)
                               .arg(gap.count())
                               .arg(where(gap.before), where(gap.after));
        if (damageBetween(gap.before, gap.after))
            line += QLatin1String(": ") + tr("a damaged row lies between them, so the card's damage may explain it");
        lines << line;
    }
    if (*gaps > PlacesSaid)
        lines << tr("further gaps: %1").arg(*gaps - PlacesSaid);
    return lines;
}

QStringList NumberingCheck::repeatLines(const QString &column, const Numbering &numbering) const
{
    QStringList lines;
    for (const NumberRepeat &repeat : numbering.duplicates.mid(0, PlacesSaid))
        lines << tr("%1 %2 once more at %3").arg(column).arg(repeat.number).arg(where(repeat.place));
    for (const NumberRepeat &repeat : numbering.backwards.mid(0, PlacesSaid))
        lines << tr("%1 %2 smaller than the one before, at %3").arg(column).arg(repeat.number).arg(where(repeat.place));
    return lines;
}

bool NumberingCheck::damageBetween(const RowPlace &before, const RowPlace &after) const
{
    for (const DamagedRow &row : m_facts.damagedRows()) {
        if (row.place.sourceRow > before.sourceRow && row.place.sourceRow < after.sourceRow)
            return true;
    }
    return false;
}

QString NumberingCheck::where(const RowPlace &place)
{
    // A damaged row may have lost its date with the rest of its fields.
    if (!place.date.isValid())
        return tr("no date");
    if (place.time < 0)
        return CheckWords::day(place.date);
    return QStringLiteral("%1 %2").arg(CheckWords::day(place.date), CheckWords::time(place.time));
}

} // namespace fiscora::app
