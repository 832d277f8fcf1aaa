// The decryptor: the export run end to end (the table, the description files, the report and every
// error pair), the worker's protocol (its signals, stop, a second start, a queued result) and the
// record stream (line check, repair, messages, and what damage costs). Each test runs in a
// temporary folder of its own, with paths relative to it.

#include "damage.h"
#include "faultinjection.h"
#include "fixtures.h"
#include "journal.h"
#include "samplecipher.h"

#include <fiscora/ktlcypher.h>

#include <QDirIterator>
#include <QProcess>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using fiscora::HelperClass;
using fiscora::IndexFileAnalyser;
using fiscora::KTLCypher;
using fiscora::sample::Damage;
using fiscora::sample::DamagedJournal;
using fiscora::sample::encryptRecord;

namespace {

enum Option { Raw = 1, Gdpdu = 2, Info = 4, Skip = 8 };

// What the export folder holds before an export that succeeds.
enum class Before { EarlierExport, LinkAtTemporaryName, DescriptionBlocked };
// What stands in the way of an export that fails.
enum class Obstacle { SourceMissing, TargetEmpty, FolderBlocked, SourceIsFolder, SourceIsFifo, SourceIsDevice,
                      TargetMissing, TableIsFolder, RenameFails, SyncFails, CloseFails };

// How CypherRecorder writes the signals.
QString messageLine(const QString &message, bool isError, int count)
{
    return QStringLiteral("processMessages(%1, %2, %3)")
            .arg(message, isError ? QStringLiteral("true") : QStringLiteral("false")).arg(count);
}

QString errorLine(const QString &error, const QString &hint)
{
    return QStringLiteral("error(%1 | %2)").arg(error, hint);
}

QString finished(const QString &table) { return QStringLiteral("finishSuccessful(%1)").arg(table); }
QString saved(const QString &file) { return QStringLiteral("fileSaved(%1)").arg(file); }

// Records a decryptor's signals as readable lines, in the order of emission, from whichever thread
// emitted them; progress values go to a list of their own. Read them once the job has ended.
struct CypherRecorder
{
    explicit CypherRecorder(KTLCypher &cypher)
    {
        QObject::connect(&cypher, &KTLCypher::initProgressBar, [this](int start, int end) {
            lines << QStringLiteral("initProgressBar(%1, %2)").arg(start).arg(end);
        });
        QObject::connect(&cypher, &KTLCypher::updateProgressBar, [this](int value) { progress << value; });
        QObject::connect(&cypher, &KTLCypher::error,
                         [this](const QString &error, const QString &hint) { lines << errorLine(error, hint); });
        QObject::connect(&cypher, qOverload<const QString &, bool, int>(&KTLCypher::processMessages),
                         [this](const QString &message, bool isError, int count) {
                             lines << messageLine(message, isError, count);
                         });
        QObject::connect(&cypher, &KTLCypher::finishSuccessful,
                         [this](const QString &file) { lines << finished(file); });
        QObject::connect(&cypher, &KTLCypher::fileSaved, [this](const QString &file) { lines << saved(file); });
    }

    QStringList lines;
    QList<int> progress;
};

const QString Source = QStringLiteral("Backup_CR#12345678_202003.enc");
const QString GdpduFolder = QStringLiteral("out/CR#12345678/202003/");
const QString GdpduTable = GdpduFolder + QStringLiteral("gobd.csv");
const QString Dtd = QStringLiteral("gdpdu-01-09-2004.dtd");
const QString Xml = QStringLiteral("index.xml");
const QString Init = QStringLiteral("initProgressBar(0, 100)");
const QByteArray Earlier = QByteArrayLiteral("an earlier export");
const QString Permissions = QStringLiteral("Check if the file is open or if you have write permissions.");
const QString NoValuesPair = errorLine(QStringLiteral("No decrypted values for saving."),
                                       QStringLiteral("Check your source file for having valid data."));
const QString DescriptionHint = QStringLiteral("Check your write permission for the saving location.");
const QString DtdPair = errorLine(QStringLiteral("DTD file couldn´t create successful!"), DescriptionHint);
// Small enough for the table of a few lines and for "index.xml", too small for the DTD.
constexpr rlim_t FileSizeLimit = 4096;

// Lines of register 1's journal from line first on, as they are or each encrypted as a record.
QByteArray journalLines(int first, int count, bool encrypted)
{
    QByteArray lines;
    for (int i = first; i < first + count; ++i) {
        const QByteArray line = fiscora::sample::Journal('1', 7).line(i, QDate(2020, 3, 1));
        lines += encrypted ? encryptRecord(line) : line;
    }
    return lines;
}

QByteArray plainLines(int first, int count) { return journalLines(first, count, false); }
QByteArray encryptedLines(int first, int count) { return journalLines(first, count, true); }
QByteArray md5(const QByteArray &data) { return HelperClass::calculateMD5Hash(data); }
QString hex(const QByteArray &bytes) { return HelperClass::convertToFormattedHexValue(bytes); }

QByteArray infoLine(const QByteArray &digest)
{
    return "INDEX_INFO;SOURCE_SD;2;;12345678;" + hex(digest).toLatin1() + "\r\n";
}

// A backup of register 12345678 as the reader writes it: its header holds the month map (by
// default twelve good months from January 2016) and the digest (by default the body's).
QByteArray backup(const QByteArray &body, const QByteArray &map = QByteArray::fromHex("0c01"),
                  const QByteArray &digest = QByteArray())
{
    return backupHeader("12345678", map, digest.isNull() ? md5(body) : digest) + body;
}

QStringList goodReport(const QString &verdict = QStringLiteral("Hash value: OK<br>The data seems not corrupted!"))
{
    return {messageLine(QStringLiteral("The data was created by reading from SD-Card or Backup."), false, 1),
            messageLine(QStringLiteral("Serialnumber of the cash register: 12345678"), false, 2),
            messageLine(QStringLiteral("The data index is correct, no issues recognised."), false, 3),
            messageLine(verdict, verdict.startsWith(QLatin1String("Hash value: INVALID")), 4)};
}

void exportWith(KTLCypher &cypher, const QString &source, int options, const QString &target = QStringLiteral("out"))
{
    QVERIFY(cypher.startDecryption(source, target, options & Raw, options & Gdpdu, options & Info, options & Skip));
    QVERIFY(cypher.wait(5 * 60 * 1000));
}

// Each error pair is logged as a warning too.
void expectWarnings(const QStringList &lines)
{
    for (int i = lines.filter(QRegularExpression(QStringLiteral("^error"))).size(); i > 0; --i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".")));
}

