#ifndef FISCORA_APP_PERIODFILTER_H
#define FISCORA_APP_PERIODFILTER_H

#include "tablescan.h"

#include <QByteArrayList>
#include <QDate>

class QIODevice;

namespace fiscora::app {

/*!
 * Copies the lines of a table file whose date lies in a period of months. A line that is no
 * record or whose date cannot be read (a repaired one, say) goes with the line before it, or, at
 * the start, with the first line that has a date.
 *
 * \code
 * PeriodFilter filter(QDate(2019, 1, 1), QDate(2019, 3, 1), TableLayout::ofExports());
 * if (filter.copy(table, periodTable))
 *     say(filter.linesLeftOut());
 * \endcode
 */
class PeriodFilter
{
public:
    //! The months from \a firstMonth to \a lastMonth; \a lastMonth invalid stands for \a firstMonth.
    PeriodFilter(const QDate &firstMonth, const QDate &lastMonth, const TableLayout &layout);

    //! Copies the lines of the period from \a in to \a out, and the first line of \a in whatever its
    //! date when \a keepFirstLine (that line is not counted); false when one of them fails.
    bool copy(QIODevice &in, QIODevice &out, bool keepFirstLine = false);

    qint64 linesKept() const { return m_kept; }
    qint64 linesLeftOut() const { return m_leftOut; }

private:
    bool take(const QByteArray &line, QIODevice &out);
    bool settle(bool inPeriod, QIODevice &out);

    const QDate m_first;
    const QDate m_end;
    const TableLayout m_layout;
    //! Lines without a date at the start, until a line with one decides where they go.
    QByteArrayList m_undecided;
    bool m_decided = false;
    bool m_inPeriod = false;
    qint64 m_kept = 0;
    qint64 m_leftOut = 0;
};

} // namespace fiscora::app

#endif // FISCORA_APP_PERIODFILTER_H
