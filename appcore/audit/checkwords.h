#ifndef FISCORA_APP_CHECKWORDS_H
#define FISCORA_APP_CHECKWORDS_H

#include <QCoreApplication>
#include <QDate>
#include <QString>

namespace fiscora::app {

/*!
 * Figures as the check shows them to people, in the language's own way (the default QLocale):
 * amounts to the cent without passing through a floating-point value, statistics to two places,
 * shares in per cent, days and months.
 *
 * \code
 * CheckWords::money(123456);     // "1,234.56 €", "1.234,56 €" in German
 * CheckWords::share(0.0125);     // "1.3 %"
 * \endcode
 */
class CheckWords
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::CheckWords)

public:
    static QString money(qint64 cents);
    static QString decimal(double value, int places = 2);
    static QString share(double share);
    static QString count(qint64 count);
    static QString day(const QDate &date);
    static QString month(const QDate &date);
    //! "01/2019 to 12/2019", or the one month.
    static QString months(const QDate &first, const QDate &last);
    //! A time of day from seconds since midnight: "07:02:13".
    static QString time(int seconds);
    //! "Monday" ... in the language, for a Qt::DayOfWeek.
    static QString weekday(int dayOfWeek);
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHECKWORDS_H
