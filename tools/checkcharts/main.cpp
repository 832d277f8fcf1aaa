// fiscora-checkcharts FOLDER: draws the charts of "fiscora check" for a year of the sample shop, a
// quarter of it with made-up takings and a week without records, as PNG files into FOLDER, for
// the README ("doc/").

#include "chartpainter.h"
#include "checkanalysis.h"
#include "checkcharts.h"
#include "checktally.h"
#include "journalfacts.h"
#include "shopjournal.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

using namespace fiscora::app;
using namespace fiscora::sample;

namespace {

const char *const ChartNames[] = {"takings-per-day", "takings-per-week", "weekdays", "last-digit",
                                  "first-decimal",   "benford",          "hours"};

// The sample year as the README shows it: made-up takings from April to June, and the last week of
// August missing as if it had never been recorded.
QList<QByteArray> sampleLines()
{
    ShopJournal journal;
    journal.manipulate(Manipulation(ManipulationKind::InventTakings, QDate(2019, 4, 1), QDate(2019, 6, 30)));
    QList<QByteArray> lines;
    for (const QByteArray &line : journal.lines()) {
        const QDate date = QDate::fromString(QString::fromLatin1(line.split(';').at(3)), QStringLiteral("dd.MM.yyyy"));
        if (date < QDate(2019, 8, 26) || date > QDate(2019, 8, 31))
            lines << line;
    }
    return lines;
}

CheckReport sampleReport()
{
    CheckTally tally;
    JournalFacts facts;
    facts.setRowSink(&tally);
    QByteArray table = sampleLines().join();
    QBuffer buffer(&table);
    buffer.open(QIODevice::ReadOnly);
    facts.addDevice(buffer);
    return CheckAnalysis::analyse(facts, tally);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fiscora-checkcharts FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QList<ChartModel> charts = CheckCharts::of(sampleReport());
    for (int i = 0; i < charts.size(); ++i) {
        QImage image(900, 360, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        ChartPainter(painter).draw(charts.at(i), QRectF(12, 12, image.width() - 24, image.height() - 24));
        painter.end();
        const QString path = folder.filePath(QStringLiteral("check-%1.png").arg(QLatin1String(ChartNames[i])));
        if (!image.save(path)) {
            std::fprintf(stderr, "fiscora-checkcharts: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
