// The journal's facts in one pass over a table file, on one core: the speed that every job
// reading a table (period export, info, verify, package) adds to the export.
//
//     bench_facts gobd.csv [--runs n]

#include "journalfacts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

using namespace fiscora::app;

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 2) {
        QTextStream(stderr) << "usage: bench_facts TABLE [--runs n]\n";
        return 2;
    }
    const QString table = arguments.at(1);
    const int runs = arguments.size() > 3 && arguments.at(2) == QLatin1String("--runs") ? arguments.at(3).toInt() : 3;
    double best = 1e9;
    qint64 rows = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        JournalFacts facts;
        if (!facts.addFile(table))
            qFatal("cannot read %s: %s", qPrintable(table), qPrintable(facts.errorString()));
        best = std::min(best, timer.nsecsElapsed() / 1e9);
        rows = facts.rowsRead();
    }
    const double megabytes = QFileInfo(table).size() / 1e6;
    QTextStream(stdout) << QStringLiteral("facts pass: %1 rows, %2 MB, best of %3: %4 s, %5 MB/s (goal >= 300)\n")
                                   .arg(rows)
                                   .arg(megabytes, 0, 'f', 1)
                                   .arg(runs)
                                   .arg(best, 0, 'f', 3)
                                   .arg(megabytes / best, 0, 'f', 0);
    return 0;
}
