// Measures a whole export (startDecryption with the GDPdU options) against the floor that every
// export has to pay, hashing the backup once with MD5 (in this process, and as openssl md5 does),
// and against a plain decoder that reads the file whole and decrypts record after record in one
// thread. See bench/README.md.

#include <fiscora/indexfileanalyser.h>
#include <fiscora/ktlcypher.h>

#include "aes_p.h"

#include "damage.h"
#include "journal.h"
#include "samplecard.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstring>

#include <unistd.h>

using namespace fiscora;

namespace {

constexpr qint64 MiB = 1024 * 1024;
// Distinct records that the synthetic journal repeats; enough to defeat any caching of a
// repeated line, few enough to encrypt in a moment.
constexpr int RecordPool = 1 << 16;
constexpr qint64 HashChunk = 4 * MiB;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

// The journal records that the synthetic backup repeats; with damaged, one record in a hundred
// (at random) is damaged, the kinds of damage in turn.
QByteArray recordPool(bool damaged)
{
    const sample::Journal journal('1', 2024);
    const QList<sample::Damage> kinds = sample::allDamages();
    QRandomGenerator random(2024);
    sample::DamagedJournal records(1);
    int damages = 0;
    for (int i = 0; i < RecordPool; ++i) {
        std::optional<sample::Damage> damage;
        if (damaged && random.bounded(100) == 0)
            damage = kinds.at(damages++ % kinds.size());
        records.append(journal.line(i + 1, QDate(2020, 1, 1).addDays(i % 366)), damage);
    }
    return records.data();
}

double hashSeconds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(path));
    QElapsedTimer timer;
    timer.start();
    const char *data = reinterpret_cast<const char *>(file.map(0, file.size()));
    QCryptographicHash md5(QCryptographicHash::Md5);
    for (qint64 offset = 0; offset < file.size(); offset += HashChunk)
        md5.addData(data + offset, int(std::min(HashChunk, file.size() - offset)));
    md5.result();
    return timer.nsecsElapsed() / 1e9;
}

// openssl md5 over the file, as a person would take the floor; negative without openssl.
double opensslSeconds(const QString &path)
{
    QProcess openssl;
    QElapsedTimer timer;
    timer.start();
    openssl.start(QStringLiteral("openssl"), {QStringLiteral("md5"), path});
    if (!openssl.waitForFinished(-1) || openssl.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

// The line check as the rules read: the line as UTF-8 text up to its first zero byte, split at ";".
bool plainLineCheck(const char *line, int length)
{
    const int text = int(std::find(line, line + length, '\0') - line);
    const QString decoded = QString::fromUtf8(line, text);
    const QStringList fields = decoded.split(QLatin1Char(';'));
    bool number = false;
    if (fields.size() >= 2)
        fields.at(1).toInt(&number, 10);
    const QChar first = decoded.isEmpty() ? QChar() : decoded.at(0);
    return fields.size() >= 15 && number && decoded.endsWith(QLatin1String("\r\n"))
        && ((first >= QLatin1Char('0') && first <= QLatin1Char('9')) || (first >= QLatin1Char('A') && first <= QLatin1Char('H')));
}

// The decoder as one would first write it: the file read whole, its body hashed, then each record
// decrypted in a 256-byte window, its line checked as the rules read and appended to the table,
// which is written at the end. Damaged records are skipped as the window reads them; the journal
// timed is clean.
double plainSeconds(const QString &source, const QString &table)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(source));
    QByteArray data = file.readAll();
    IndexFileAnalyser analyser;
    data.remove(0, analyser.readCompressIndex(data));
    if (QCryptographicHash::hash(data, QCryptographicHash::Md5) != analyser.getMD5Value())
        qFatal("the plain decoder's digest does not match");
    QByteArray lines;
    for (qint64 position = 0; position < data.size();) {
        quint8 window[256] = {};
        const qint64 count = std::min<qint64>(256, data.size() - position);
        std::memcpy(window, data.constData() + position, size_t(count));
        const int decrypted = decryptBuffer(window, qint32(count));
        const auto *lineFeed = static_cast<const quint8 *>(std::memchr(window, '\n', size_t(decrypted)));
        const int length = lineFeed ? int(lineFeed - window) + 1 : decrypted;
        if (plainLineCheck(reinterpret_cast<const char *>(window), length)) {
            lines.append(reinterpret_cast<const char *>(window), length);
            position += (length + 15) / 16 * 16;
        } else {
            position += length + 1;
        }
    }
    QFile output(table);
    if (!output.open(QIODevice::WriteOnly) || output.write(lines) != lines.size() || !output.flush()
        || ::fdatasync(output.handle()) != 0)
        qFatal("cannot write %s", qPrintable(table));
    return timer.nsecsElapsed() / 1e9;
}

double exportSeconds(const QString &source, const QString &target)
{
    KTLCypher cypher;
    QStringList failures;
    QString verdict;
    QObject::connect(&cypher, &KTLCypher::error, &cypher,
                     [&](const QString &error, const QString &hint) { failures << error + QLatin1Char(' ') + hint; },
                     Qt::DirectConnection);
    QObject::connect(&cypher, qOverload<const QString &, bool, int>(&KTLCypher::processMessages), &cypher,
                     [&](const QString &message) { verdict = message; }, Qt::DirectConnection);
    QElapsedTimer timer;
    timer.start();
    cypher.startDecryption(source, target, false, true, true, false);
    cypher.wait();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!failures.isEmpty() || !verdict.startsWith(QLatin1String("Hash value: OK")))
        qFatal("the export failed: %s %s", qPrintable(failures.join(QLatin1Char('\n'))), qPrintable(verdict));
    return seconds;
}

