#include "chartview.h"

#include "chartpainter.h"

#include <QPainter>

namespace fiscora::desktop {

ChartView::ChartView(const app::ChartModel &chart, QWidget *parent)
    : QWidget(parent)
    , m_chart(chart)
{
    setAccessibleName(chart.title);
    setAccessibleDescription(chart.note);
    setMinimumHeight(fontMetrics().height() * 12);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize ChartView::sizeHint() const
{
    return {fontMetrics().height() * 30, fontMetrics().height() * 14};
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    app::ChartPainter(painter).draw(m_chart, rect());
}

} // namespace fiscora::desktop
