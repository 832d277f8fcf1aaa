#include "publicholidays.h"

namespace fiscora::app {

bool PublicHolidays::isHoliday(const QDate &date)
{
    const int month = date.month();
    const int day = date.day();
    const bool fixed = (month == 1 && day == 1) || (month == 5 && day == 1) || (month == 10 && day == 3)
        || (month == 12 && (day == 25 || day == 26));
    if (fixed)
        return true;
    // Good Friday, Easter Monday, Ascension Day and Whit Monday, counted from Easter Sunday.
    const qint64 fromEaster = easter(date.year()).daysTo(date);
    return fromEaster == -2 || fromEaster == 1 || fromEaster == 39 || fromEaster == 50;
}

// The anonymous Gregorian algorithm (Meeus, Jones, Butcher).
QDate PublicHolidays::easter(int year)
{
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

} // namespace fiscora::app
