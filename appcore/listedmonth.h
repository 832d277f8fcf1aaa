#ifndef FISCORA_APP_LISTEDMONTH_H
#define FISCORA_APP_LISTEDMONTH_H

#include <fiscora/cardlisting.h>

#include <QDate>
#include <QList>

namespace fiscora::app {

/*!
 * What a read of a card would find in one month of a register, as the applications show it in
 * their month calendars.
 *
 * \code
 * for (const int year : ListedMonth::years(cashRegister))
 *     for (int month = 1; month <= 12; ++month)
 *         show(ListedMonth::of(cashRegister, QDate(year, month, 1)));
 * \endcode
 */
class ListedMonth
{
public:
    enum State {
        Announced,       //!< a data file that the index file announces
        Missing,         //!< announced, but no data file
        NotAnnounced,    //!< a data file that the index file does not announce
        Unreadable,      //!< a data file that cannot be opened
        NotJudged,       //!< a data file, but no index file to judge it by
        Nothing          //!< neither announced nor a data file
    };

    static State of(const CardListing::Register &cashRegister, const QDate &month);

    //! The years from the first to the last that hold anything, leaving out those that hold nothing.
    static QList<int> years(const CardListing::Register &cashRegister);
};

} // namespace fiscora::app

#endif // FISCORA_APP_LISTEDMONTH_H
