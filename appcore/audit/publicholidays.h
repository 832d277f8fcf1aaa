#ifndef FISCORA_APP_PUBLICHOLIDAYS_H
#define FISCORA_APP_PUBLICHOLIDAYS_H

#include <QDate>

namespace fiscora::app {

/*!
 * The public holidays that every German state keeps, on which a business without records was
 * closed as everyone expects: New Year, Good Friday, Easter Monday, May Day, Ascension Day, Whit
 * Monday, German Unity Day and the two days of Christmas.
 *
 * \code
 * if (!hasRecords(day) && !PublicHolidays::isHoliday(day))
 *     ask(day);
 * \endcode
 */
class PublicHolidays
{
public:
    static bool isHoliday(const QDate &date);
    //! Easter Sunday of \a year in the Gregorian calendar.
    static QDate easter(int year);
};

} // namespace fiscora::app

#endif // FISCORA_APP_PUBLICHOLIDAYS_H
