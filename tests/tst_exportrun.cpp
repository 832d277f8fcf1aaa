// The export run without a thread: the table, the description files, the report and every error
// pair, over an earlier export that must stay whole whenever the new one cannot take its place.
// Each test runs in a temporary folder of its own, with paths relative to it.

#include "decryptortest.h"
#include "exportrun_p.h"
#include "faultinjection.h"
#include "fixtures.h"
#include "recordedreport.h"

#include <QDirIterator>
#include <QtTest>

#include <sys/stat.h>

using namespace decryptortest;
using fiscora::sample::encryptRecord;
using joblog::error;
using joblog::exportMessage;

namespace {

enum Option { Raw = 1, Gdpdu = 2, Info = 4, Skip = 8 };

// What the export folder holds before an export that succeeds.
enum class Before { EarlierExport, LinkAtTemporaryName, DescriptionBlocked, DiskFullForDtd };
// What stands in the way of an export that fails.
enum class Obstacle { SourceMissing, TargetEmpty, FolderBlocked, SourceIsFolder, SourceIsFifo, SourceIsDevice,
                      TargetMissing, TableIsFolder, RenameFails, SyncFails, CloseFails, DiskFull };

const QString Dtd = QStringLiteral("gdpdu-01-09-2004.dtd");
const QString Xml = QStringLiteral("index.xml");
const QByteArray Earlier = QByteArrayLiteral("an earlier export");
const QString Permissions = QStringLiteral("Check if the file is open or if you have write permissions.");
const QString DiskHint = QStringLiteral("Check if there is enough free space and if you have write permissions.");
const QString NoValues = error(QStringLiteral("No decrypted values for saving."),
                               QStringLiteral("Check your source file for having valid data."));
const QString DescriptionHint = QStringLiteral("Check your write permission for the saving location.");
const QString DtdFailed = error(QStringLiteral("DTD file couldn´t create successful!"), DescriptionHint);

QString hex(const QByteArray &bytes)
{
    return fiscora::HelperClass::convertToFormattedHexValue(bytes);
}

QByteArray infoLine(const QByteArray &digest)
{
    return "INDEX_INFO;SOURCE_SD;2;;12345678;" + hex(digest).toLatin1() + "\r\n";
}

// Runs an export and returns what it reported, but its progress values.
QStringList exportWith(const QString &source, int options, const QString &target = QStringLiteral("out"),
                       const std::function<void(int)> &onProgress = {})
{
    joblog::RecordedExportReport report;
    report.onProgress = onProgress;
    const std::atomic_bool stop{false};
    fiscora::ExportRun(report, stop, {source, target, bool(options & Raw), bool(options & Gdpdu), bool(options & Info),
                                      bool(options & Skip)})
            .run();
    return joblog::withoutProgress(report.lines);
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

} // namespace

Q_DECLARE_METATYPE(Before)
Q_DECLARE_METATYPE(Obstacle)

class ExportRunTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void exportSucceeds_data();
    void exportSucceeds();
    void exportFails_data();
    void exportFails();
    void sourceShrinks();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void ExportRunTest::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid() && QDir::setCurrent(m_dir->path()));
}

void ExportRunTest::cleanup()
{
    faultinjection::reset();
}

void ExportRunTest::exportSucceeds_data()
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
                << QStringList{Start, joblog::tableWritten(table), joblog::fileSaved(folder + Dtd),
                               joblog::fileSaved(folder + Xml)} + goodReport()
                << table << tableBytes;
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
    gdpduRow("a link left at a temporary name is removed, not followed", Before::LinkAtTemporaryName, Source,
             GdpduFolder, Gdpdu, body, plainLines(1, 3));
    gdpduRow("a clean journal read in many pieces comes out as it is", Before::EarlierExport, Source, GdpduFolder,
             Gdpdu, journal, journalTable);
    QTest::newRow("index error: hash OK without assurance")
            << Before::EarlierExport << Source << backup(body, QByteArray::fromHex("0102")) << 0
            << QStringList{Start, joblog::tableWritten(plain), goodReport().at(0), goodReport().at(1),
                           exportMessage("INDEX ERROR: The file for the date 01/2016 is missing.", true, 3),
                           exportMessage("Hash value: OK<br>", false, 4)}
            << plain << plainLines(1, 3);
    QTest::newRow("digest differs") << Before::EarlierExport << Source << backup(body, QByteArray::fromHex("0c01"), other)
            << int(Info)
            << QStringList{Start, joblog::tableWritten(plain)} + goodReport("Hash value: INVALID<br>The data could be corrupted!")
            << plain << infoLine(other) + plainLines(1, 3);
    QTest::newRow("raw data: other options ignored, line check skipped")
            << Before::EarlierExport << Source << oddRecords << (Raw | Gdpdu | Info | Skip)
            << QStringList{Start, joblog::tableWritten(plain),
                           exportMessage("Calculated hash value: " + hex(md5(oddRecords)), false, 1)}
            << plain << oddLines;
    QTest::newRow("description files cannot be created: the run goes on")
            << Before::DescriptionBlocked << Source << backup(body) << int(Gdpdu)
            << QStringList{Start, joblog::tableWritten(GdpduTable), DtdFailed,
                           error("XML file couldn´t create successful!", DescriptionHint)} + goodReport()
            << GdpduTable << plainLines(1, 3);
    // The disk fills up half way through the file.
    QTest::newRow("description file cannot be written: the earlier one stays")
            << Before::DiskFullForDtd << Source << backup(body) << int(Gdpdu)
            << QStringList{Start, joblog::tableWritten(GdpduTable), DtdFailed, joblog::fileSaved(GdpduFolder + Xml)}
                    + goodReport()
            << GdpduTable << plainLines(1, 3);
}

