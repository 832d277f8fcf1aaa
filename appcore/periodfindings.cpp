#include "periodfindings.h"

#include <QStringList>
#include <QTime>

#include <algorithm>

namespace fiscora::app {

namespace {

const char *const KTLCypherContext = "fiscora::KTLCypher";

QString monthText(const QDate &month)
{
    return month.toString(QStringLiteral("MM/yyyy"));
}

QString libraryText(const char *text)
{
    return QCoreApplication::translate(KTLCypherContext, text);
}

QString missingText(const QDate &month)
{
    return QObject::tr("INDEX ERROR: The file for the date %1 is missing.").arg(monthText(month));
}

// The number that a line message of the library names in place of its %1, or -1.
qint64 numberIn(const QString &text, const char *message)
{
    const QStringList around = libraryText(message).split(QLatin1String("%1"));
    if (around.size() != 2 || !text.startsWith(around.at(0)) || !text.endsWith(around.at(1)))
        return -1;
    bool ok = false;
    const qint64 number = text.mid(around.at(0).size(), text.size() - around.at(0).size() - around.at(1).size())
                              .toLongLong(&ok);
    return ok ? number : -1;
}

// The row of the table that a line message names: a damaged line is named by the count of the
// lines before it, a repaired one by the count with itself.
qint64 namedRow(const QString &text)
{
    const qint64 damaged = numberIn(text, "Decryption error near line: %1");
    if (damaged >= 0)
        return damaged + 1;
    return numberIn(text, "Check decryption near line: %1");
}

bool isLossMessage(const QString &text)
{
    return text.startsWith(libraryText("Not all records could be read: %1 lines were repaired, %2 bytes could not be read.")
                               .section(QLatin1Char(':'), 0, 0));
}

QString dateTime(const RowPlace &place)
{
    const QString date = place.date.toString(QStringLiteral("dd.MM.yyyy"));
    if (place.time < 0)
        return date;
    return date + QLatin1Char(' ') + QTime(0, 0).addSecs(place.time).toString(QStringLiteral("HH:mm:ss"));
}

QString recordsText(qint64 records)
{
    return records == 1 ? PeriodFindings::tr("1 record") : PeriodFindings::tr("%1 records").arg(records);
}

} // namespace

bool MonthFinding::isOk() const
{
    return status == IndexFileAnalyser::INDEX_OK && sums.rows > 0 && sums.damagedRows == 0 && missingLines == 0
        && duplicates == 0 && lineMessages == 0;
}

QString MonthFinding::summary() const
{
    const QString month = monthText(this->month);
    if (isOk())
        return PeriodFindings::tr("%1: OK, %2").arg(month, recordsText(sums.rows));
    QStringList parts = QStringList(recordsText(sums.rows)) + faults();
    // The count says it already.
    parts.removeAll(PeriodFindings::tr("no records"));
    return month + QLatin1String(": ") + parts.join(QLatin1String(", "));
}

QStringList MonthFinding::faults() const
{
    QStringList faults;
    if (status == IndexFileAnalyser::INDEX_ERROR_FILE_MISSING)
        faults << PeriodFindings::tr("its data file is missing");
    else if (status == IndexFileAnalyser::INDEX_ERROR_FILE_EXIST)
        faults << PeriodFindings::tr("its data file is not in the index");
    else if (status == IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING)
        faults << PeriodFindings::tr("no index file vouches for it");
    if (sums.damagedRows > 0 || lineMessages > 0)
        faults << PeriodFindings::tr("%1 damaged").arg(qMax<qint64>(sums.damagedRows, lineMessages));
    if (missingLines > 0) {
        QStringList lines;
        for (const NumberGap &gap : gaps)
            lines << (gap.first == gap.last ? QString::number(gap.first)
                                            : PeriodFindings::tr("%1 to %2").arg(gap.first).arg(gap.last));
        faults << PeriodFindings::tr("%1 missing: lines %2").arg(missingLines).arg(lines.join(QLatin1String(", ")));
    }
    if (duplicates > 0)
        faults << PeriodFindings::tr("%1 twice").arg(duplicates);
    if (faults.isEmpty() && sums.rows == 0)
        faults << PeriodFindings::tr("no records");
    return faults;
}

PeriodFindings::PeriodFindings(const IndexFileAnalyser &analyser, const JournalFacts &facts,
                               const QList<ReportedMessage> &messages)
    : m_first(facts.hasPeriod() ? facts.firstMonth() : QDate())
    , m_last(facts.hasPeriod() ? facts.lastMonth() : QDate())
    , m_total(facts.total())
{
    const QMap<QDate, IndexFileAnalyser::IndexStatus> index = analyser.getIndexMap();
    for (auto month = index.cbegin(); month != index.cend(); ++month) {
        if (*month == IndexFileAnalyser::INDEX_ERROR_FILE_MISSING)
            m_missingFiles << month.key();
    }
    addMonths(analyser, facts);
    addLineReport(facts, messages);
    addIndexReport(analyser, facts, messages);
    addOutside(facts);
}

QList<qint64> PeriodFindings::namedRows(const QList<ReportedMessage> &messages)
{
    QList<qint64> rows;
    for (const ReportedMessage &message : messages) {
        const qint64 row = message.count == 0 ? namedRow(message.text) : -1;
        if (row > 0)
            rows << row;
    }
    return rows;
}

bool PeriodFindings::flagged() const
{
    return std::any_of(m_report.cbegin(), m_report.cend(), [](const ReportedMessage &message) { return message.isError; });
}

void PeriodFindings::addMonths(const IndexFileAnalyser &analyser, const JournalFacts &facts)
{
    const QMap<QDate, IndexFileAnalyser::IndexStatus> index = analyser.getIndexMap();
    QList<QDate> months;
    QDate first = facts.firstMonth();
    QDate last = facts.lastMonth();
    if (!facts.hasPeriod()) {
        first = facts.months().isEmpty() ? QDate() : facts.months().firstKey();
        last = facts.months().isEmpty() ? QDate() : facts.months().lastKey();
        for (auto month = index.cbegin(); month != index.cend(); ++month) {
            if (*month == IndexFileAnalyser::INDEX_ERROR_FILE_MISSING || *month == IndexFileAnalyser::INDEX_ERROR_FILE_EXIST)
                months << month.key();
        }
    }
    for (QDate month = first; month.isValid() && month <= last; month = month.addMonths(1))
        months << month;
    std::sort(months.begin(), months.end());
    months.erase(std::unique(months.begin(), months.end()), months.end());
    for (const QDate &month : qAsConst(months))
        m_months.append({month, index.value(month, IndexFileAnalyser::INDEX_OK), facts.months().value(month), 0, {}, 0, 0});
    for (const Numbering &numbering : facts.lineNumbers()) {
        for (const NumberGap &gap : numbering.gaps) {
            // Lines gone with a missing data file are that month's.
            const QList<QDate> missingFiles = missingFilesWithin(gap);
            MonthFinding *finding = !missingFiles.isEmpty() ? findingOf(missingFiles.constFirst())
                                  : gap.inPeriod()          ? findingOf(gap.month())
                                                            : nullptr;
            if (!finding)
                continue;
            finding->missingLines += gap.count();
            finding->gaps << gap;
        }
        for (const NumberRepeat &repeat : numbering.duplicates) {
            if (MonthFinding *finding = repeat.place.inPeriod ? findingOf(repeat.place.date) : nullptr)
                ++finding->duplicates;
        }
    }
}

// The index report of the library, less the months outside the period; a period whose months
// the index finds no fault with is said to be so in the library's words.
void PeriodFindings::addIndexReport(const IndexFileAnalyser &analyser, const JournalFacts &facts,
                                    const QList<ReportedMessage> &messages)
{
    QList<ReportedMessage> numbered;
    for (const ReportedMessage &message : messages) {
        if (message.count > 0)
            numbered << message;
    }
    // The last numbered line is the hash verdict.
    const ReportedMessage verdict = numbered.isEmpty() ? ReportedMessage() : numbered.takeLast();
    const QMap<QDate, IndexFileAnalyser::IndexStatus> index = analyser.getIndexMap();
    const QString correct = QObject::tr("The data index is correct, no issues recognised.");
    bool missingInPeriod = false;
    bool missingOutside = false;
    for (const ReportedMessage &message : qAsConst(numbered)) {
        const auto missing = std::find_if(index.keyBegin(), index.keyEnd(), [&](const QDate &month) {
            return index.value(month) == IndexFileAnalyser::INDEX_ERROR_FILE_MISSING && message.text == missingText(month);
        });
        if (missing != index.keyEnd() && facts.hasPeriod() && (*missing < facts.firstMonth() || *missing > facts.lastMonth())) {
            ++m_outsideMissingMonths;
            missingOutside = true;
            continue;
        }
        missingInPeriod = missingInPeriod || missing != index.keyEnd();
        say(message.text, message.isError, ++m_indexLines);
    }
    const bool indexFault = std::any_of(m_report.cbegin(), m_report.cend(),
                                        [](const ReportedMessage &m) { return m.isError && m.count > 0; });
    if (missingOutside && !missingInPeriod && !indexFault)
        say(correct, false, ++m_indexLines);
    if (verdict.count == 0)
        return;
    // The assurance under the hash verdict holds where the period's index report finds nothing.
    const QString assurance = libraryText("The data seems not corrupted!");
    QString text = verdict.text;
    if (!verdict.isError && !indexFault && !text.endsWith(assurance) && text.endsWith(QLatin1String("<br>")))
        text += assurance;
    say(text, verdict.isError, ++m_indexLines);
}

void PeriodFindings::addLineReport(const JournalFacts &facts, const QList<ReportedMessage> &messages)
{
    const QMap<qint64, RowPlace> located = facts.located();
    bool damageInPeriod = facts.total().damagedRows > 0 || facts.missingLines(true) > 0;
    QList<ReportedMessage> lineMessages;
    for (const ReportedMessage &message : messages) {
        if (message.count != 0 || isLossMessage(message.text))
            continue;
        const qint64 row = namedRow(message.text);
        const auto place = located.constFind(row);
        if (place != located.cend() && !place->inPeriod) {
            ++m_outsideLineMessages;
            continue;
        }
        damageInPeriod = true;
        if (MonthFinding *finding = place != located.cend() ? findingOf(place->date) : nullptr)
            ++finding->lineMessages;
        lineMessages << ReportedMessage{place == located.cend() ? message.text : tr("%1 — %2").arg(message.text, where(*place)),
                                        message.isError, 0};
    }
    for (const ReportedMessage &message : qAsConst(lineMessages))
        say(message.text, message.isError);
    for (const ReportedMessage &message : messages) {
        if (message.count == 0 && isLossMessage(message.text) && damageInPeriod)
            say(message.text, message.isError);
    }
    addNumbering(facts);
}

// Lines missing from the numbering are records the table does not hold: lost to damage, or taken
// out. Where the period ends between the two rows around them, they may be the neighbour's.
void PeriodFindings::addNumbering(const JournalFacts &facts)
{
    int gapsSaid = 0;
    qint64 gapsLeftOut = 0;
    for (const Numbering &numbering : facts.lineNumbers()) {
        for (const NumberGap &gap : numbering.gaps) {
            if (!gap.inPeriod() && !gap.atEdge())
                continue;
            const QList<QDate> missingFiles = missingFilesWithin(gap);
            const bool explainedOutside = !missingFiles.isEmpty()
                && std::none_of(missingFiles.cbegin(), missingFiles.cend(), [this](const QDate &month) { return inPeriod(month); });
            if (!explainedOutside)
                (gap.inPeriod() || !missingFiles.isEmpty() ? m_missing : m_unproven) += gap.count();
            if (gapsSaid++ >= GapsSaid) {
                ++gapsLeftOut;
                continue;
            }
            const QString between = tr("between %1 and %2").arg(dateTime(gap.before), dateTime(gap.after));
            if (!missingFiles.isEmpty()) {
                QStringList months;
                for (const QDate &month : missingFiles)
                    months << monthText(month);
                say(tr("Lines %1 to %2 are missing with the missing data file of %3, %4.")
                        .arg(gap.first).arg(gap.last).arg(months.join(QLatin1String(", ")), between),
                    !explainedOutside);
            } else if (gap.atEdge()) {
                say(tr("Lines %1 to %2 are missing at the edge of this period, %3: whether they belong to it cannot be "
                       "proven.").arg(gap.first).arg(gap.last).arg(between), true);
            } else if (gap.first == gap.last) {
                say(tr("Line %1 is missing from the numbering, %2.").arg(gap.first).arg(between), true);
            } else {
                say(tr("Lines %1 to %2 are missing from the numbering (%3 lines), %4.")
                        .arg(gap.first).arg(gap.last).arg(gap.count()).arg(between), true);
            }
        }
        const auto inPeriod = [](const QList<NumberRepeat> &repeats) {
            return std::find_if(repeats.cbegin(), repeats.cend(), [](const NumberRepeat &r) { return r.place.inPeriod; });
        };
        const auto duplicate = inPeriod(numbering.duplicates);
        if (duplicate != numbering.duplicates.cend()) {
            say(tr("Line numbers that appear more than once: %1; the first, %2, again in %3.")
                    .arg(numbering.duplicateCount).arg(duplicate->number).arg(where(duplicate->place)), true);
        }
        const auto backward = inPeriod(numbering.backwards);
        if (backward != numbering.backwards.cend()) {
            say(tr("Rows whose line number is smaller than the one before: %1; the first, %2, in %3.")
                    .arg(numbering.backwardCount).arg(backward->number).arg(where(backward->place)), true);
        }
    }
    if (gapsLeftOut > 0)
        say(tr("… and %1 more gaps in the numbering.").arg(gapsLeftOut), true);
    if (gapsSaid > 1)
        say(tr("Lines missing from the numbering in all: %1, and %2 at the edges of this period.").arg(m_missing).arg(m_unproven),
            true);
}

void PeriodFindings::addOutside(const JournalFacts &facts)
{
    QStringList parts;
    if (m_outsideLineMessages > 0)
        parts << tr("messages on damaged lines: %1").arg(m_outsideLineMessages);
    if (facts.outside().damagedRows > 0)
        parts << tr("damaged rows: %1").arg(facts.outside().damagedRows);
    if (m_outsideMissingMonths > 0)
        parts << tr("missing months: %1").arg(m_outsideMissingMonths);
    if (!parts.isEmpty())
        say(tr("Outside this period: %1.").arg(parts.join(QLatin1String(", "))), false);
}

// The months strictly between the rows around the gap whose data file is missing.
QList<QDate> PeriodFindings::missingFilesWithin(const NumberGap &gap) const
{
    QList<QDate> months;
    if (!gap.before.date.isValid() || !gap.after.date.isValid())
        return months;
    const QDate after(gap.after.date.year(), gap.after.date.month(), 1);
    for (const QDate &month : m_missingFiles) {
        if (month > gap.before.date && month < after)
            months << month;
    }
    return months;
}

bool PeriodFindings::inPeriod(const QDate &month) const
{
    return !m_first.isValid() || (month >= m_first && month <= m_last);
}

MonthFinding *PeriodFindings::findingOf(const QDate &date)
{
    for (MonthFinding &finding : m_months) {
        if (date.isValid() && finding.month == QDate(date.year(), date.month(), 1))
            return &finding;
    }
    return nullptr;
}

void PeriodFindings::say(const QString &text, bool isError, int count)
{
    m_report.append({text, isError, count});
}

QString PeriodFindings::where(const RowPlace &place)
{
    if (!place.date.isValid())
        return tr("row %1 of this table").arg(place.row);
    return tr("row %1 of this table, %2").arg(place.row).arg(dateTime(place));
}

} // namespace fiscora::app
