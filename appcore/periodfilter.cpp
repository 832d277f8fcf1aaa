#include "periodfilter.h"

#include "linereader.h"

#include <QIODevice>

namespace fiscora::app {

PeriodFilter::PeriodFilter(const QDate &firstMonth, const QDate &lastMonth, const TableLayout &layout)
    : m_first(firstMonth)
    , m_end((lastMonth.isValid() ? lastMonth : firstMonth).addMonths(1))
    , m_layout(layout)
{
}

bool PeriodFilter::copy(QIODevice &in, QIODevice &out, bool keepFirstLine)
{
    LineReader lines(&in, '\n', TableLayout::LongestRow);
    QByteArray line;
    while (lines.readLine(&line)) {
        // A line longer than any record would lose its end.
        if (lines.truncated())
            return false;
        if (lines.ended())
            line += '\n';
        const bool written = keepFirstLine && lines.lineNumber() == 1 ? out.write(line) == line.size()
                                                                      : take(line, out);
        if (!written)
            return false;
    }
    // When no line has a date at all, none lies in the period.
    return !lines.hasError() && settle(false, out);
}

bool PeriodFilter::take(const QByteArray &line, QIODevice &out)
{
    const QDate date = m_layout.date(m_layout.fields(line));
    if (date.isValid()) {
        if (!settle(date >= m_first && date < m_end, out))
            return false;
        m_inPeriod = date >= m_first && date < m_end;
    } else if (!m_decided) {
        m_undecided.append(line);
        return true;
    }
    if (!m_inPeriod) {
        ++m_leftOut;
        return true;
    }
    ++m_kept;
    return out.write(line) == line.size();
}

// The lines before the first date go where that first date goes.
bool PeriodFilter::settle(bool inPeriod, QIODevice &out)
{
    if (m_decided)
        return true;
    m_decided = true;
    for (const QByteArray &line : qAsConst(m_undecided)) {
        if (!inPeriod)
            ++m_leftOut;
        else if (out.write(line) != line.size())
            return false;
        else
            ++m_kept;
    }
    m_undecided.clear();
    return true;
}

} // namespace fiscora::app
