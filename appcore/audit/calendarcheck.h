#ifndef FISCORA_APP_CALENDARCHECK_H
#define FISCORA_APP_CALENDARCHECK_H

#include "checkfinding.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QSet>

namespace fiscora::app {

/*!
 * Days and months without records, beyond the business's own closing pattern: a weekday on
 * which it (nearly) never has records is its closing day, and public holidays are closed days
 * too; any other day without records between days with records is one an auditor asks about,
 * and a month without any is missing.
 *
 * \code
 * const CalendarCheck calendar(recordDays, QDate(2019, 1, 1), QDate(2019, 12, 31));
 * report.missingDays = calendar.missingDays();
 * \endcode
 */
class CalendarCheck
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::CalendarCheck)

public:
    //! A weekday with records on no more than this share of its dates in the period is a closing day.
    static constexpr double ClosedShare = 0.1;
    //! Runs of missing days said one by one.
    static constexpr int RunsSaid = 20;

    //! The days with records, in the period from \a firstDay to \a lastDay.
    CalendarCheck(const QList<QDate> &recordDays, const QDate &firstDay, const QDate &lastDay);

    const QList<int> &closedWeekdays() const { return m_closedWeekdays; }
    //! Days without records between the first and the last day with them, on which the business usually opens.
    const QList<QDate> &missingDays() const { return m_missingDays; }
    QList<CheckFinding> findings() const;

private:
    void findClosedWeekdays();
    void findMissingDays();
    CheckFinding days() const;
    CheckFinding months() const;
    QString closingPattern() const;
    QStringList runs() const;

    QSet<QDate> m_recordDays;
    QDate m_first;
    QDate m_last;
    QDate m_firstRecord;
    QDate m_lastRecord;
    QList<int> m_closedWeekdays;
    QList<QDate> m_missingDays;
    int m_holidaysClosed = 0;
};

} // namespace fiscora::app

#endif // FISCORA_APP_CALENDARCHECK_H
