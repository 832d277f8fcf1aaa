#ifndef FISCORA_DESKTOP_MONTHCALENDAR_H
#define FISCORA_DESKTOP_MONTHCALENDAR_H

#include "listedmonth.h"

#include <fiscora/cardlisting.h>

#include <QColor>
#include <QTableWidget>

namespace fiscora::desktop {

/*!
 * The months of one register as a read of the card would find them: a row per year, a column
 * per month, each cell coloured and marked with a symbol by its state, and the state in words as
 * its tooltip and accessible text, so that neither colour nor sight is needed to tell them apart.
 *
 * \code
 * auto *calendar = new MonthCalendar(cashRegister, this);
 * \endcode
 */
class MonthCalendar : public QTableWidget
{
    Q_OBJECT

public:
    explicit MonthCalendar(const CardListing::Register &cashRegister, QWidget *parent = nullptr);

    //! The state's name, as the legend shows it: "OK", "Data file missing", ...
    static QString stateName(app::ListedMonth::State state);
    //! What the state means, a sentence.
    static QString stateDescription(app::ListedMonth::State state);
    static QColor stateColour(app::ListedMonth::State state);
    //! A mark that tells the state without its colour.
    static QString stateSymbol(app::ListedMonth::State state);
    //! Every state, in the order of the legend.
    static QList<app::ListedMonth::State> states();

private:
    void fillYear(int row, int year, const CardListing::Register &cashRegister);
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_MONTHCALENDAR_H
