#ifndef FISCORA_APP_CHARTPAINTER_H
#define FISCORA_APP_CHARTPAINTER_H

#include <QRectF>

class QPainter;

namespace fiscora::app {

struct ChartModel;

/*!
 * Draws a ChartModel as a bar chart into a rectangle of any QPainter: a PDF page, an image or a
 * widget. Sizes follow the rectangle and the painter's font, so one chart reads alike on each.
 *
 * \code
 * QPainter painter(&image);
 * ChartPainter(painter).draw(chart, image.rect());
 * \endcode
 */
class ChartPainter
{
public:
    explicit ChartPainter(QPainter &painter);

    void draw(const ChartModel &chart, const QRectF &area);

private:
    double top(const ChartModel &chart) const;
    void drawAxis(const QRectF &plot, double top, const QString &label);
    void drawBars(const ChartModel &chart, const QRectF &plot, double top);
    void drawExpected(const ChartModel &chart, const QRectF &plot, double top);
    void drawLabels(const ChartModel &chart, const QRectF &plot);

    QPainter &m_painter;
    double m_line = 0;
    double m_axisWidth = 0;
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHARTPAINTER_H
