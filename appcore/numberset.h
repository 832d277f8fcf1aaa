#ifndef FISCORA_APP_NUMBERSET_H
#define FISCORA_APP_NUMBERSET_H

#include <QDate>
#include <QList>

#include <map>

namespace fiscora::app {

//! Where a row of a table is: its numbers, from 1, and its date and time.
struct RowPlace
{
    //! In the period's rows, or for a row outside the period in the table read.
    qint64 row = 0;
    //! In the table read, its first line not counted where it is the INDEX_INFO line.
    qint64 sourceRow = 0;
    QDate date;
    //! Seconds since midnight; negative when the row has no time that can be read.
    int time = -1;
    //! Whether the row lies in the period the facts are about.
    bool inPeriod = true;
};

//! Numbers missing from a register's numbering: first to last, with the rows on either side.
struct NumberGap
{
    qint64 first = 0;
    qint64 last = 0;
    RowPlace before;
    RowPlace after;

    qint64 count() const { return last - first + 1; }
    //! Both rows around it lie in the period, so the numbers are missing from it.
    bool inPeriod() const { return before.inPeriod && after.inPeriod; }
    //! One row around it lies in the period and one outside: which of them lost the numbers
    //! cannot be told.
    bool atEdge() const { return before.inPeriod != after.inPeriod; }
    //! The month the gap is in: that of its rows when both lie in one, else that of the row before.
    QDate month() const;
};

//! A number that appears once more than it should, or smaller than the one before it.
struct NumberRepeat
{
    qint64 number = 0;
    RowPlace place;
};

/*!
 * How a register numbers its rows (Zeilennummer) or its receipts (Bonnummer): each number once,
 * one after the other.
 */
struct Numbering
{
    //! Findings of a kind kept with their places; the others are only counted.
    static constexpr int PlacesKept = 100;

    qint64 first = -1;
    qint64 last = -1;
    QList<NumberGap> gaps;
    //! The numbers that appear again, where they do; duplicateCount counts them all.
    QList<NumberRepeat> duplicates;
    qint64 duplicateCount = 0;
    //! Rows whose number is smaller than that of the row before; backwardCount counts them all.
    QList<NumberRepeat> backwards;
    qint64 backwardCount = 0;

    //! The numbers missing between rows of the period, and with \a edges those at its edges too.
    qint64 missing(bool edges = false) const;
};

/*!
 * The numbers a register gave its rows, as runs of numbers that follow one another, each with the
 * places of its first and last row. A journal numbered without fault is one run, so that a row
 * costs a comparison.
 *
 * \code
 * NumberSet lines;
 * lines.add(1001, place);
 * const Numbering numbering = lines.numbering(true);
 * \endcode
 */
class NumberSet
{
public:
    void add(qint64 number, const RowPlace &place);
    //! The gaps between the runs, and with \a repeats the numbers seen again and the steps back.
    Numbering numbering(bool repeats) const;

private:
    struct Run
    {
        qint64 last;
        RowPlace firstPlace;
        RowPlace lastPlace;
    };
    using Runs = std::map<qint64, Run>;

    void addRepeat(QList<NumberRepeat> &list, qint64 *count, qint64 number, const RowPlace &place);

    Runs m_runs;
    Runs::iterator m_lastRun = m_runs.end();
    qint64 m_previous = 0;
    bool m_any = false;
    QList<NumberRepeat> m_duplicates;
    qint64 m_duplicateCount = 0;
    QList<NumberRepeat> m_backwards;
    qint64 m_backwardCount = 0;
};

} // namespace fiscora::app

#endif // FISCORA_APP_NUMBERSET_H