// The temporary files that a run left anywhere in the test's folder.
QStringList leftovers()
{
    QStringList found;
    QDirIterator it(QStringLiteral("."), {QStringLiteral("*.~tmp")}, QDir::AllEntries | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

// The child of fullDisk(): files may grow to FileSizeLimit bytes only, and a write beyond that
// fails with EFBIG instead of killing the process.
int exportWithLimitedWrites()
{
    const rlimit limit = {FileSizeLimit, FileSizeLimit};
    if (signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    exportWith(cypher, Source, Gdpdu | Info);
    QTextStream(stdout) << recorder.lines.join(QLatin1Char('\n'));
    return 0;
}

// A line of exactly length bytes, end included, with 16 fields; the last one fills it up.
QByteArray tableLine(const QByteArray &registerNumber, int length, const QByteArray &end = "\r\n", int number = 7)
{
    const QByteArray start = registerNumber + ';' + QByteArray::number(number) + ";Kasse 1;" + QByteArray(12, ';');
    return start + QByteArray(length - start.size() - end.size(), 'x') + end;
}

// Fewer than 16 bytes of stream, whose block filled up with zero bytes decrypts to line: the
// first 15 bytes of a block whose ciphertext happens to end in a zero byte.
QByteArray shortStream(QByteArray *line)
{
    for (int i = 0;; ++i) {
        *line = "Storno Nr " + QByteArray::number(100 + i % 900) + "\r\n";
        const QByteArray cipher = fiscora::sample::encryptCbc(line->leftJustified(16, char(i / 900)));
        if (cipher.endsWith('\0'))
            return cipher.left(15);
    }
}

QString damaged(int line) { return messageLine(QStringLiteral("Decryption error near line: %1").arg(line), true, 0); }
QString salvaged(int line) { return messageLine(QStringLiteral("Check decryption near line: %1").arg(line), true, 0); }
QString lost(int repaired, int unread)
{
    return messageLine(QStringLiteral("Not all records could be read: %1 lines were repaired, %2 bytes could not be read.")
                               .arg(repaired).arg(unread),
                       true, 0);
}

// Lines 1 to 7 of register 1's journal, each a record of its own, the fourth damaged as a card
// damages it, with the random bytes that seed gives.
QByteArray sevenLines(Damage damage, quint32 seed = 1)
{
    DamagedJournal journal(seed);
    for (int number = 1; number <= 7; ++number)
        journal.append(plainLines(number, 1), number == 4 ? std::optional<Damage>(damage) : std::nullopt);
    return journal.data();
}

// A stream through dencryptByteArray: its table and the messages on the way.
void checkDecryption()
{
    QFETCH(QByteArray, stream);
    QFETCH(QByteArray, table);
    QFETCH(QStringList, messages);
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    const QString path = QStringLiteral("lines.csv");

    QVERIFY(cypher.dencryptByteArray(stream, path));
    QCOMPARE(fileBytes(path), table);
    QCOMPARE(recorder.lines, QStringList(Init) + messages);
    QCOMPARE(leftovers(), QStringList());
}

struct DamageFigures
{
    int undamaged = 0;
    int kept = 0;        // undamaged lines in the table, in order
    int lines = 0;       // lines in the table
    int unaccounted = 0; // table lines beyond one for every damaged record between kept ones
};

// Walks the table against the journal: each undamaged line must be there once, in order; what
// lies between two of them may hold one line for every damaged record between them.
DamageFigures figuresOf(const QList<QByteArray> &lines, const QList<bool> &damaged, const QByteArray &table)
{
    QHash<QByteArray, int> recordOf;
    DamageFigures figures;
    for (int i = 0; i < lines.size(); ++i) {
        if (!damaged.at(i))
            recordOf.insert(lines.at(i), i);
    }
    figures.undamaged = recordOf.size();
    const auto damagedBetween = [&damaged](int after, int before) {
        return int(std::count(damaged.begin() + after + 1, damaged.begin() + before, true));
    };
    int previous = -1;
    int between = 0;
    for (QByteArray line : table.split('\n')) {
        if (line.isEmpty())
            continue;
        ++figures.lines;
        const int record = recordOf.value(line.append('\n'), -1);
        if (record <= previous) {
            ++between;
            continue;
        }
        figures.unaccounted += qMax(0, between - damagedBetween(previous, record));
        ++figures.kept;
        previous = record;
        between = 0;
    }
    figures.unaccounted += qMax(0, between - damagedBetween(previous, lines.size()));
    return figures;
}

} // namespace

Q_DECLARE_METATYPE(Before)
Q_DECLARE_METATYPE(Obstacle)

class KTLCypherTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void exportSucceeds_data();
    void exportSucceeds();
    void exportFails_data();
    void exportFails();
    void fullDisk_data();
    void fullDisk();
    void sourceShrinks();
    void finishSuccessfulQueued();
    void stopAndSecondStart();
    void lines_data();
    void lines();
    void damage_data();
    void damage();
    void damageKeepingTheFields();
    void damagedJournal_data();
    void damagedJournal();
    void progressCapped();
    void writeThreshold_data();
    void writeThreshold();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void KTLCypherTest::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid() && QDir::setCurrent(m_dir->path()));
}