// Every file of an earlier export in the same place is replaced.
void ExportRunTest::exportSucceeds()
{
    QFETCH(Before, before);
    QFETCH(QString, source);
    QFETCH(QByteArray, contents);
    QFETCH(int, options);
    QFETCH(QStringList, lines);
    QFETCH(QString, table);
    QFETCH(QByteArray, bytes);
    const QString folder = QFileInfo(table).path() + QLatin1Char('/');
    QVERIFY_DONE(writeFile(source, contents));
    QVERIFY_DONE(writeFile(table, Earlier));
    for (const QString &description : {folder + Dtd, folder + Xml})
        QVERIFY_DONE(before == Before::DescriptionBlocked ? makeFolder(description) : writeFile(description, Earlier));
    if (before == Before::LinkAtTemporaryName) {
        QVERIFY_DONE(writeFile(QStringLiteral("victim"), "victim"));
        QVERIFY(QFile::link(m_dir->filePath("victim"), table + ".~tmp"));
    }
    if (before == Before::DiskFullForDtd)
        faultinjection::fillDiskAfter(4096, ("/" + Dtd + ".*.~tmp").toUtf8());
    expectWarnings(lines);

    QCOMPARE(exportWith(source, options), lines);
    QCOMPARE(fileBytes(table), bytes);
    QVERIFY(!QFileInfo(table).isSymLink());
    QCOMPARE(fileBytes(QStringLiteral("victim")), before == Before::LinkAtTemporaryName ? "victim" : "<missing>");
    QCOMPARE(leftovers(), QStringList());
    // The description files saved are the library's own, byte for byte; any other stays as it was.
    for (const QString &name : {Dtd, Xml}) {
        const QByteArray written = fileBytes(folder + name);
        if (lines.contains(joblog::fileSaved(folder + name))) {
            const QString original = name == Dtd ? QStringLiteral(FISCORA_GDPDU_DTD) : QStringLiteral(FISCORA_INDEX_XML);
            QCOMPARE(written, fileBytes(original));
            QCOMPARE(written.size(), name == Dtd ? 8868 : 3554);
        } else {
            QCOMPARE(written, before == Before::DescriptionBlocked ? QByteArray("<missing>") : Earlier);
        }
    }
}

void ExportRunTest::exportFails_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<bool>("earlierTable");
    QTest::addColumn<QStringList>("lines");
    const QString systemError = "Couldn't write the decrypted data to " + GdpduTable + ". The error from the system is: ";
    const QString openHint = QStringLiteral("Check your source file selection and be sure you have read permissions.");
    const QString cannotReplace = "A file with the name " + GdpduTable + " already exist and can't overwritten.";

    QTest::newRow("source missing, before the empty target") << Obstacle::SourceMissing << true
            << QStringList{error("Encrypted source file don´t exist", "Check your source file selection!")};
    QTest::newRow("target empty") << Obstacle::TargetEmpty << true
            << QStringList{error("The target folder is not valid", "Check the saving location for the decryption folder.")};
    QTest::newRow("export folder cannot be created") << Obstacle::FolderBlocked << false
            << QStringList{error("Folder " + GdpduFolder + " for saving decrypted files couldn't create.",
                                 "Check your create permision for the saving location.")};
    QTest::newRow("source is a folder") << Obstacle::SourceIsFolder << true
            << QStringList{error("Encrypted source file folder.enc couldn´t open for decryption.", openHint)};
    QTest::newRow("source is a FIFO, raw: refused, not waited for") << Obstacle::SourceIsFifo << true
            << QStringList{error("Encrypted source file pipe.enc couldn´t open for decryption.", openHint)};
    QTest::newRow("source is a device, raw: refused, not read for ever") << Obstacle::SourceIsDevice << true
            << QStringList{error("Encrypted source file zero.enc couldn´t open for decryption.", openHint)};
    QTest::newRow("target folder missing without GDPdU") << Obstacle::TargetMissing << true
            << QStringList{Start, error("Couldn't init temporary space for the data.", Permissions), NoValues};
    QTest::newRow("table file cannot be replaced") << Obstacle::TableIsFolder << false
            << QStringList{Start, error(cannotReplace, Permissions)};
    QTest::newRow("earlier table file cannot be replaced") << Obstacle::RenameFails << true
            << QStringList{Start, error(cannotReplace, Permissions)};
    QTest::newRow("table file cannot be put in place") << Obstacle::RenameFails << false
            << QStringList{Start, error("File " + GdpduTable + " couldn´t create for saving data.", Permissions)};
    QTest::newRow("table file cannot be synced") << Obstacle::SyncFails << true
            << QStringList{Start, error(systemError + "Input/output error", DiskHint), NoValues};
    QTest::newRow("table file cannot be closed") << Obstacle::CloseFails << true
            << QStringList{Start, error(systemError + "Input/output error", DiskHint), NoValues};
    // The disk fills up half way through the file.
    QTest::newRow("table file cannot be written") << Obstacle::DiskFull << true
            << QStringList{Start, error(systemError + "No space left on device", DiskHint), NoValues};
}

