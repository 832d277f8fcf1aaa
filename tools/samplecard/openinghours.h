#ifndef FISCORA_SAMPLE_OPENINGHOURS_H
#define FISCORA_SAMPLE_OPENINGHOURS_H

#include <QDate>
#include <QTime>

namespace fiscora::sample {

/*!
 * When the sample shop is open: Monday to Friday from 7:00 to 18:30, Saturday from 8:00 to 16:00
 * and Sunday from 8:00 to 14:00, except on its closing day and, if it keeps them, on the public
 * holidays that all of Germany keeps.
 *
 * \code
 * const OpeningHours hours(Qt::Monday);
 * if (hours.isOpen(date))
 *     book(date, hours.opens(date), hours.closes(date));
 * \endcode
 */
class OpeningHours
{
public:
    //! A shop closed every \a closedOn (a Qt::DayOfWeek, or 0 for open all week) and, with
    //! \a publicHolidays, on public holidays.
    explicit OpeningHours(int closedOn = Qt::Sunday, bool publicHolidays = true);

    bool isOpen(const QDate &date) const;
    QTime opens(const QDate &date) const;
    QTime closes(const QDate &date) const;

    //! New Year, Good Friday, Easter Monday, May Day, Ascension, Whit Monday, German Unity Day and
    //! the two days of Christmas.
    static bool isPublicHoliday(const QDate &date);
    static QDate easterSunday(int year);

private:
    int m_closedOn;
    bool m_publicHolidays;
};

} // namespace fiscora::sample

#endif // FISCORA_SAMPLE_OPENINGHOURS_H
