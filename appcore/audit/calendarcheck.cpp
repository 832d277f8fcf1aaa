#include "calendarcheck.h"

#include "checkwords.h"
#include "publicholidays.h"

#include <algorithm>

namespace fiscora::app {

CalendarCheck::CalendarCheck(const QList<QDate> &recordDays, const QDate &firstDay, const QDate &lastDay)
    : m_recordDays(recordDays.begin(), recordDays.end())
    , m_first(firstDay)
    , m_last(lastDay)
{
    if (recordDays.isEmpty())
        return;
    m_firstRecord = *std::min_element(recordDays.begin(), recordDays.end());
    m_lastRecord = *std::max_element(recordDays.begin(), recordDays.end());
    findClosedWeekdays();
    findMissingDays();
}

// Judged between the first and the last day with records, where the business was running.
void CalendarCheck::findClosedWeekdays()
{
    int dates[7] = {};
    int open[7] = {};
    for (QDate date = m_firstRecord; date <= m_lastRecord; date = date.addDays(1)) {
        ++dates[date.dayOfWeek() - 1];
        open[date.dayOfWeek() - 1] += m_recordDays.contains(date);
    }
    for (int weekday = 0; weekday < 7; ++weekday) {
        if (dates[weekday] > 0 && open[weekday] <= ClosedShare * dates[weekday])
            m_closedWeekdays << weekday + 1;
    }
}

void CalendarCheck::findMissingDays()
{
    for (QDate date = m_firstRecord; date <= m_lastRecord; date = date.addDays(1)) {
        if (m_recordDays.contains(date) || m_closedWeekdays.contains(date.dayOfWeek()))
            continue;
        if (PublicHolidays::isHoliday(date))
            ++m_holidaysClosed;
        else
            m_missingDays << date;
    }
}

QList<CheckFinding> CalendarCheck::findings() const
{
    return {days(), months()};
}

CheckFinding CalendarCheck::days() const
{
    CheckFinding finding;
    finding.test = QStringLiteral("missingDays");
    finding.title = tr("Days without records");
    finding.figure = tr("days without records: %1, from %2 to %3, beyond the closing pattern (%4)")
                             .arg(m_missingDays.size())
                             .arg(CheckWords::day(m_firstRecord), CheckWords::day(m_lastRecord), closingPattern());
    finding.threshold = tr("asked about at the first such day");
    finding.details = runs();
    finding.verdict = m_missingDays.isEmpty() ? CheckFinding::Passed : CheckFinding::Explain;
    finding.conclusion = m_missingDays.isEmpty()
        ? tr("The business has records on every day it usually opens.")
        : tr("An auditor comparing takings over time sees these days without takings on days the business "
             "usually opens. Explain them (holidays, illness, a local holiday) or find their records.");
    return finding;
}

CheckFinding CalendarCheck::months() const
{
    CheckFinding finding;
    finding.test = QStringLiteral("missingMonths");
    finding.title = tr("Months without records");
    QStringList missing;
    for (QDate month(m_first.year(), m_first.month(), 1); month <= m_last; month = month.addMonths(1)) {
        const bool any = std::any_of(m_recordDays.begin(), m_recordDays.end(), [&](const QDate &day) {
            return day.year() == month.year() && day.month() == month.month();
        });
        if (!any)
            missing << CheckWords::month(month);
    }
    finding.figure = tr("months without records: %1, in %2").arg(missing.size()).arg(CheckWords::months(m_first, m_last));
    finding.threshold = tr("flagged at the first such month");
    finding.details = missing;
    finding.verdict = missing.isEmpty() ? CheckFinding::Passed : CheckFinding::Flagged;
    finding.conclusion = missing.isEmpty()
        ? tr("Every month of the period has records.")
        : tr("A month without records is a month the auditor cannot check: the journal of the months named "
             "below has to be handed over, or their absence explained.");
    return finding;
}

QString CalendarCheck::closingPattern() const
{
    QStringList closed;
    for (const int weekday : m_closedWeekdays)
        closed << CheckWords::weekday(weekday);
    const QString days = closed.isEmpty() ? tr("open every day of the week") : tr("closed on %1").arg(closed.join(QLatin1String(", ")));
    return tr("%1; public holidays without records: %2").arg(days).arg(m_holidaysClosed);
}

// A run goes on over closed days and holidays, up to the next day with records.
QStringList CalendarCheck::runs() const
{
    const auto recordBetween = [&](const QDate &first, const QDate &last) {
        for (QDate date = first.addDays(1); date < last; date = date.addDays(1)) {
            if (m_recordDays.contains(date))
                return true;
        }
        return false;
    };
    QStringList lines;
    int runs = 0;
    for (int i = 0; i < m_missingDays.size();) {
        int end = i;
        while (end + 1 < m_missingDays.size() && !recordBetween(m_missingDays.at(end), m_missingDays.at(end + 1)))
            ++end;
        if (++runs <= RunsSaid) {
            const QDate first = m_missingDays.at(i);
            lines << (end == i ? tr("%1 (%2)").arg(CheckWords::day(first), CheckWords::weekday(first.dayOfWeek()))
                               : tr("%1 to %2 (days usually open: %3)")
                                         .arg(CheckWords::day(first), CheckWords::day(m_missingDays.at(end)))
                                         .arg(end - i + 1));
        }
        i = end + 1;
    }
    if (runs > RunsSaid)
        lines << tr("further: %1").arg(runs - RunsSaid);
    return lines;
}

} // namespace fiscora::app