void KTLCypherTest::cleanup()
{
    faultinjection::reset();
}

void KTLCypherTest::exportSucceeds_data()
{
    QTest::addColumn<Before>("before");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("options");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray body = encryptedLines(1, 3);
    const QString plain = QStringLiteral("out/Backup_CR#12345678_202003.csv");
    const QByteArray other(16, 'x');
    const QByteArray oddLines = "\x01\x02 Kasse\n" + QByteArray("I;7;Kasse 1;;;;;;;;;;;;;x\r\n");
    const QByteArray oddRecords = encryptRecord("\x01\x02 Kasse\n") + encryptRecord("I;7;Kasse 1;;;;;;;;;;;;;x\r\n");
    // A GDPdU export: its table, its description files and a good report.
    const auto gdpduRow = [](const char *name, Before before, const QString &source, const QString &folder,
                             int options, const QByteArray &body, const QByteArray &tableBytes) {
        const QString table = folder + QStringLiteral("gobd.csv");
        QTest::newRow(name) << before << source << backup(body) << options
                << QStringList{Init, finished(table), saved(folder + Dtd), saved(folder + Xml)} + goodReport() << table
                << tableBytes;
    };
    // Lines that fill a whole window here and there make records cross the boundaries of the
    // pieces in which the source is read at every possible place.
    QByteArray journal;
    QByteArray journalTable;
    for (int number = 1; number <= 40000; ++number) {
        const QByteArray line = number % 97 == 0 ? tableLine("1", 256, "\r\n", number) : plainLines(number, 1);
        journal += encryptRecord(line);
        journalTable += line;
    }

    gdpduRow("one-month label, INDEX_INFO", Before::EarlierExport, Source, GdpduFolder, Gdpdu | Info, body,
             infoLine(md5(body)) + plainLines(1, 3));
    gdpduRow("two-month label", Before::EarlierExport, "Backup_CR#12345678_202001_202012.enc",
             "out/CR#12345678/202001_202012/", Gdpdu, body, plainLines(1, 3));
    gdpduRow("two parts", Before::EarlierExport, "Backup_CR#12345678.enc", "out/CR#12345678//", Gdpdu, body,
             plainLines(1, 3));
    gdpduRow("one part", Before::EarlierExport, "journal.enc", "out/journal/", Gdpdu, body, plainLines(1, 3));
    gdpduRow("a link at the temporary file's name is replaced, not followed", Before::LinkAtTemporaryName, Source,
             GdpduFolder, Gdpdu, body, plainLines(1, 3));
    gdpduRow("a clean journal read in many pieces comes out as it is", Before::EarlierExport, Source, GdpduFolder,
             Gdpdu, journal, journalTable);
    QTest::newRow("index error: hash OK without assurance")
            << Before::EarlierExport << Source << backup(body, QByteArray::fromHex("0102")) << 0
            << QStringList{Init, finished(plain), goodReport().at(0), goodReport().at(1),
                           messageLine("INDEX ERROR: The file for the date 01/2016 is missing.", true, 3),
                           messageLine("Hash value: OK<br>", false, 4)}
            << plain << plainLines(1, 3);
    QTest::newRow("digest differs") << Before::EarlierExport << Source << backup(body, QByteArray::fromHex("0c01"), other)
            << int(Info)
            << QStringList{Init, finished(plain)} + goodReport("Hash value: INVALID<br>The data could be corrupted!")
            << plain << infoLine(other) + plainLines(1, 3);
    QTest::newRow("raw data: other options ignored, line check skipped")
            << Before::EarlierExport << Source << oddRecords << (Raw | Gdpdu | Info | Skip)
            << QStringList{Init, finished(plain),
                           messageLine("Calculated hash value: " + hex(md5(oddRecords)), false, 1)}
            << plain << oddLines;
    QTest::newRow("description files cannot be created: the run goes on")
            << Before::DescriptionBlocked << Source << backup(body) << int(Gdpdu)
            << QStringList{Init, finished(GdpduTable), DtdPair,
                           errorLine("XML file couldn´t create successful!", DescriptionHint)} + goodReport()
            << GdpduTable << plainLines(1, 3);
}

