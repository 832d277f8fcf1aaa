#ifndef FISCORA_APP_CHARTMODEL_H
#define FISCORA_APP_CHARTMODEL_H

#include <QList>
#include <QString>
#include <QStringList>

namespace fiscora::app {

/*!
 * The data of one bar chart, as the PDF report and the window draw it: a bar per category, where
 * wanted the value expected for it, and categories marked for a reason the note gives.
 *
 * \code
 * ChartModel chart;
 * chart.title = tr("Receipts by hour");
 * chart.labels = {"07", "08"};
 * chart.values = {12, 40};
 * \endcode
 */
struct ChartModel
{
    QString title;
    //! What the values are, with their unit: "Takings in €".
    QString valueLabel;
    //! A label per category; an empty one is not written, so that a long series stays legible.
    QStringList labels;
    QList<double> values;
    //! The value expected per category, or nothing.
    QList<double> expected;
    //! The categories drawn marked, or nothing.
    QList<bool> marked;
    //! What the marks and the expected values stand for.
    QString note;

    bool isMarked(int category) const { return marked.value(category, false); }
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHARTMODEL_H
