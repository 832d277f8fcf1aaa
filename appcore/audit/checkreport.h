#ifndef FISCORA_APP_CHECKREPORT_H
#define FISCORA_APP_CHECKREPORT_H

#include "checkfinding.h"
#include "checktally.h"
#include "digittest.h"

#include <QByteArray>
#include <QDate>
#include <QList>

#include <array>
#include <map>

namespace fiscora::app {

/*!
 * What the check found in a journal's period: the figures behind the tests, which the charts
 * draw too, and each test's finding.
 */
struct CheckReport
{
    //! The days the check covers: those of the months asked for, or from the first to the last
    //! day with records.
    QDate firstDay;
    QDate lastDay;
    //! The records of the period, and the Buchungstyp of the lines the takings are summed from.
    qint64 records = 0;
    QByteArray takingsType;
    //! The days with payment lines, and the days without records on which the business usually opens.
    std::map<QDate, DayTally> days;
    QList<QDate> missingDays;
    //! The weekdays (Qt::DayOfWeek) on which the business does not open.
    QList<int> closedWeekdays;
    //! The last digit before the decimal point and the first after it of the daily takings, and
    //! the first digits of the item amounts.
    DigitTest lastDigit{DigitTest::Uniform};
    DigitTest firstDecimal{DigitTest::Uniform};
    DigitTest itemDigits{DigitTest::Benford};
    //! Payments by hour of the day over the period, and the hours in which the business usually
    //! has payments on some weekday (bit h for hour h).
    std::array<qint64, 24> paymentsByHour{};
    quint32 usualHours = 0;
    QList<TallyEntry> paymentKinds;
    QList<TallyEntry> operators;
    QList<TallyEntry> taxCodes;
    QList<CheckFinding> findings;

    //! Whether any test fires.
    bool flagged() const;
    qint64 takingsCents() const;
    //! The mean takings per open day of each weekday (Monday 0), and how many such days there were.
    std::array<double, 7> weekdayMeans() const;
    std::array<int, 7> weekdayDays() const;
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHECKREPORT_H