// Every file of an earlier export in the same place is replaced.
void KTLCypherTest::exportSucceeds()
{
    QFETCH(Before, before);
    QFETCH(QString, source);
    QFETCH(QByteArray, contents);
    QFETCH(int, options);
    QFETCH(QStringList, lines);
    QFETCH(QString, table);
    QFETCH(QByteArray, bytes);
    const QString folder = QFileInfo(table).path() + QLatin1Char('/');
    QVERIFY(writeFile(source, contents) && writeFile(table, Earlier));
    if (before == Before::DescriptionBlocked) {
        QVERIFY(QDir().mkpath(folder + Dtd) && QDir().mkpath(folder + Xml));
    } else {
        QVERIFY(writeFile(folder + Dtd, Earlier) && writeFile(folder + Xml, Earlier));
    }
    if (before == Before::LinkAtTemporaryName)
        QVERIFY(writeFile(QStringLiteral("victim"), "victim") && QFile::link(m_dir->filePath("victim"), table + ".~tmp"));
    expectWarnings(lines);

    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    exportWith(cypher, source, options);
    QCOMPARE(recorder.lines, lines);
    QCOMPARE(fileBytes(table), bytes);
    QVERIFY(!QFileInfo(table).isSymLink());
    QCOMPARE(fileBytes(QStringLiteral("victim")), before == Before::LinkAtTemporaryName ? "victim" : "<missing>");
    QCOMPARE(leftovers(), QStringList());
    // The description files are the library's own, byte for byte.
    for (const QString &saved : lines.filter(QStringLiteral("fileSaved("))) {
        const QByteArray written = fileBytes(saved.mid(10).chopped(1));
        const bool dtd = saved.endsWith(Dtd + QLatin1Char(')'));
        QCOMPARE(written, fileBytes(dtd ? QStringLiteral(FISCORA_GDPDU_DTD) : QStringLiteral(FISCORA_INDEX_XML)));
        QCOMPARE(written.size(), dtd ? 8868 : 3554);
    }
}

void KTLCypherTest::exportFails_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<bool>("earlierTable");
    QTest::addColumn<QStringList>("lines");
    const QString systemError = "Couldn't write the decrypted data to " + GdpduTable
                              + ".~tmp. The error from the system is: Input/output error";
    const QString diskHint = QStringLiteral("Check if there is enough free space and if you have write permissions.");
    const QString openHint = QStringLiteral("Check your source file selection and be sure you have read permissions.");

    QTest::newRow("source missing, before the empty target") << Obstacle::SourceMissing << true
            << QStringList{errorLine("Encrypted source file don´t exist", "Check your source file selection!")};
    QTest::newRow("target empty") << Obstacle::TargetEmpty << true
            << QStringList{errorLine("The target folder is not valid", "Check the saving location for the decryption folder.")};
    QTest::newRow("export folder cannot be created") << Obstacle::FolderBlocked << false
            << QStringList{errorLine("Folder " + GdpduFolder + " for saving decrypted files couldn't create.",
                                     "Check your create permision for the saving location.")};
    QTest::newRow("source is a folder") << Obstacle::SourceIsFolder << true
            << QStringList{errorLine("Encrypted source file folder.enc couldn´t open for decryption.", openHint)};
    QTest::newRow("source is a FIFO, raw: refused, not waited for") << Obstacle::SourceIsFifo << true
            << QStringList{errorLine("Encrypted source file pipe.enc couldn´t open for decryption.", openHint)};
    QTest::newRow("source is a device, raw: refused, not read for ever") << Obstacle::SourceIsDevice << true
            << QStringList{errorLine("Encrypted source file zero.enc couldn´t open for decryption.", openHint)};
    QTest::newRow("target folder missing without GDPdU") << Obstacle::TargetMissing << true
            << QStringList{Init, errorLine("Couldn't init temporary space for the data.", Permissions), NoValuesPair};
    QTest::newRow("table file cannot be replaced") << Obstacle::TableIsFolder << false
            << QStringList{Init, errorLine("A file with the name " + GdpduTable + " already exist and can't overwritten.",
                                           Permissions)};
    QTest::newRow("earlier table file cannot be replaced") << Obstacle::RenameFails << true
            << QStringList{Init, errorLine("A file with the name " + GdpduTable + " already exist and can't overwritten.",
                                           Permissions)};
    QTest::newRow("table file cannot be put in place") << Obstacle::RenameFails << false
            << QStringList{Init, errorLine("File " + GdpduTable + " couldn´t create for saving data.", Permissions)};
    QTest::newRow("table file cannot be synced") << Obstacle::SyncFails << true
            << QStringList{Init, errorLine(systemError, diskHint), NoValuesPair};
    QTest::newRow("table file cannot be closed") << Obstacle::CloseFails << true
            << QStringList{Init, errorLine(systemError, diskHint), NoValuesPair};
}