// A size from /proc/self/status ("VmRSS:", "VmHWM:") in MB.
double residentMb(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong() * 1024 / 1e6;
    }
    return -1;
}

// Forgets the peak of the generation, so that the peak reported is the export's.
void resetPeakResident()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1)
        out() << "(cannot reset the peak resident size; it includes the generation)\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The export's debug lines would only clutter the figures.
    QLoggingCategory::setFilterRules(QStringLiteral("ktlcypher.debug=false\nktlcypher.info=false"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Export benchmark: a synthetic backup through startDecryption, against MD5 over the same file."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("size"), QStringLiteral("Backup size in MB (default 256)."));
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Work folder (default: a temporary one)."));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Timed runs of each (default 3); the best counts."),
                                        QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption damagedOption(QStringLiteral("damaged"),
                                           QStringLiteral("Damage one record in a hundred, every kind of damage in turn."));
    parser.addOptions({runsOption, damagedOption});
    parser.process(app);

    const QStringList arguments = parser.positionalArguments();
    const qint64 sizeMb = arguments.value(0, QStringLiteral("256")).toLongLong();
    const int runs = std::max(1, parser.value(runsOption).toInt());
    QTemporaryDir temporary;
    const QString folder = arguments.size() > 1 ? arguments.at(1) : temporary.path();
    if (sizeMb <= 0 || !QDir().mkpath(folder))
        parser.showHelp(1);

    const QString backup = folder + QStringLiteral("/Backup_CR#12345678_202001_202012.enc");
    const QString target = folder + QStringLiteral("/export");
    if (!sample::writeRepeatedBackup(backup, recordPool(parser.isSet(damagedOption)), sizeMb * 1000 * 1000))
        qFatal("cannot write %s", qPrintable(backup));
    const qint64 fileSize = QFileInfo(backup).size();

    // Both measurements read the file from the page cache: it was just written, and is read once
    // more here before anything is timed.
    hashSeconds(backup);
    const double residentBefore = residentMb("VmRSS:");
    double hash = 1e9;
    double openssl = 1e9;
    double plain = 1e9;
    double exporting = 1e9;
    double peak = 0;
    const bool damaged = parser.isSet(damagedOption);
    for (int run = 1; run <= runs; ++run) {
        // Every export goes into a fresh folder, with no dirty pages of earlier runs left for
        // the kernel to write back meanwhile.
        QDir(target).removeRecursively();
        ::sync();
        const double runHash = hashSeconds(backup);
        const double runOpenssl = opensslSeconds(backup);
        // The floor maps the file; the peak counted is the export's alone.
        resetPeakResident();
        const double runExport = exportSeconds(backup, target);
        peak = std::max(peak, residentMb("VmHWM:"));
        out() << QStringLiteral("run %1: MD5 %2 s, openssl md5 %3 s, export %4 s\n")
                         .arg(run)
                         .arg(runHash, 0, 'f', 3)
                         .arg(runOpenssl, 0, 'f', 3)
                         .arg(runExport, 0, 'f', 3);
        hash = std::min(hash, runHash);
        openssl = std::min(openssl, runOpenssl);
        exporting = std::min(exporting, runExport);
    }
    // Last, as it holds the whole file in memory, which the peaks above are not to include.
    for (int run = 1; run <= runs && !damaged; ++run) {
        plain = std::min(plain, plainSeconds(backup, folder + QStringLiteral("/plain.csv")));
        QFile::remove(folder + QStringLiteral("/plain.csv"));
    }
    const double megabytes = fileSize / 1e6;
    out() << QStringLiteral("backup: %1 MB (%2 bytes), best of %3 runs\n").arg(megabytes, 0, 'f', 1).arg(fileSize).arg(runs)
          << QStringLiteral("MD5 over the file: %1 s, %2 MB/s\n").arg(hash, 0, 'f', 3).arg(megabytes / hash, 0, 'f', 0)
          << QStringLiteral("openssl md5:       %1 s\n").arg(openssl, 0, 'f', 3)
          << QStringLiteral("export:            %1 s, %2 MB/s\n").arg(exporting, 0, 'f', 3).arg(megabytes / exporting, 0, 'f', 0)
          << QStringLiteral("ratio export/MD5:  %1, to openssl md5 %2 (goal <= 1.1)\n")
                     .arg(exporting / hash, 0, 'f', 3)
                     .arg(exporting / openssl, 0, 'f', 3);
    if (!damaged) {
        out() << QStringLiteral("plain decoder:     %1 s, %2 times the export (goal >= 3)\n")
                         .arg(plain, 0, 'f', 3)
                         .arg(plain / exporting, 0, 'f', 2);
    }
    out() << QStringLiteral("peak resident:     %1 MB (goal <= 64 MB; %2 MB before the first export)\n")
                     .arg(peak, 0, 'f', 0)
                     .arg(residentBefore, 0, 'f', 0);
    return 0;
}
