#include "checkpdf.h"

#include "chartpainter.h"
#include "checkcharts.h"
#include "checkreport.h"
#include "checkwords.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace fiscora::app {

namespace {

constexpr int Resolution = 300;
constexpr double MarginMillimetres = 15;

} // namespace

QByteArray CheckPdf::pdf(const CheckReport &report)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(MarginMillimetres, MarginMillimetres, MarginMillimetres, MarginMillimetres),
                          QPageLayout::Millimeter);
    writer.setResolution(Resolution);
    writer.setTitle(tr("Before the audit: what the tests of a tax audit make of the journal"));
    QPainter painter(&writer);
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    // Without ligatures, so that a reader who copies or searches the text finds "fi" as two letters.
    font.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(font);
    m_writer = &writer;
    m_painter = &painter;
    m_y = 0;
    findings(report);
    charts(report);
    painter.end();
    return bytes;
}

void CheckPdf::findings(const CheckReport &report)
{
    paragraph(tr("Before the audit: what the tests of a tax audit make of the journal"), true);
    paragraph(tr("Period: %1 to %2; records: %3; takings: %4 on %5 days, the Betrag of the lines of Buchungstyp \"%6\"")
                      .arg(CheckWords::day(report.firstDay), CheckWords::day(report.lastDay), CheckWords::count(report.records),
                           CheckWords::money(report.takingsCents()))
                      .arg(report.days.size())
                      .arg(QString::fromLatin1(report.takingsType)));
    for (const CheckFinding &finding : report.findings) {
        m_y += m_painter->fontMetrics().height() / 2;
        paragraph(QStringLiteral("%1 — %2").arg(CheckFinding::verdictText(finding.verdict), finding.title), true);
        const double indent = m_painter->fontMetrics().height();
        paragraph(finding.figure, false, indent);
        paragraph(tr("Threshold: %1").arg(finding.threshold), false, indent);
        paragraph(finding.conclusion, false, indent);
    }
}

void CheckPdf::charts(const CheckReport &report)
{
    const QRectF page = m_writer->pageLayout().paintRectPixels(Resolution);
    const QRectF area(0, 0, page.width(), page.height() / 2);
    ChartPainter painter(*m_painter);
    int onPage = 0;
    for (const ChartModel &chart : CheckCharts::of(report)) {
        if (onPage % 2 == 0)
            m_writer->newPage();
        painter.draw(chart, area.translated(0, (onPage % 2) * area.height()).adjusted(0, 0, 0, -area.height() / 10));
        ++onPage;
    }
}

// A paragraph that does not fit on the page begins the next.
void CheckPdf::paragraph(const QString &text, bool bold, double indent)
{
    const QRectF page = m_writer->pageLayout().paintRectPixels(Resolution);
    QFont font = m_painter->font();
    font.setBold(bold);
    m_painter->setFont(font);
    const QRectF room(indent, 0, page.width() - indent, page.height());
    QRectF needed = m_painter->boundingRect(room, Qt::TextWordWrap, text);
    if (m_y + needed.height() > page.height()) {
        m_writer->newPage();
        m_y = 0;
    }
    m_painter->drawText(room.translated(0, m_y), Qt::TextWordWrap, text);
    m_y += needed.height();
    font.setBold(false);
    m_painter->setFont(font);
}

} // namespace fiscora::app