// A failed export leaves no temporary file, and an earlier table file as it was.
void KTLCypherTest::exportFails()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(bool, earlierTable);
    QFETCH(QStringList, lines);
    QString source = Source;
    QString target = QStringLiteral("out");
    int options = Gdpdu;
    QVERIFY(writeFile(source, backup(encryptedLines(1, 2))) && QDir().mkdir(target));
    QVERIFY(!earlierTable || writeFile(GdpduTable, Earlier));
    switch (obstacle) {
    case Obstacle::SourceMissing: source = QStringLiteral("missing.enc"); target.clear(); break;
    case Obstacle::TargetEmpty: target.clear(); break;
    case Obstacle::FolderBlocked: QVERIFY(writeFile(QStringLiteral("out/CR#12345678"), "file")); break;
    case Obstacle::SourceIsFolder: source = QStringLiteral("folder.enc"); QVERIFY(QDir().mkpath(source)); break;
    case Obstacle::SourceIsFifo:
        source = QStringLiteral("pipe.enc");
        options = Raw;
        QVERIFY(::mkfifo("pipe.enc", 0600) == 0);
        break;
    case Obstacle::SourceIsDevice:
        source = QStringLiteral("zero.enc");
        options = Raw;
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), source));
        break;
    case Obstacle::TargetMissing: target = QStringLiteral("nowhere"); options = 0; break;
    case Obstacle::TableIsFolder: QVERIFY(QDir().mkpath(GdpduTable)); break;
    case Obstacle::RenameFails: faultinjection::failOn(faultinjection::Rename, "/gobd.csv"); break;
    case Obstacle::SyncFails: faultinjection::failOn(faultinjection::Sync, "/gobd.csv.~tmp"); break;
    case Obstacle::CloseFails: faultinjection::failOn(faultinjection::Close, "/gobd.csv.~tmp"); break;
    }
    expectWarnings(lines);

    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    exportWith(cypher, source, options, target);
    faultinjection::reset();
    QCOMPARE(recorder.lines, lines);
    QCOMPARE(fileBytes(GdpduTable), earlierTable ? Earlier : QByteArray("<missing>"));
    QCOMPARE(leftovers(), QStringList());
}

void KTLCypherTest::fullDisk_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QByteArray>("dtd");

    QTest::newRow("table data cannot be written") << encryptedLines(1, 100)
            << QStringList{Init,
                           errorLine("Couldn't write the decrypted data to " + GdpduTable + ".~tmp. "
                                     "The error from the system is: File too large",
                                     "Check if there is enough free space and if you have write permissions."),
                           NoValuesPair}
            << Earlier << Earlier;
    QTest::newRow("description file cannot be written") << encryptedLines(1, 1)
            << QStringList{Init, finished(GdpduTable), DtdPair, saved(GdpduFolder + Xml)} + goodReport()
            << infoLine(md5(encryptedLines(1, 1))) + plainLines(1, 1) << Earlier;
}

// A child process exports under a limit on the size of the files it writes, over an earlier
// export: whatever cannot be written whole leaves the earlier file as it was.
void KTLCypherTest::fullDisk()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, table);
    QFETCH(QByteArray, dtd);
    QVERIFY(writeFile(Source, backup(body)));
    for (const QString &file : {GdpduTable, GdpduFolder + Dtd, GdpduFolder + Xml})
        QVERIFY(writeFile(file, Earlier));

    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--limited-writes")});
    QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n')), lines);
    QCOMPARE(fileBytes(GdpduTable), table);
    QCOMPARE(fileBytes(GdpduFolder + Dtd), dtd);
    QCOMPARE(leftovers(), QStringList());
}

