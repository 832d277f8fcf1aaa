#include "openinghours.h"

#include <algorithm>
#include <iterator>

namespace fiscora::sample {

OpeningHours::OpeningHours(int closedOn, bool publicHolidays)
    : m_closedOn(closedOn)
    , m_publicHolidays(publicHolidays)
{
}

bool OpeningHours::isOpen(const QDate &date) const
{
    return date.dayOfWeek() != m_closedOn && !(m_publicHolidays && isPublicHoliday(date));
}

QTime OpeningHours::opens(const QDate &date) const
{
    return date.dayOfWeek() >= Qt::Saturday ? QTime(8, 0) : QTime(7, 0);
}

QTime OpeningHours::closes(const QDate &date) const
{
    switch (date.dayOfWeek()) {
    case Qt::Saturday:
        return QTime(16, 0);
    case Qt::Sunday:
        return QTime(14, 0);
    default:
        return QTime(18, 30);
    }
}

bool OpeningHours::isPublicHoliday(const QDate &date)
{
    const QDate fixed[] = {QDate(date.year(), 1, 1), QDate(date.year(), 5, 1), QDate(date.year(), 10, 3),
                           QDate(date.year(), 12, 25), QDate(date.year(), 12, 26)};
    // Good Friday, Easter Monday, Ascension and Whit Monday move with Easter.
    const qint64 fromEaster = easterSunday(date.year()).daysTo(date);
    return std::find(std::begin(fixed), std::end(fixed), date) != std::end(fixed) || fromEaster == -2
        || fromEaster == 1 || fromEaster == 39 || fromEaster == 50;
}

QDate OpeningHours::easterSunday(int year)
{
    // The anonymous Gregorian computus.
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - b / 4 - g + 15) % 30;
    const int l = (32 + 2 * (b % 4) + 2 * (c / 4) - h - c % 4) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int monthAndDay = h + l - 7 * m + 114;
    return QDate(year, monthAndDay / 31, monthAndDay % 31 + 1);
}

} // namespace fiscora::sample
