#ifndef FISCORA_DESKTOP_CHARTVIEW_H
#define FISCORA_DESKTOP_CHARTVIEW_H

#include "chartmodel.h"

#include <QWidget>

namespace fiscora::desktop {

//! One chart of a check, drawn as the report's PDF draws it, at the size the window gives it.
class ChartView : public QWidget
{
    Q_OBJECT

public:
    explicit ChartView(const app::ChartModel &chart, QWidget *parent = nullptr);

    const app::ChartModel &chart() const { return m_chart; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const app::ChartModel m_chart;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_CHARTVIEW_H