// A backup that is cut short while it is exported (a card pulled out, another program at work)
// is an error, not a crash, and leaves no temporary file.
void KTLCypherTest::sourceShrinks()
{
    // Larger than what is read ahead of the first progress.
    QByteArray body;
    for (int first = 1; body.size() < 16000000; first += 1000)
        body += encryptedLines(first, 1000);
    const QByteArray contents = backup(body);
    QVERIFY(writeFile(Source, contents));
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    // The first piece of the source has been read by the first progress.
    const QMetaObject::Connection cutter = connect(&cypher, &KTLCypher::updateProgressBar, &cypher, [] {
        QFile(Source).resize(1000000);
    }, Qt::DirectConnection);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("couldn't be read completely")));
    QTest::ignoreMessage(QtWarningMsg, "No decrypted values for saving.");
    exportWith(cypher, Source, Gdpdu);
    disconnect(cutter);

    // How much was read by then depends on how far the reading is ahead.
    const QString error = QStringLiteral("Encrypted source file %1 couldn't be read completely. The error from the system "
                                         "is: Only # of its %2 bytes could be read.")
                                  .arg(Source).arg(contents.size());
    recorder.lines.replaceInStrings(QRegularExpression(QStringLiteral("Only \\d+ of")), QStringLiteral("Only # of"));
    QCOMPARE(recorder.lines, QStringList({Init, errorLine(error, "Check that the medium holding the file is still connected."),
                                          NoValuesPair}));
    QCOMPARE(fileBytes(GdpduTable), QByteArray("<missing>"));
    QCOMPARE(leftovers(), QStringList());
}

// The analyser crosses threads by value: the receiver's copy holds what the backup header said.
void KTLCypherTest::finishSuccessfulQueued()
{
    QThread receiverThread;
    QObject receiver;
    receiver.moveToThread(&receiverThread);
    receiverThread.start();
    KTLCypher cypher;
    IndexFileAnalyser taken;
    QThread *takenIn = nullptr;
    QVERIFY(writeFile(Source, backup(encryptedLines(1, 2))));
    connect(&cypher, &KTLCypher::finishSuccessful, &receiver, [&](const QString &, const IndexFileAnalyser &a) {
        taken = a;
        takenIn = QThread::currentThread();
    });

    exportWith(cypher, Source, Gdpdu);
    // Queued behind the result, so the thread ends once the result is taken.
    QMetaObject::invokeMethod(&receiver, [&receiverThread] { receiverThread.quit(); });
    QVERIFY(receiverThread.wait(20000));
    QCOMPARE(takenIn, &receiverThread);
    QCOMPARE(taken.getCompessIndex(), fileBytes(Source).left(taken.getCompessIndex().size()));
    QCOMPARE(taken.getIndexMap().size(), 12);
}

// A stop asked for at the start ends the run after the first record with the abort pair alone,
// leaving an earlier export as it was, and a second start meanwhile is refused. The next start
// clears the request; when idle, a stop is no request at all.
void KTLCypherTest::stopAndSecondStart()
{
    QVERIFY(writeFile(Source, backup(encryptedLines(1, 200))) && writeFile(GdpduTable, Earlier));
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    QList<bool> secondStarts;
    const QMetaObject::Connection stopper = connect(&cypher, &KTLCypher::initProgressBar, [&] {
        cypher.stopProcess();
        secondStarts << cypher.startDecryption(Source, QStringLiteral("raw"), true, false, false, true);
    });
    QTest::ignoreMessage(QtInfoMsg, "Stop GoBD Decryption");
    QTest::ignoreMessage(QtDebugMsg, "GoBD Decryption already running!");
    exportWith(cypher, Source, Gdpdu | Info);
    disconnect(stopper);
    QCOMPARE(secondStarts, QList<bool>{false});
    QCOMPARE(recorder.lines, QStringList({Init, errorLine("Process abbort by the user.",
                                                          "Saving of the decrypted data was not successful!")}));
    QCOMPARE(recorder.progress, QList<int>());
    QCOMPARE(fileBytes(GdpduTable), Earlier);
    QCOMPARE(leftovers(), QStringList());

    recorder.lines.clear();
    exportWith(cypher, Source, Gdpdu);
    QCOMPARE(recorder.lines.value(1), finished(GdpduTable));
    QCOMPARE(fileBytes(GdpduTable), plainLines(1, 200));
    cypher.stopProcess();
    QVERIFY(cypher.dencryptByteArray(encryptedLines(1, 3), QStringLiteral("direct.csv")));
    QCOMPARE(fileBytes(QStringLiteral("direct.csv")), plainLines(1, 3));
}

