#ifndef FISCORA_APP_CHECKCHARTS_H
#define FISCORA_APP_CHECKCHARTS_H

#include "chartmodel.h"

#include <QCoreApplication>
#include <QList>

namespace fiscora::app {

class DigitTest;
struct CheckReport;

/*!
 * The charts of a check: the takings of every day of the period with the days without records
 * marked, the takings by week and by weekday, each digit distribution against the one expected,
 * and the payments by hour with the unusual hours marked.
 *
 * \code
 * for (const ChartModel &chart : CheckCharts::of(report))
 *     painter.draw(chart, area);
 * \endcode
 */
class CheckCharts
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::CheckCharts)

public:
    static QList<ChartModel> of(const CheckReport &report);

    static ChartModel takingsPerDay(const CheckReport &report);
    static ChartModel takingsPerWeek(const CheckReport &report);
    static ChartModel weekdayProfile(const CheckReport &report);
    static ChartModel digits(const DigitTest &test, const QString &title);
    static ChartModel paymentsByHour(const CheckReport &report);
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHECKCHARTS_H
