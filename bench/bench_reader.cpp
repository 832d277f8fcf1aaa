// Measures a whole reading job (startReading over a card with two registers) against the floor
// that every backup has to pay: reading the data files once and hashing them with MD5, here
// `cat <data files> | openssl md5`. See bench/README.md.

#include <fiscora/sdcardreader.h>

#include "samplecard.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QTextStream>

#include <algorithm>

#include <sys/resource.h>

namespace {

constexpr qint64 MiB = 1024 * 1024;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QStringList dataFilesOf(const QList<fiscora::sample::RegisterFiles> &registers)
{
    QStringList files;
    for (const auto &reg : registers)
        files += reg.dataFiles;
    return files;
}

qint64 largestFile(const QStringList &files)
{
    qint64 largest = 0;
    for (const QString &file : files)
        largest = std::max(largest, QFileInfo(file).size());
    return largest;
}

// Runs a pipeline through the shell with the files as its arguments; returns its wall time in ms.
qint64 timeShell(const QString &pipeline, const QStringList &files)
{
    QProcess shell;
    shell.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"), pipeline, QStringLiteral("sh")} + files);
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        qFatal("%s failed", qPrintable(pipeline));
    return timer.elapsed();
}

// Peak resident memory is what the job adds to the process: the card is written before, so the
// peak is reset first where the kernel allows it.
bool resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

qint64 peakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

qint64 timeJob(const QString &card, const QString &target)
{
    fiscora::SDCardReader reader;
    QObject::connect(&reader, &fiscora::SDCardReader::error, &reader, [](const QString &error, const QString &hint) {
        qFatal("reading failed: %s %s", qPrintable(error), qPrintable(hint));
    }, Qt::DirectConnection);
    QElapsedTimer timer;
    timer.start();
    if (!reader.startReading(card, target, QDate(), QDate()) || !reader.wait())
        qFatal("the reading job did not run");
    return timer.elapsed();
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times a reading job against cat | openssl md5."));
    parser.addHelpOption();
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Card size in MiB (512)."),
                                        QStringLiteral("MiB"), QStringLiteral("512"));
    const QCommandLineOption workOption(QStringLiteral("work"), QStringLiteral("Folder for the card."),
                                        QStringLiteral("folder"), QDir::tempPath() + QStringLiteral("/fiscora-bench-reader"));
    const QCommandLineOption targetOption(QStringLiteral("target"), QStringLiteral("Folder for the backups (<work>/backups)."),
                                          QStringLiteral("folder"));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Timed runs of each (3)."),
                                        QStringLiteral("count"), QStringLiteral("3"));
    parser.addOptions({sizeOption, workOption, targetOption, runsOption});
    parser.process(app);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));

    const QString work = parser.value(workOption);
    const QString card = work + QStringLiteral("/card");
    const QString target = parser.isSet(targetOption) ? parser.value(targetOption) : work + QStringLiteral("/backups");
    QDir(card).removeRecursively();
    if (!QDir().mkpath(card) || !QDir().mkpath(target))
        qFatal("cannot create %s and %s", qPrintable(card), qPrintable(target));

    fiscora::sample::CardOptions options;
    options.serialNumbers = QStringList{QStringLiteral("12345678"), QStringLiteral("87654321")};
    options.firstMonth = QDate(2016, 1, 1);
    options.lastMonth = QDate(2023, 12, 1);
    options.totalSize = parser.value(sizeOption).toLongLong() * MiB;
    QElapsedTimer timer;
    timer.start();
    const QStringList files = dataFilesOf(fiscora::sample::writeCard(card, options));
    if (files.isEmpty())
        qFatal("cannot write the card");
    qint64 cardSize = 0;
    for (const QString &file : files)
        cardSize += QFileInfo(file).size();
    const qint64 largest = largestFile(files);
    out() << "card: " << files.size() << " data files, " << cardSize / MiB << " MiB, largest "
          << QString::number(double(largest) / MiB, 'f', 1) << " MiB, written in " << timer.elapsed() << " ms" << Qt::endl;

    // Both sides run on a warm page cache, and the card's own write-back is over before the clock runs.
    timeShell(QStringLiteral("sync; cat \"$@\" > /dev/null"), files);
    QList<qint64> baseline;
    QList<qint64> job;
    const bool peakReset = resetPeakMemory();
    for (int run = 0; run < parser.value(runsOption).toInt(); ++run) {
        baseline << timeShell(QStringLiteral("cat \"$@\" | openssl md5 > /dev/null"), files);
        job << timeJob(card, target);
        for (const QString &backup : QDir(target).entryList({QStringLiteral("*.enc")}, QDir::Files))
            QFile::remove(target + QLatin1Char('/') + backup);
    }
    const qint64 peak = peakMemoryKiB();
    QDir(card).removeRecursively();

    const double ratio = double(median(job)) / double(median(baseline));
    const qint64 memoryGoal = largest / 1024 + 64 * 1024;
    out() << "cat | openssl md5: " << median(baseline) << " ms (median of " << baseline.size() << ")" << Qt::endl
          << "reading job:       " << median(job) << " ms, ratio " << QString::number(ratio, 'f', 2)
          << (ratio <= 1.3 ? " (goal 1.3 met)" : " (goal 1.3 missed)") << Qt::endl
          << "peak RSS:          " << peak / 1024 << " MiB" << (peakReset ? "" : " (process peak, not reset)")
          << (peak <= memoryGoal ? " (goal " : " (goal missed: ") << memoryGoal / 1024 << " MiB)" << Qt::endl;
    return 0;
}