void KTLCypherTest::lines_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QStringList>("messages");
    const QByteArray shortLine = "Storno Nummer\r\n";
    const QByteArray unreadable = encryptRecord(QByteArray("\x01;").repeated(15) + "\r\n") + "#";
    QByteArray tail;
    const QByteArray tailStream = shortStream(&tail);

    QTest::newRow("first line damaged: line 0") << encryptRecord(tableLine("I", 40)) + encryptedLines(1, 1)
            << tableLine("I", 40) + plainLines(1, 1) << QStringList{damaged(0), lost(1, 0)};
    QTest::newRow("bare line feed salvaged, not reported twice")
            << encryptedLines(1, 12) + encryptRecord(tableLine("1", 40, "\n"))
            << plainLines(1, 12) + tableLine("1", 41) << QStringList{damaged(12), lost(1, 0)};
    // The pass looks for the next record at every byte behind the first damaged one.
    QTest::newRow("rejections name a line once") << unreadable + unreadable + encryptedLines(1, 1) << plainLines(1, 1)
            << QStringList{damaged(0), lost(0, 66)};
    QTest::newRow("salvaged lines reported from line 10, then 11 apart")
            << encryptedLines(1, 9) + encryptRecord(shortLine) + encryptedLines(1, 9) + encryptRecord(shortLine)
                    + encryptedLines(1, 1) + encryptRecord(shortLine)
            << plainLines(1, 9) + shortLine + plainLines(1, 9) + shortLine + plainLines(1, 1) + shortLine
            << QStringList{salvaged(10), salvaged(22), lost(3, 0)};
    // Damaged neighbours are each salvaged on their own where their first block reads as a line's.
    QTest::newRow("salvage keeps the longest run, the first of equals")
            << encryptRecord("1 Bon~Storno Nummer 17 Euro\r\n") + encryptRecord("2 Kasse \xc3\xa4 Storno Nummer 17\r\n")
                    + encryptRecord("3 Bon 1~Bon 2\r\n")
            << QByteArray("Storno Nummer 17 Euro\r\n Storno Nummer 17\r\n3 Bon 1\r\n") << QStringList{lost(3, 0)};
    QTest::newRow("salvage needs more than a quarter of the line")
            << encryptRecord("abcd" + QByteArray(11, '\x01') + '\n') + encryptedLines(1, 1)
                    + encryptRecord("abcde" + QByteArray(10, '\x01') + '\n')
            << plainLines(1, 1) + "abcde\r\n" << QStringList{lost(1, 16)};
    QTest::newRow("line of 256 bytes") << encryptRecord(tableLine("1", 256)) + encryptedLines(1, 1)
                                       << tableLine("1", 256) + plainLines(1, 1) << QStringList();
    // A line longer than the window is judged by its first 256 bytes; the stream ends with them,
    // as what follows them would decrypt out of step.
    QTest::newRow("line of 257 bytes salvaged") << encryptRecord(tableLine("1", 257)).left(256)
            << tableLine("1", 257).left(255) + "\r\n" << QStringList{damaged(0), lost(1, 0)};
    QTest::newRow("line of 258 bytes rejected") << encryptRecord(tableLine("1", 258)).left(256) << QByteArray()
                                                << QStringList{damaged(0), lost(0, 256)};
    QTest::newRow("tail of 15 bytes") << tailStream << tail << QStringList{lost(1, 0)};
}

void KTLCypherTest::lines()
{
    checkDecryption();
}

// Every kind of damage that cards do costs the damaged record alone, and is said.
void KTLCypherTest::damage_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QStringList>("messages");
    const QByteArray line4 = plainLines(4, 1);
    const QByteArray around = plainLines(1, 3) + "@" + plainLines(5, 3);
    const auto with = [&around](const QByteArray &fourth) { return QByteArray(around).replace("@", fourth); };
    // Lines that fill whole records, so that the cluster holds records 16 to 31 exactly.
    QList<QByteArray> windowLines;
    for (int number = 0; number < 48; ++number)
        windowLines << tableLine("1", 256, "\r\n", number);
    DamagedJournal cluster;
    for (int number = 0; number < 48; ++number)
        cluster.append(windowLines.at(number), number == 20 ? std::optional<Damage>(Damage::ZeroedCluster) : std::nullopt);

    QTest::newRow("broken field: reported, kept as it reads") << sevenLines(Damage::BrokenField)
            << with(QByteArray(line4).insert(3, 'x')) << QStringList{damaged(3), lost(1, 0)};
    // The line runs on into the next record, whose first block reads as a line start again.
    QTest::newRow("no line feed: the line salvaged whole, the next found") << sevenLines(Damage::NoLineFeed)
            << with(line4) << QStringList{damaged(3), lost(1, 0)};
    QTest::newRow("line of 300 bytes: dropped, the next found") << sevenLines(Damage::LongLine) << with("")
            << QStringList{damaged(3), lost(0, 304)};
    QTest::newRow("random record: dropped") << sevenLines(Damage::RandomRecord) << with("")
            << QStringList{lost(0, 128)};
    // With seed 2 the sixth block is random.
    QTest::newRow("random block: the line up to it salvaged") << sevenLines(Damage::RandomBlock, 2)
            << with(line4.left(80) + "\r\n") << QStringList{damaged(3), lost(1, 32)};
    // With seed 1 the data file ends after 26 bytes of the record, with seed 2 after 79.
    QTest::newRow("file cut short early in a record: dropped") << sevenLines(Damage::CutShort) << with("")
            << QStringList{lost(0, 26)};
    QTest::newRow("file cut short late in a record: its start salvaged") << sevenLines(Damage::CutShort, 2)
            << with(line4.left(64) + "\r\n") << QStringList{lost(1, 0)};
    QTest::newRow("zeroed cluster: its records gone, the next found") << cluster.data()
            << QByteArray(windowLines.mid(0, 16).join() + windowLines.mid(32).join()) << QStringList{lost(0, 4096)};
    QTest::newRow("byte-order mark: the line passes with its bytes") << sevenLines(Damage::LeadingBom)
            << with("\xEF\xBB\xBF" + line4) << QStringList();
}

void KTLCypherTest::damage()
{
    checkDecryption();
}

