// The decryptor: the export run end to end (the table, the description files, the report and every
// error pair), the worker's protocol (its signals, stop, a second start, a queued result) and the
// record stream (line check, repair and messages). Each test runs in a temporary folder of its
// own, with paths relative to it.

#include "fixtures.h"
#include "journal.h"
#include "samplecipher.h"

#include <fiscora/ktlcypher.h>

#include <QMetaMethod>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using fiscora::HelperClass;
using fiscora::IndexFileAnalyser;
using fiscora::KTLCypher;
using fiscora::sample::encryptRecord;

namespace {

enum Option { Raw = 1, Gdpdu = 2, Info = 4, Skip = 8 };

// What stands in the way of an export run, if anything.
enum class Setup { None, SourceMissing, TargetEmpty, FolderBlocked, SourceIsFolder, TargetMissing, TableIsFolder,
                   TableUnplaceable, DescriptionBlocked, LimitedWrites };

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
    QVERIFY(cypher.wait(60000));
}

// The child of exportRun() for LimitedWrites: files may grow to FileSizeLimit bytes only, and a
// write beyond that fails with EFBIG instead of killing the process.
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
QByteArray tableLine(const QByteArray &registerNumber, int length, const QByteArray &end = "\r\n")
{
    const QByteArray start = registerNumber + ";7;Kasse 1;" + QByteArray(12, ';');
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

} // namespace

Q_DECLARE_METATYPE(Setup)

class KTLCypherTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void signalSet();
    void exportRun_data();
    void exportRun();
    void finishSuccessfulQueued();
    void stopAndSecondStart();
    void lines_data();
    void lines();
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

// The signal indexes and parameter names are part of the interface.
void KTLCypherTest::signalSet()
{
    const QMetaObject &meta = KTLCypher::staticMetaObject;
    QCOMPARE(meta.superClass(), &QThread::staticMetaObject);
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Signal);
        methods << QString::fromLatin1(method.methodSignature() + ' ' + method.parameterNames().join(','));
    }
    QCOMPARE(methods, QStringList({
        QStringLiteral("finishSuccessful(QString,fiscora::IndexFileAnalyser) filename,analyse"),
        QStringLiteral("processMessages(QString,bool,int) message,isError,messageCount"),
        QStringLiteral("processMessages(QString,bool) message,isError"),
        QStringLiteral("error(QString,QString) error,hint"),
        QStringLiteral("initProgressBar(int,int) startValue,endValue"),
        QStringLiteral("updateProgressBar(int) currenValue"),
        QStringLiteral("fileSaved(QString) filename")}));
}

