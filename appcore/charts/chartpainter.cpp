#include "chartpainter.h"

#include "chartmodel.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace fiscora::app {

namespace {

const QColor BarColour(70, 110, 160);
const QColor MarkColour(200, 40, 40);
const QColor ExpectedColour(20, 20, 20);
const QColor GridColour(210, 210, 210);
constexpr int GridLines = 4;

// The smallest round value (1, 2, 2.5 or 5 times a power of ten) at or above \a value.
double roundUp(double value)
{
    if (value <= 0)
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (step * power >= value)
            return step * power;
    }
    return 10 * power;
}

} // namespace

ChartPainter::ChartPainter(QPainter &painter)
    : m_painter(painter)
{
}

void ChartPainter::draw(const ChartModel &chart, const QRectF &area)
{
    m_painter.save();
    const QFont font = m_painter.font();
    const QFontMetricsF metrics(font, m_painter.device());
    m_line = metrics.height();
    m_axisWidth = metrics.horizontalAdvance(QStringLiteral("0000000"));
    QFont bold = font;
    bold.setBold(true);
    m_painter.setFont(bold);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QRectF(area.left(), area.top(), area.width(), m_line), Qt::AlignLeft, chart.title);
    m_painter.setFont(font);
    const double noteHeight = chart.note.isEmpty() ? 0 : m_line;
    const QRectF plot(area.left() + m_axisWidth, area.top() + 2.5 * m_line, area.width() - m_axisWidth,
                      area.height() - 4 * m_line - noteHeight);
    const double highest = top(chart);
    drawAxis(plot, highest, chart.valueLabel);
    drawBars(chart, plot, highest);
    drawExpected(chart, plot, highest);
    drawLabels(chart, plot);
    if (!chart.note.isEmpty()) {
        m_painter.setPen(Qt::darkGray);
        m_painter.drawText(QRectF(area.left(), area.bottom() - m_line, area.width(), m_line), Qt::AlignLeft, chart.note);
    }
    m_painter.restore();
}

double ChartPainter::top(const ChartModel &chart) const
{
    double highest = 0;
    for (const double value : chart.values + chart.expected)
        highest = std::max(highest, value);
    return roundUp(highest);
}

void ChartPainter::drawAxis(const QRectF &plot, double top, const QString &label)
{
    m_painter.setPen(Qt::darkGray);
    m_painter.drawText(QRectF(plot.left(), plot.top() - 1.5 * m_line, plot.width(), m_line), Qt::AlignLeft, label);
    for (int line = 0; line <= GridLines; ++line) {
        const double y = plot.bottom() - plot.height() * line / GridLines;
        m_painter.setPen(QPen(line == 0 ? Qt::black : GridColour, 0));
        m_painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(plot.left() - m_axisWidth, y - m_line / 2, m_axisWidth - m_line / 2, m_line),
                           Qt::AlignRight | Qt::AlignVCenter, QLocale().toString(top * line / GridLines, 'g', 6));
    }
}

void ChartPainter::drawBars(const ChartModel &chart, const QRectF &plot, double top)
{
    const int count = int(chart.values.size());
    const double slot = count > 0 ? plot.width() / count : 0;
    // Narrow bars of a long series touch, so that gaps between them are days without takings.
    const double gap = slot > 4 ? slot * 0.2 : 0;
    for (int i = 0; i < count; ++i) {
        const double height = plot.height() * chart.values.at(i) / top;
        const QRectF bar(plot.left() + i * slot + gap / 2, plot.bottom() - height, slot - gap, height);
        m_painter.fillRect(bar, BarColour);
        if (chart.isMarked(i))
            m_painter.fillRect(QRectF(bar.left(), plot.top(), std::max(bar.width(), 1.0), plot.height()),
                               QColor(MarkColour.red(), MarkColour.green(), MarkColour.blue(), 90));
    }
}

void ChartPainter::drawExpected(const ChartModel &chart, const QRectF &plot, double top)
{
    const int count = int(chart.expected.size());
    if (count == 0)
        return;
    const double slot = plot.width() / count;
    m_painter.setPen(QPen(ExpectedColour, m_line / 6));
    for (int i = 0; i < count; ++i) {
        const double y = plot.bottom() - plot.height() * chart.expected.at(i) / top;
        m_painter.drawLine(QPointF(plot.left() + i * slot, y), QPointF(plot.left() + (i + 1) * slot, y));
    }
}

void ChartPainter::drawLabels(const ChartModel &chart, const QRectF &plot)
{
    const int count = int(chart.labels.size());
    const double slot = count > 0 ? plot.width() / count : 0;
    m_painter.setPen(Qt::black);
    for (int i = 0; i < count; ++i) {
        if (chart.labels.at(i).isEmpty())
            continue;
        // A label of a long series starts at its bar; one of a short series stands under it.
        const QRectF place = slot > 3 * m_line ? QRectF(plot.left() + i * slot, plot.bottom(), slot, m_line)
                                               : QRectF(plot.left() + i * slot, plot.bottom(), 6 * m_line, m_line);
        m_painter.drawText(place, slot > 3 * m_line ? Qt::AlignHCenter : Qt::AlignLeft, chart.labels.at(i));
    }
}

} // namespace fiscora::app
