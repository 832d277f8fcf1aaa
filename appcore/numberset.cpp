#include "numberset.h"

#include <iterator>

namespace fiscora::app {

QDate NumberGap::month() const
{
    const QDate date = before.date.isValid() ? before.date : after.date;
    return QDate(date.year(), date.month(), 1);
}

qint64 Numbering::missing(bool edges) const
{
    qint64 missing = 0;
    for (const NumberGap &gap : gaps) {
        if (gap.inPeriod() || (edges && gap.atEdge()))
            missing += gap.count();
    }
    return missing;
}

void NumberSet::add(qint64 number, const RowPlace &place)
{
    if (m_any && number < m_previous)
        addRepeat(m_backwards, &m_backwardCount, number, place);
    m_any = true;
    m_previous = number;
    // The run the number follows on, where rows come in their order.
    if (m_lastRun != m_runs.end() && number == m_lastRun->second.last + 1) {
        const auto next = std::next(m_lastRun);
        if (next == m_runs.end() || next->first > number + 1) {
            m_lastRun->second.last = number;
            m_lastRun->second.lastPlace = place;
            return;
        }
    }
    auto after = m_runs.upper_bound(number);
    if (after != m_runs.begin()) {
        const auto before = std::prev(after);
        if (number <= before->second.last) {
            addRepeat(m_duplicates, &m_duplicateCount, number, place);
            return;
        }
        if (number == before->second.last + 1) {
            before->second.last = number;
            before->second.lastPlace = place;
            // The number closes the gap to the next run: the two become one.
            if (after != m_runs.end() && after->first == number + 1) {
                before->second.last = after->second.last;
                before->second.lastPlace = after->second.lastPlace;
                m_runs.erase(after);
            }
            m_lastRun = before;
            return;
        }
    }
    if (after != m_runs.end() && after->first == number + 1) {
        Run run = after->second;
        run.firstPlace = place;
        m_runs.erase(after);
        m_lastRun = m_runs.emplace(number, run).first;
        return;
    }
    m_lastRun = m_runs.emplace(number, Run{number, place, place}).first;
}

Numbering NumberSet::numbering(bool repeats) const
{
    Numbering numbering;
    if (m_runs.empty())
        return numbering;
    numbering.first = m_runs.begin()->first;
    numbering.last = m_runs.rbegin()->second.last;
    for (auto run = m_runs.begin(), next = std::next(run); next != m_runs.end(); run = next++)
        numbering.gaps.append({run->second.last + 1, next->first - 1, run->second.lastPlace, next->second.firstPlace});
    if (repeats) {
        numbering.duplicates = m_duplicates;
        numbering.duplicateCount = m_duplicateCount;
        numbering.backwards = m_backwards;
        numbering.backwardCount = m_backwardCount;
    }
    return numbering;
}

void NumberSet::addRepeat(QList<NumberRepeat> &list, qint64 *count, qint64 number, const RowPlace &place)
{
    if (list.size() < Numbering::PlacesKept)
        list.append({number, place});
    ++*count;
}

} // namespace fiscora::app