void KTLCypherTest::exportRun_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("options");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray body = encryptedLines(1, 3);
    const QString plain = QStringLiteral("out/Backup_CR#12345678_202003.csv");
    const QByteArray other(16, 'x');
    const QByteArray oddLines = "\x01\x02 Kasse\n" + QByteArray("I;7;Kasse 1;;;;;;;;;;;;;x\r\n");
    const QByteArray oddRecords = encryptRecord("\x01\x02 Kasse\n") + encryptRecord("I;7;Kasse 1;;;;;;;;;;;;;x\r\n");
    // A GDPdU export: its table, its description files and a good report.
    const auto gdpduRow = [&body](const char *name, const QString &source, const QString &folder, int options,
                                  const QByteArray &tableBytes) {
        const QString table = folder + QStringLiteral("gobd.csv");
        QTest::newRow(name) << Setup::None << source << backup(body) << options
                << QStringList{Init, finished(table), saved(folder + Dtd), saved(folder + Xml)} + goodReport() << table
                << tableBytes;
    };
    // The decrypted data stays in the temporary file only when the table file cannot take its place.
    const auto failureRow = [](const char *name, Setup setup, const QStringList &lines,
                               const QByteArray &temporary = "<missing>") {
        QTest::newRow(name) << setup << Source << backup(encryptedLines(1, 2)) << int(Gdpdu) << lines
                << GdpduTable + ".~tmp" << temporary;
    };
    const QString permissions = QStringLiteral("Check if the file is open or if you have write permissions.");

    gdpduRow("one-month label, INDEX_INFO", Source, GdpduFolder, Gdpdu | Info, infoLine(md5(body)) + plainLines(1, 3));
    gdpduRow("two-month label", "Backup_CR#12345678_202001_202012.enc", "out/CR#12345678/202001_202012/", Gdpdu,
             plainLines(1, 3));
    gdpduRow("two parts", "Backup_CR#12345678.enc", "out/CR#12345678//", Gdpdu, plainLines(1, 3));
    gdpduRow("one part", "journal.enc", "out/journal/", Gdpdu, plainLines(1, 3));
    QTest::newRow("index error: hash OK without assurance")
            << Setup::None << Source << backup(body, QByteArray::fromHex("0102")) << 0
            << QStringList{Init, finished(plain), goodReport().at(0), goodReport().at(1),
                           messageLine("INDEX ERROR: The file for the date 01/2016 is missing.", true, 3),
                           messageLine("Hash value: OK<br>", false, 4)}
            << plain << plainLines(1, 3);
    QTest::newRow("digest differs") << Setup::None << Source << backup(body, QByteArray::fromHex("0c01"), other)
            << int(Info)
            << QStringList{Init, finished(plain)} + goodReport("Hash value: INVALID<br>The data could be corrupted!")
            << plain << infoLine(other) + plainLines(1, 3);
    QTest::newRow("raw data: other options ignored, line check skipped")
            << Setup::None << Source << oddRecords << (Raw | Gdpdu | Info | Skip)
            << QStringList{Init, finished(plain),
                           messageLine("Calculated hash value: " + hex(md5(oddRecords)), false, 1)}
            << plain << oddLines;

    failureRow("source missing, before the empty target", Setup::SourceMissing,
               {errorLine("Encrypted source file don´t exist", "Check your source file selection!")});
    failureRow("target empty", Setup::TargetEmpty,
               {errorLine("The target folder is not valid", "Check the saving location for the decryption folder.")});
    failureRow("export folder cannot be created", Setup::FolderBlocked,
               {errorLine("Folder " + GdpduFolder + " for saving decrypted files couldn't create.",
                          "Check your create permision for the saving location.")});
    failureRow("source cannot be opened", Setup::SourceIsFolder,
               {errorLine("Encrypted source file folder.enc couldn´t open for decryption.",
                          "Check your source file selection and be sure you have read permissions.")});
    failureRow("target folder missing without GDPdU", Setup::TargetMissing,
               {Init, errorLine("Couldn't init temporary space for the data.", permissions), NoValuesPair});
    failureRow("table file cannot be deleted", Setup::TableIsFolder,
               {Init, errorLine("A file with the name " + GdpduTable + " already exist and can't overwritten.",
                                permissions)}, plainLines(1, 2));
    failureRow("table file cannot be placed", Setup::TableUnplaceable,
               {Init, errorLine("File " + GdpduTable + " couldn´t create for saving data.", permissions)},
               plainLines(1, 2));
    failureRow("description files cannot be created: the run goes on", Setup::DescriptionBlocked,
               QStringList{Init, finished(GdpduTable), DtdPair,
                           errorLine("XML file couldn´t create successful!", DescriptionHint)} + goodReport());
    // Files may grow to FileSizeLimit bytes only.
    QTest::newRow("table data cannot be written") << Setup::LimitedWrites << Source
            << backup(encryptedLines(1, 100)) << (Gdpdu | Info)
            << QStringList{Init,
                           errorLine("Couldn't write the decrypted data to " + GdpduTable + ".~tmp. "
                                     "The error from the system is: File too large",
                                     "Check if there is enough free space and if you have write permissions."),
                           NoValuesPair}
            << GdpduTable << QByteArray("<missing>");
    QTest::newRow("description file cannot be written") << Setup::LimitedWrites << Source
            << backup(encryptedLines(1, 1)) << (Gdpdu | Info)
            << QStringList{Init, finished(GdpduTable), DtdPair, saved(GdpduFolder + Xml)} + goodReport()
            << GdpduTable << infoLine(md5(encryptedLines(1, 1))) + plainLines(1, 1);
}