// With seed 1 the random block lies among the fields, which keep their separators: the line
// passes the check and is written as it decrypts, but its noise is reported.
void KTLCypherTest::damageKeepingTheFields()
{
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    QVERIFY(cypher.dencryptByteArray(sevenLines(Damage::RandomBlock), QStringLiteral("lines.csv")));
    const QList<QByteArray> table = fileBytes(QStringLiteral("lines.csv")).split('\n');
    QCOMPARE(table.size(), 8);
    for (const int number : {1, 2, 3, 5, 6, 7})
        QCOMPARE(table.at(number - 1) + '\n', plainLines(number, 1));
    const QByteArray line4 = plainLines(4, 1);
    QCOMPARE(table.at(3).size() + 1, line4.size());
    // Two blocks of noise: the random one and the one that it chains into.
    int differing = 0;
    for (int i = 0; i < line4.size() - 1; ++i)
        differing += table.at(3).at(i) != line4.at(i);
    QVERIFY2(differing > 16 && differing <= 32, qPrintable(QString::number(differing)));
    QCOMPARE(recorder.lines, QStringList({Init, damaged(3)}));
}

void KTLCypherTest::damagedJournal_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("kind");
    QTest::newRow("20 MB, every kind") << qint64(20000000) << -1;
    for (const Damage damage : fiscora::sample::allDamages())
        QTest::newRow(qPrintable("4 MB, " + fiscora::sample::damageName(damage))) << qint64(4000000) << int(damage);
}

// A journal of which one record in a hundred is damaged keeps all but a few of its undamaged
// records, in order, and writes next to nothing that is no record.
void KTLCypherTest::damagedJournal()
{
    QFETCH(qint64, size);
    QFETCH(int, kind);
    const QList<Damage> kinds = fiscora::sample::allDamages();
    const fiscora::sample::Journal register1('1', 7);
    QRandomGenerator random(20261206);
    DamagedJournal journal(11);
    QList<QByteArray> lines;
    for (qint64 written = 0; written < size; written += lines.last().size()) {
        lines << register1.line(lines.size() + 1, QDate(2020, 1, 1).addDays(lines.size() / 300));
        std::optional<Damage> damage;
        if (random.bounded(100) == 0)
            damage = kind >= 0 ? kinds.at(kind) : kinds.at(int(random.bounded(kinds.size())));
        journal.append(lines.last(), damage);
    }
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    QVERIFY(cypher.dencryptByteArray(journal.data(), QStringLiteral("journal.csv")));

    const DamageFigures figures = figuresOf(lines, journal.damagedLines(), fileBytes(QStringLiteral("journal.csv")));
    qInfo("%d of %d undamaged records kept, %d of %d lines unaccounted for", figures.kept, figures.undamaged,
          figures.unaccounted, figures.lines);
    QVERIFY2(figures.kept >= 0.9998 * figures.undamaged, qPrintable(QString::number(figures.kept)));
    QVERIFY2(figures.unaccounted <= 0.0001 * figures.lines, qPrintable(QString::number(figures.unaccounted)));
    if (kind != int(Damage::LeadingBom))
        QVERIFY2(recorder.lines.last().startsWith("processMessages(Not all records could be read"),
                 qPrintable(recorder.lines.last()));
}

// 320 bytes give a step of three bytes, so that ten records would count up to 106 per cent.
void KTLCypherTest::progressCapped()
{
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    QVERIFY(cypher.dencryptByteArray(encryptRecord(tableLine("1", 32)).repeated(10), QStringLiteral("progress.csv")));
    QCOMPARE(recorder.progress, QList<int>({10, 21, 32, 42, 53, 64, 74, 85, 96, 100}));
}

void KTLCypherTest::writeThreshold_data()
{
    QTest::addColumn<int>("lastLine");
    QTest::addColumn<qint64>("writtenBeforeEnd");
    QTest::newRow("1 048 575 bytes stay in memory") << 255 << qint64(0);
    QTest::newRow("1 048 576 bytes are written at once") << 256 << qint64(1 << 20);
}

// 4095 lines of 256 bytes and a last one: the table reaches the write threshold with its last line
// or stays one byte below it.
void KTLCypherTest::writeThreshold()
{
    QFETCH(int, lastLine);
    QFETCH(qint64, writtenBeforeEnd);
    const QString path = QStringLiteral("threshold.csv");
    KTLCypher cypher;
    qint64 writtenAtLastProgress = -1;
    connect(&cypher, &KTLCypher::updateProgressBar, this, [&](int value) {
        if (value == 100)
            writtenAtLastProgress = QFileInfo(path + ".~tmp").size();
    });
    QVERIFY(cypher.dencryptByteArray(encryptRecord(tableLine("1", 256)).repeated(4095)
                                     + encryptRecord(tableLine("1", lastLine)), path));
    QCOMPARE(writtenAtLastProgress, writtenBeforeEnd);
    QCOMPARE(QFileInfo(path).size(), qint64(4095 * 256 + lastLine));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], "--limited-writes") == 0)
        return exportWithLimitedWrites();
    KTLCypherTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ktlcypher.moc"
