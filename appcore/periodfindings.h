#ifndef FISCORA_APP_PERIODFINDINGS_H
#define FISCORA_APP_PERIODFINDINGS_H

#include "jobrunner.h"
#include "journalfacts.h"

#include <fiscora/indexfileanalyser.h>

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>

namespace fiscora::app {

//! What one month of a period holds, and whether it passes.
struct MonthFinding
{
    QDate month;
    IndexFileAnalyser::IndexStatus status = IndexFileAnalyser::INDEX_OK;
    PeriodSums sums;
    //! Line numbers missing between the month's rows, and the gaps they make.
    qint64 missingLines = 0;
    QList<NumberGap> gaps;
    //! Line numbers of the month that appear once more.
    qint64 duplicates = 0;
    //! The library's messages on damaged lines of the month.
    int lineMessages = 0;

    //! The index vouches for the month, which holds records, none of them damaged, missing or twice.
    bool isOk() const;
    //! The month in words: "06/2023: OK, 40 records" or "06/2023: 9 records, 31 missing: lines 2011 to 2041".
    QString summary() const;
    //! What keeps the month from passing, in words: "its data file is missing", "31 missing: lines 2011 to 2041".
    QStringList faults() const;
};

/*!
 * What an export says about the period it holds, from the backup's index, the journal's facts and
 * the report of the library: the index report of the period's months, the library's messages on
 * lines in the period with the place of each (row, date), the lines missing from the numbering,
 * lines that appear twice or go back, and one line for what lies outside the period. The library's
 * texts stay as they are; the place follows them.
 *
 * \code
 * JournalFacts facts(layout, firstMonth, lastMonth);
 * facts.locate(PeriodFindings::namedRows(outcome.messages));
 * facts.addFile(table);
 * const PeriodFindings findings(outcome.analyser, facts, outcome.messages);
 * for (const ReportedMessage &message : findings.report())
 *     reporter.message(message.text, message.isError, message.count);
 * \endcode
 */
class PeriodFindings
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::PeriodFindings)

public:
    //! Gaps in the numbering said one by one; the others are counted.
    static constexpr int GapsSaid = 20;

    PeriodFindings() = default;
    PeriodFindings(const IndexFileAnalyser &analyser, const JournalFacts &facts, const QList<ReportedMessage> &messages);

    //! The rows of the table that the library's line messages name, for JournalFacts::locate().
    static QList<qint64> namedRows(const QList<ReportedMessage> &messages);

    //! The months of the period: those asked for, or without a period, the backup's from its first
    //! to its last month with records, and each month its index finds at fault.
    const QList<MonthFinding> &months() const { return m_months; }
    //! What the export has to say about the period, in its order; index lines numbered from 1.
    const QList<ReportedMessage> &report() const { return m_report; }
    //! Whether anything said about the period is flagged.
    bool flagged() const;
    //! The line numbers missing from the period's rows, and those at its edges.
    qint64 missingLines() const { return m_missing; }
    qint64 unprovenLines() const { return m_unproven; }
    //! The period's rows, all and those whose Betrag cannot be read.
    const PeriodSums &total() const { return m_total; }

private:
    void addMonths(const IndexFileAnalyser &analyser, const JournalFacts &facts);
    void addIndexReport(const IndexFileAnalyser &analyser, const JournalFacts &facts, const QList<ReportedMessage> &messages);
    void addLineReport(const JournalFacts &facts, const QList<ReportedMessage> &messages);
    void addNumbering(const JournalFacts &facts);
    void addOutside(const JournalFacts &facts);
    void say(const QString &text, bool isError, int count = 0);
    MonthFinding *findingOf(const QDate &date);
    QList<QDate> missingFilesWithin(const NumberGap &gap) const;
    bool inPeriod(const QDate &month) const;
    static QString where(const RowPlace &place);

    QList<MonthFinding> m_months;
    //! The months whose data file the index announces but the backup lacks.
    QList<QDate> m_missingFiles;
    //! The period's first and last month; invalid for the whole table.
    QDate m_first;
    QDate m_last;
    QList<ReportedMessage> m_report;
    PeriodSums m_total;
    qint64 m_missing = 0;
    qint64 m_unproven = 0;
    int m_indexLines = 0;
    // What lies outside the period.
    int m_outsideLineMessages = 0;
    int m_outsideMissingMonths = 0;
};

} // namespace fiscora::app

#endif // FISCORA_APP_PERIODFINDINGS_H