void KTLCypherTest::exportRun()
{
    QFETCH(Setup, setup);
    QFETCH(QString, source);
    QFETCH(QByteArray, contents);
    QFETCH(int, options);
    QFETCH(QStringList, lines);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QVERIFY(writeFile(source, contents) && QDir().mkdir(QStringLiteral("out")));
    QString target = QStringLiteral("out");
    const QString folder = QFileInfo(file).path() + QLatin1Char('/');
    switch (setup) {
    case Setup::None: // with an earlier export, every file of which is replaced
        for (const QString &earlier : {file, folder + Dtd, folder + Xml})
            QVERIFY(writeFile(earlier, QByteArray(20000, 'o')));
        break;
    case Setup::SourceMissing: source = QStringLiteral("missing.enc"); target.clear(); break;
    case Setup::TargetEmpty: target.clear(); break;
    case Setup::FolderBlocked: QVERIFY(writeFile(QStringLiteral("out/CR#12345678"), "file")); break;
    case Setup::SourceIsFolder: source = QStringLiteral("folder.enc"); QVERIFY(QDir().mkpath(source)); break;
    case Setup::TargetMissing: target = QStringLiteral("nowhere"); options = 0; break;
    case Setup::TableIsFolder: QVERIFY(QDir().mkpath(GdpduTable)); break;
    case Setup::TableUnplaceable:
        // A dangling link is no file to delete, yet nothing can be put in its place.
        QVERIFY(QDir().mkpath(GdpduFolder) && QFile::link(m_dir->filePath("missing/gobd.csv"), GdpduTable));
        break;
    case Setup::DescriptionBlocked: QVERIFY(QDir().mkpath(folder + Dtd) && QDir().mkpath(folder + Xml)); break;
    case Setup::LimitedWrites: break;
    }
    if (setup == Setup::LimitedWrites) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--limited-writes")});
        QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n')), lines);
    } else {
        // Each error pair is logged as a warning too.
        for (int i = lines.filter(QRegularExpression(QStringLiteral("^error"))).size(); i > 0; --i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".")));
        KTLCypher cypher;
        CypherRecorder recorder(cypher);
        exportWith(cypher, source, options, target);
        QCOMPARE(recorder.lines, lines);
    }
    QCOMPARE(fileBytes(file), bytes);
    QVERIFY(setup != Setup::None || !QFile::exists(file + QStringLiteral(".~tmp")));
    // The description files are the library's own, byte for byte.
    for (const QString &saved : lines.filter(QStringLiteral("fileSaved("))) {
        const QByteArray written = fileBytes(saved.mid(10).chopped(1));
        const bool dtd = saved.endsWith(Dtd + QLatin1Char(')'));
        QCOMPARE(written, fileBytes(dtd ? QStringLiteral(FISCORA_GDPDU_DTD) : QStringLiteral(FISCORA_INDEX_XML)));
        QCOMPARE(written.size(), dtd ? 8868 : 3554);
    }
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

