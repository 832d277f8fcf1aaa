#ifndef FISCORA_APP_CHECKPDF_H
#define FISCORA_APP_CHECKPDF_H

#include <QByteArray>
#include <QCoreApplication>

class QPainter;
class QPdfWriter;

namespace fiscora::app {

struct CheckReport;

/*!
 * The report of a check as an A4 PDF: what it covers, each test's verdict with its figure,
 * threshold and conclusion, then the charts of CheckCharts, two to a page. Its texts are those
 * of the installed translation. Laid out with the system's fonts, which takes a QGuiApplication.
 *
 * \code
 * file.write(CheckPdf().pdf(report));
 * \endcode
 */
class CheckPdf
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::CheckPdf)

public:
    QByteArray pdf(const CheckReport &report);

private:
    void paragraph(const QString &text, bool bold = false, double indent = 0);
    void findings(const CheckReport &report);
    void charts(const CheckReport &report);

    QPdfWriter *m_writer = nullptr;
    QPainter *m_painter = nullptr;
    double m_y = 0;
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHECKPDF_H
