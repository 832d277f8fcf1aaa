#ifndef FISCORA_APP_HABITCHECK_H
#define FISCORA_APP_HABITCHECK_H

#include "checkfinding.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>

#include <map>

namespace fiscora::app {

class CheckTally;
struct CheckReport;

/*!
 * The habits of the business that an auditor compares over time: the share of cash among the
 * sales, month by month and day by day (taking cash sales out leaves the card payments, which
 * the bank records too), payments outside the hours the journal usually has them, and
 * cancellations by operator.
 *
 * \code
 * HabitCheck habits(report, tally);
 * report.findings += habits.findings();
 * \endcode
 */
class HabitCheck
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::HabitCheck)

public:
    //! Months and days the share of cash is compared over.
    static constexpr int MonthsNeeded = 3;
    static constexpr int DaysNeeded = 30;
    //! An hour is usual on a weekday when payments fall in it on at least this share of its days.
    static constexpr double UsualHourShare = 0.1;
    //! A weekday's hours are judged from this many of its days on.
    static constexpr int WeekdaysNeeded = 4;
    //! An operator stands out with this many times the cancellations per receipt of the others,
    //! and at least so many cancellations.
    static constexpr double CancellationFactor = 3;
    static constexpr int CancellationsNeeded = 10;
    static constexpr double FlagLevel = 0.01;
    //! A day's share of cash is said to be low from this many standard deviations below the mean.
    static constexpr double LowDeviation = 3;

    //! Fills the hours of \a report.
    HabitCheck(CheckReport &report, const CheckTally &tally);

    QList<CheckFinding> findings() const;

private:
    struct Share
    {
        qint64 cash = 0;
        qint64 other = 0;
    };

    void findUsualHours();
    CheckFinding cashShare(const QString &name, const QString &title, const std::map<QDate, Share> &groups,
                           int needed, bool byMonth) const;
    CheckFinding outsideHours() const;
    CheckFinding cancellations() const;
    std::map<QDate, Share> sharesBy(bool month) const;

    CheckReport &m_report;
    const CheckTally &m_tally;
    //! Per weekday (Monday 0), the hours in which payments usually fall; all for a weekday not judged.
    quint32 m_usual[7] = {};
};

} // namespace fiscora::app

#endif // FISCORA_APP_HABITCHECK_H