// A stop asked for at the start ends the run after the first record with the abort pair alone, and
// a second start meanwhile is refused. The next start clears the request; when idle, a stop is no
// request at all.
void KTLCypherTest::stopAndSecondStart()
{
    QVERIFY(writeFile(Source, backup(encryptedLines(1, 200))));
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
    QCOMPARE(fileBytes(GdpduTable + QStringLiteral(".~tmp")), infoLine(md5(encryptedLines(1, 200))));

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
                                                << tableLine("I", 40) + plainLines(1, 1) << QStringList{damaged(0)};
    QTest::newRow("bare line feed salvaged, not reported twice")
            << encryptedLines(1, 12) + encryptRecord(tableLine("1", 40, "\n"))
            << plainLines(1, 12) + tableLine("1", 41) << QStringList{damaged(12)};
    QTest::newRow("rejections name a line once, one byte past the line")
            << unreadable + unreadable + encryptedLines(1, 1) << plainLines(1, 1) << QStringList{damaged(0)};
    QTest::newRow("salvaged lines reported from line 10, then 11 apart")
            << encryptedLines(1, 9) + encryptRecord(shortLine) + encryptedLines(1, 9) + encryptRecord(shortLine)
                    + encryptedLines(1, 1) + encryptRecord(shortLine)
            << plainLines(1, 9) + shortLine + plainLines(1, 9) + shortLine + plainLines(1, 1) + shortLine
            << QStringList{salvaged(10), salvaged(22)};
    QTest::newRow("salvage keeps the longest run, the first of equals")
            << encryptRecord("Bon~Storno Nummer 17 Euro\r\n") + encryptRecord("Kasse \xc3\xa4 Storno Nummer 17\r\n")
                    + encryptRecord("Bon 1~Bon 2\r\n")
            << QByteArray("Storno Nummer 17 Euro\r\n Storno Nummer 17\r\nBon 1\r\n") << QStringList();
    QTest::newRow("salvage needs more than a quarter of the line")
            << encryptRecord("abcd" + QByteArray(11, '\x01') + '\n') + "#"
                    + encryptRecord("abcde" + QByteArray(10, '\x01') + '\n')
            << QByteArray("abcde\r\n") << QStringList();
    QTest::newRow("line of 256 bytes") << encryptRecord(tableLine("1", 256)) + encryptedLines(1, 1)
                                       << tableLine("1", 256) + plainLines(1, 1) << QStringList();
    // A line longer than the window is judged by its first 256 bytes; the stream ends with them,
    // as what follows them would decrypt out of step.
    QTest::newRow("line of 257 bytes salvaged") << encryptRecord(tableLine("1", 257)).left(256)
                                                << tableLine("1", 257).left(255) + "\r\n" << QStringList{damaged(0)};
    QTest::newRow("line of 258 bytes rejected") << encryptRecord(tableLine("1", 258)).left(256) << QByteArray()
                                                << QStringList{damaged(0)};
    QTest::newRow("tail of 15 bytes") << tailStream << tail << QStringList();
}

void KTLCypherTest::lines()
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
}

// 160 bytes give a step of one byte, so that ten records would count up to 160 per cent.
void KTLCypherTest::progressCapped()
{
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    QVERIFY(cypher.dencryptByteArray(encryptRecord("Storno Nr 12\r\n").repeated(10),
                                     QStringLiteral("progress.csv")));
    QCOMPARE(recorder.progress, QList<int>({16, 32, 48, 64, 80, 96, 100}));
}

void KTLCypherTest::writeThreshold_data()
{
    QTest::addColumn<int>("lastLine");
    QTest::addColumn<qint64>("writtenBeforeEnd");
    QTest::newRow("49 999 999 bytes stay in memory") << 127 << qint64(0);
    QTest::newRow("50 000 000 bytes are written at once") << 128 << qint64(50000000);
}

// 195 312 lines of 256 bytes and a last one: the table reaches the threshold with its last line or
// stays one byte below it.
void KTLCypherTest::writeThreshold()
{
    QFETCH(int, lastLine);
    QFETCH(qint64, writtenBeforeEnd);
    if (writtenBeforeEnd > 0)
        QTest::ignoreMessage(QtDebugMsg, "50MB write file");
    const QString path = QStringLiteral("threshold.csv");
    KTLCypher cypher;
    qint64 writtenAtLastProgress = -1;
    connect(&cypher, &KTLCypher::updateProgressBar, this, [&](int value) {
        if (value == 100)
            writtenAtLastProgress = QFileInfo(path).size();
    });
    QVERIFY(cypher.dencryptByteArray(encryptRecord(tableLine("1", 256)).repeated(195312)
                                     + encryptRecord(tableLine("1", lastLine)), path));
    QCOMPARE(writtenAtLastProgress, writtenBeforeEnd);
    QCOMPARE(QFileInfo(path).size(), qint64(195312 * 256 + lastLine));
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