// A failed export leaves no temporary file, and an earlier table file as it was.
void ExportRunTest::exportFails()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(bool, earlierTable);
    QFETCH(QStringList, lines);
    QString source = Source;
    QString target = QStringLiteral("out");
    int options = Gdpdu;
    QVERIFY_DONE(writeFile(source, backup(encryptedLines(1, 2))));
    QVERIFY_DONE(makeFolder(target));
    if (earlierTable)
        QVERIFY_DONE(writeFile(GdpduTable, Earlier));
    switch (obstacle) {
    case Obstacle::SourceMissing: source = QStringLiteral("missing.enc"); target.clear(); break;
    case Obstacle::TargetEmpty: target.clear(); break;
    case Obstacle::FolderBlocked: QVERIFY_DONE(writeFile(QStringLiteral("out/CR#12345678"), "file")); break;
    case Obstacle::SourceIsFolder: source = QStringLiteral("folder.enc"); QVERIFY_DONE(makeFolder(source)); break;
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
    case Obstacle::TableIsFolder: QVERIFY_DONE(makeFolder(GdpduTable)); break;
    case Obstacle::RenameFails: faultinjection::failOn(faultinjection::Rename, "/gobd.csv"); break;
    case Obstacle::SyncFails: faultinjection::failOn(faultinjection::Sync, "/gobd.csv.*.~tmp"); break;
    case Obstacle::CloseFails: faultinjection::failOn(faultinjection::Close, "/gobd.csv.*.~tmp"); break;
    case Obstacle::DiskFull: faultinjection::fillDiskAfter(100, "/gobd.csv.*.~tmp"); break;
    }
    expectWarnings(lines);

    const QStringList reported = exportWith(source, options, target);
    faultinjection::reset();
    QCOMPARE(reported, lines);
    QCOMPARE(fileBytes(GdpduTable), earlierTable ? Earlier : QByteArray("<missing>"));
    QCOMPARE(leftovers(), QStringList());
}

// A backup that is cut short while it is exported (a card pulled out, another program at work)
// is an error, not a crash, and leaves no temporary file.
void ExportRunTest::sourceShrinks()
{
    // Larger than what is read ahead of the first progress.
    QByteArray body;
    for (int first = 1; body.size() < 16000000; first += 1000)
        body += encryptedLines(first, 1000);
    const QByteArray contents = backup(body);
    QVERIFY_DONE(writeFile(Source, contents));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("couldn't be read completely")));
    QTest::ignoreMessage(QtWarningMsg, "No decrypted values for saving.");

    QStringList reported = exportWith(Source, Gdpdu, QStringLiteral("out"), [](int) { QFile(Source).resize(1000000); });
    // How much was read by then depends on how far the reading is ahead.
    reported.replaceInStrings(QRegularExpression(QStringLiteral("Only \\d+ of")), QStringLiteral("Only # of"));
    const QString failure = QStringLiteral("Encrypted source file %1 couldn't be read completely. The error from the "
                                           "system is: Only # of its %2 bytes could be read.")
                                    .arg(Source).arg(contents.size());
    QCOMPARE(reported, QStringList({Start, error(failure, "Check that the medium holding the file is still connected."),
                                    NoValues}));
    QCOMPARE(fileBytes(GdpduTable), QByteArray("<missing>"));
    QCOMPARE(leftovers(), QStringList());
}

QTEST_GUILESS_MAIN(ExportRunTest)
#include "tst_exportrun.moc"
