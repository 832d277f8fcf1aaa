// The decryptor's export run end to end (the table, the description files, the report and every
// error pair) and the worker's protocol: its signals, stop, a second start, a queued result.

#include "ktlcyphertest.h"

#include <QMetaMethod>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using fiscora::HelperClass;
using fiscora::IndexFileAnalyser;
using fiscora::KTLCypher;

namespace {

enum Option { Raw = 1, Gdpdu = 2, Info = 4, Skip = 8 };

enum class Failure { SourceMissing, TargetEmpty, FolderBlocked, SourceIsFolder, TargetMissing, TableIsFolder,
                     TableUnplaceable, DescriptionBlocked };

const QString SourceName = QStringLiteral("Backup_CR#12345678_202003.enc");
const QString GdpduFolder = QStringLiteral("%D/out/CR#12345678/202003/");
const QString GdpduTable = GdpduFolder + QStringLiteral("gobd.csv");
const QString Init = QStringLiteral("initProgressBar(0, 100)");
const QString AbortPair = QStringLiteral("error(Process abbort by the user. | Saving of the decrypted data was not successful!)");
// Small enough for the table of a few lines and for "index.xml", too small for the DTD.
constexpr rlim_t FileSizeLimit = 4096;

QByteArray md5(const QByteArray &data)
{
    return HelperClass::calculateMD5Hash(data);
}

QString hex(const QByteArray &bytes)
{
    return HelperClass::convertToFormattedHexValue(bytes);
}

QString finished(const QString &table)
{
    return QStringLiteral("finishSuccessful(%1)").arg(table);
}

QString errorLine(const QString &error, const QString &hint)
{
    return QStringLiteral("error(%1 | %2)").arg(error, hint);
}

QByteArray infoLine(const QByteArray &digest)
{
    return "INDEX_INFO;SOURCE_SD;2;;12345678;" + hex(digest).toLatin1() + "\r\n";
}

QStringList goodReport(const QString &verdict = QStringLiteral("Hash value: OK<br>The data seems not corrupted!"))
{
    return {messageLine(QStringLiteral("The data was created by reading from SD-Card or Backup."), false, 1),
            messageLine(QStringLiteral("Serialnumber of the cash register: 12345678"), false, 2),
            messageLine(QStringLiteral("The data index is correct, no issues recognised."), false, 3),
            messageLine(verdict, verdict.startsWith(QLatin1String("Hash value: INVALID")), 4)};
}

QStringList descriptionSaved(const QString &folder = GdpduFolder)
{
    return {QStringLiteral("fileSaved(%1gdpdu-01-09-2004.dtd)").arg(folder),
            QStringLiteral("fileSaved(%1index.xml)").arg(folder)};
}

QStringList resolved(QStringList lines, const QString &dir)
{
    return lines.replaceInStrings(QStringLiteral("%D"), dir);
}

void exportWith(KTLCypher &cypher, const QString &source, const QString &target, int options)
{
    QVERIFY(cypher.startDecryption(source, target, options & Raw, options & Gdpdu, options & Info, options & Skip));
    QVERIFY(cypher.wait(60000));
}

// The child of writesAreChecked(): files may grow to FileSizeLimit bytes only, and a write
// beyond that fails with EFBIG instead of killing the process.
int exportWithLimitedWrites(const QString &dir)
{
    const rlimit limit = {FileSizeLimit, FileSizeLimit};
    if (signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    exportWith(cypher, dir + QLatin1Char('/') + SourceName, dir + QStringLiteral("/out"), Gdpdu | Info);
    QTextStream(stdout) << recorder.lines.join(QLatin1Char('\n'));
    return 0;
}

} // namespace

Q_DECLARE_METATYPE(Failure)

// Takes the analyser in a thread of its own.
class Receiver : public QObject
{
    Q_OBJECT

public:
    IndexFileAnalyser analyser;
    QThread *thread = nullptr;

public Q_SLOTS:
    void take(const QString &, const fiscora::IndexFileAnalyser &analyse)
    {
        analyser = analyse;
        thread = QThread::currentThread();
        Q_EMIT taken();
    }

Q_SIGNALS:
    void taken();
};

class KTLCypherTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void signalSet();
    void runs_data();
    void runs();
    void exportFolders_data();
    void exportFolders();
    void failures_data();
    void failures();
    void writesAreChecked_data();
    void writesAreChecked();
    void finishSuccessfulQueued();
    void stopDuringRun();
    void stopWhenIdle();
    void startWhileRunning();

private:
    // A backup of 200 lines under the usual name.
    QString writeSource(const QByteArray &contents = backup(encryptedLines(1, 200)))
    {
        const QString source = m_dir->filePath(SourceName);
        return writeFile(source, contents) ? source : QString();
    }
    QString path(const QString &pattern) const { return QString(pattern).replace(QStringLiteral("%D"), m_dir->path()); }

    QScopedPointer<QTemporaryDir> m_dir;
};

void KTLCypherTest::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

// The signal indexes and parameter names are part of the interface.
void KTLCypherTest::signalSet()
{
    const QMetaObject &meta = KTLCypher::staticMetaObject;
    QCOMPARE(meta.className(), "fiscora::KTLCypher");
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

void KTLCypherTest::runs_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QByteArray>("tableBytes");
    QTest::addColumn<QStringList>("lines");
    const QByteArray body = encryptedLines(1, 3);
    const QString plain = QStringLiteral("%D/out/Backup_CR#12345678_202003.csv");
    const QString invalid = QStringLiteral("Hash value: INVALID<br>The data could be corrupted!");
    const auto calculated = [](const QByteArray &records) {
        return messageLine(QStringLiteral("Calculated hash value: ") + hex(md5(records)), false, 1);
    };
    const QByteArray oddLines = "\x01\x02 Kasse\n" + QByteArray("I;7;Kasse 1;;;;;;;;;;;;;x\r\n");
    const QByteArray oddRecords = fiscora::sample::encryptRecord("\x01\x02 Kasse\n")
            + fiscora::sample::encryptRecord("I;7;Kasse 1;;;;;;;;;;;;;x\r\n");

    QTest::newRow("GDPdU with INDEX_INFO, hash OK")
            << backup(body) << (Gdpdu | Info) << GdpduTable << infoLine(md5(body)) + plainLines(1, 3)
            << QStringList{Init, finished(GdpduTable)} + descriptionSaved() + goodReport();
    QTest::newRow("index error: hash OK without assurance")
            << backup(body, QByteArray::fromHex("0102")) << 0 << plain << plainLines(1, 3)
            << QStringList{Init, finished(plain), goodReport().at(0), goodReport().at(1),
                           messageLine(QStringLiteral("INDEX ERROR: The file for the date 01/2016 is missing."), true, 3),
                           messageLine(QStringLiteral("Hash value: OK<br>"), false, 4)};
    QTest::newRow("digest differs") << backup(body, QByteArray::fromHex("0c01"), md5("other")) << int(Info) << plain
                                    << infoLine(md5("other")) + plainLines(1, 3)
                                    << QStringList{Init, finished(plain)} + goodReport(invalid);
    QTest::newRow("raw data ignores the other options") << body << (Raw | Gdpdu | Info) << plain << plainLines(1, 3)
                                                        << QStringList{Init, finished(plain), calculated(body)};
    QTest::newRow("raw data without line check") << oddRecords << (Raw | Skip) << plain << oddLines
                                                 << QStringList{Init, finished(plain), calculated(oddRecords)};
    QTest::newRow("empty source file") << QByteArray() << int(Raw) << plain << QByteArray()
                                       << QStringList{Init, finished(plain), calculated("")};
    QTest::newRow("empty record stream") << backup(QByteArray()) << (Gdpdu | Info) << GdpduTable << infoLine(md5(""))
                                         << QStringList{Init, finished(GdpduTable)} + descriptionSaved() + goodReport();
    QTest::newRow("no readable header: all records, against zeros")
            << body << int(Info) << plain
            << "INDEX_INFO;SOURCE_UNKNOWN;2;;;" + hex(QByteArray(16, '\0')).toLatin1() + "\r\n" + plainLines(1, 3)
            << QStringList{Init, finished(plain),
                           messageLine(QStringLiteral("Source of the data couldn´t determine."), true, 1),
                           messageLine(invalid, true, 2)};
}

void KTLCypherTest::runs()
{
    QFETCH(QByteArray, source);
    QFETCH(int, options);
    QFETCH(QString, table);
    QFETCH(QByteArray, tableBytes);
    QFETCH(QStringList, lines);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("out")));
    KTLCypher cypher;
    CypherRecorder recorder(cypher);

    exportWith(cypher, writeSource(source), m_dir->filePath(QStringLiteral("out")), options);
    QCOMPARE(recorder.lines, resolved(lines, m_dir->path()));
    QCOMPARE(fileBytes(path(table)), tableBytes);
    QVERIFY(!QFile::exists(path(table) + QStringLiteral(".~tmp")));
}

void KTLCypherTest::exportFolders_data()
{
    QTest::addColumn<QString>("sourceName");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("earlierExport");
    QTest::newRow("two-month label") << "Backup_CR#12345678_202001_202012.enc" << "CR#12345678/202001_202012/" << false;
    QTest::newRow("one-month label") << "Backup_CR#12345678_202003.enc" << "CR#12345678/202003/" << false;
    QTest::newRow("two parts") << "Backup_CR#12345678.enc" << "CR#12345678//" << false;
    QTest::newRow("one part") << "journal.enc" << "journal/" << false;
    QTest::newRow("further parts and suffixes ignored") << "Backup_CR#1_202001_202002_x.old.enc"
                                                        << "CR#1/202001_202002/" << false;
    QTest::newRow("every file of an earlier export replaced") << "Backup_CR#12345678_202003.enc"
                                                              << "CR#12345678/202003/" << true;
}

// The target folder is made on the way; the description files are the library's own, byte for byte.
void KTLCypherTest::exportFolders()
{
    QFETCH(QString, sourceName);
    QFETCH(QString, folder);
    QFETCH(bool, earlierExport);
    const QString exportFolder = m_dir->filePath(QStringLiteral("new/out/")) + folder;
    const QStringList files = {QStringLiteral("gobd.csv"), QStringLiteral("gdpdu-01-09-2004.dtd"),
                               QStringLiteral("index.xml")};
    for (const QString &file : files)
        QVERIFY(!earlierExport || writeFile(exportFolder + file, QByteArray(20000, 'o')));
    const QString source = m_dir->filePath(sourceName);
    QVERIFY(writeFile(source, backup(encryptedLines(1, 2))));
    KTLCypher cypher;
    CypherRecorder recorder(cypher);

    exportWith(cypher, source, m_dir->filePath(QStringLiteral("new/out")), Gdpdu);
    QCOMPARE(recorder.lines.mid(1, 3), QStringList(finished(exportFolder + files.at(0))) + descriptionSaved(exportFolder));
    QCOMPARE(fileBytes(exportFolder + files.at(0)), plainLines(1, 2));
    QCOMPARE(fileBytes(exportFolder + files.at(1)), fileBytes(QStringLiteral(FISCORA_GDPDU_DTD)));
    QCOMPARE(fileBytes(exportFolder + files.at(2)), fileBytes(QStringLiteral(FISCORA_INDEX_XML)));
}

void KTLCypherTest::failures_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<bool>("temporaryStays");
    const QString permissions = QStringLiteral("Check if the file is open or if you have write permissions.");
    const QString noValues = QStringLiteral("No decrypted values for saving.");
    const QString source = QStringLiteral("%D/folder.enc");
    const QString write = QStringLiteral("Check your write permission for the saving location.");

    QTest::newRow("source missing, before the empty target") << Failure::SourceMissing
            << QStringList{errorLine("Encrypted source file don´t exist", "Check your source file selection!")}
            << QStringList{QStringLiteral("Encrypted source file don´t exist")} << false;
    QTest::newRow("target empty") << Failure::TargetEmpty
            << QStringList{errorLine("The target folder is not valid", "Check the saving location for the decryption folder.")}
            << QStringList{QStringLiteral("The target folder is not valid")} << false;
    QTest::newRow("export folder cannot be created") << Failure::FolderBlocked
            << QStringList{errorLine(QStringLiteral("Folder %1 for saving decrypted files couldn't create.").arg(GdpduFolder),
                                     "Check your create permision for the saving location.")}
            << QStringList{QStringLiteral("Folder for saving decrypted Files couldn't create: ") + GdpduFolder} << false;
    QTest::newRow("source cannot be opened") << Failure::SourceIsFolder
            << QStringList{errorLine(QStringLiteral("Encrypted source file %1 couldn´t open for decryption.").arg(source),
                                     "Check your source file selection and be sure you have read permissions.")}
            << QStringList{QStringLiteral("Encrypted source file %1 couldn´t open for decryption. (file to open is a directory)").arg(source)}
            << false;
    QTest::newRow("target folder missing without GDPdU") << Failure::TargetMissing
            << QStringList{Init, errorLine("Couldn't init temporary space for the data.", permissions),
                           errorLine(noValues, "Check your source file for having valid data.")}
            << QStringList{QStringLiteral("Couldn't open %D/nowhere/Backup_CR#12345678_202003.csv.~tmp: No such file or directory"), noValues}
            << false;
    QTest::newRow("table file cannot be deleted") << Failure::TableIsFolder
            << QStringList{Init, errorLine(QStringLiteral("A file with the name %1 already exist and can't overwritten.").arg(GdpduTable), permissions)}
            << QStringList{QStringLiteral("A file with the name %1 already exist and can't overwritten.").arg(GdpduTable)} << true;
    QTest::newRow("table file cannot be placed") << Failure::TableUnplaceable
            << QStringList{Init, errorLine(QStringLiteral("File %1 couldn´t create for saving data.").arg(GdpduTable), permissions)}
            << QStringList{QStringLiteral("File %1 couldn´t create for saving data.").arg(GdpduTable)} << true;
    QTest::newRow("description files cannot be written: the run goes on") << Failure::DescriptionBlocked
            << QStringList{Init, finished(GdpduTable), errorLine("DTD file couldn´t create successful!", write),
                           errorLine("XML file couldn´t create successful!", write)} + goodReport()
            << QStringList{QStringLiteral("Resscource file %1gdpdu-01-09-2004.dtd couldn´t create for saving").arg(GdpduFolder),
                           QStringLiteral("Resscource file %1index.xml couldn´t create for saving").arg(GdpduFolder)}
            << false;
}

void KTLCypherTest::failures()
{
    QFETCH(Failure, failure);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, warnings);
    QFETCH(bool, temporaryStays);
    QString source = writeSource(backup(encryptedLines(1, 2)));
    QString target = m_dir->filePath(QStringLiteral("out"));
    const QString folder = path(GdpduFolder);
    int options = Gdpdu;
    QVERIFY(QDir().mkpath(target));
    switch (failure) {
    case Failure::SourceMissing: source = m_dir->filePath(QStringLiteral("missing.enc")); target.clear(); break;
    case Failure::TargetEmpty: target.clear(); break;
    case Failure::FolderBlocked: QVERIFY(writeFile(target + QStringLiteral("/CR#12345678"), "file")); break;
    case Failure::SourceIsFolder: source = path(QStringLiteral("%D/folder.enc")); QVERIFY(QDir().mkpath(source)); break;
    case Failure::TargetMissing: target = m_dir->filePath(QStringLiteral("nowhere")); options = 0; break;
    case Failure::TableIsFolder: QVERIFY(QDir().mkpath(folder + QStringLiteral("gobd.csv"))); break;
    case Failure::TableUnplaceable:
        // A dangling link is no file to delete, yet nothing can be put in its place.
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("missing/gobd.csv")), folder + QStringLiteral("gobd.csv")));
        break;
    case Failure::DescriptionBlocked:
        QVERIFY(QDir().mkpath(folder + QStringLiteral("gdpdu-01-09-2004.dtd")));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("index.xml")));
        break;
    }
    for (const QString &warning : resolved(warnings, m_dir->path()))
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    KTLCypher cypher;
    CypherRecorder recorder(cypher);

    exportWith(cypher, source, target, options);
    QCOMPARE(recorder.lines, resolved(lines, m_dir->path()));
    QCOMPARE(fileBytes(folder + QStringLiteral("gobd.csv.~tmp")),
             temporaryStays ? plainLines(1, 2) : QByteArray("<missing>"));
}

void KTLCypherTest::writesAreChecked_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("table data") << 100
            << QStringList{Init,
                           errorLine(QStringLiteral("Couldn't write the decrypted data to %1.~tmp. The error from the system is: File too large").arg(GdpduTable),
                                     "Check if there is enough free space and if you have write permissions."),
                           errorLine("No decrypted values for saving.", "Check your source file for having valid data.")};
    QTest::newRow("description file") << 1
            << QStringList{Init, finished(GdpduTable),
                           errorLine("DTD file couldn´t create successful!", "Check your write permission for the saving location."),
                           descriptionSaved().at(1)} + goodReport();
}

// Runs in a child process whose files may not grow beyond FileSizeLimit bytes.
void KTLCypherTest::writesAreChecked()
{
    QFETCH(int, lineCount);
    QFETCH(QStringList, lines);
    QVERIFY(!writeSource(backup(encryptedLines(1, lineCount))).isEmpty());
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--limited-writes"), m_dir->path()});
    QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n')), resolved(lines, m_dir->path()));
}

void KTLCypherTest::finishSuccessfulQueued()
{
    QThread receiverThread;
    Receiver receiver;
    receiver.moveToThread(&receiverThread);
    receiverThread.start();
    KTLCypher cypher;
    connect(&cypher, &KTLCypher::finishSuccessful, &receiver, &Receiver::take);
    QSignalSpy taken(&receiver, &Receiver::taken);

    const QString source = writeSource();
    QVERIFY(cypher.startDecryption(source, m_dir->filePath(QStringLiteral("out")), false, true, false, false));
    const bool delivered = taken.wait(20000);
    receiverThread.quit();
    QVERIFY(receiverThread.wait());
    QVERIFY(cypher.wait());
    QVERIFY(delivered);
    QCOMPARE(receiver.thread, &receiverThread);
    QCOMPARE(receiver.analyser.getIndexMap().size(), 12);
    QCOMPARE(receiver.analyser.getCompessIndex(), fileBytes(source).left(receiver.analyser.getCompessIndex().size()));
}

// A stop asked for at the first progress value ends the run after that record with the abort
// pair alone; the request then stands until the next start.
void KTLCypherTest::stopDuringRun()
{
    const QString source = writeSource();
    const QString table = path(GdpduTable);
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    const QMetaObject::Connection stopper =
            connect(&cypher, &KTLCypher::updateProgressBar, [&cypher] { cypher.stopProcess(); });
    QTest::ignoreMessage(QtInfoMsg, "Stop GoBD Decryption");
    exportWith(cypher, source, m_dir->filePath(QStringLiteral("out")), Gdpdu | Info);
    disconnect(stopper);
    QCOMPARE(recorder.lines, QStringList({Init, AbortPair}));
    QCOMPARE(recorder.progress.size(), 1);
    QCOMPARE(fileBytes(table + QStringLiteral(".~tmp")), infoLine(md5(encryptedLines(1, 200))));

    recorder.lines.clear();
    const QString direct = m_dir->filePath(QStringLiteral("direct.csv"));
    QVERIFY(!cypher.dencryptByteArray(encryptedLines(1, 3), direct));
    QCOMPARE(recorder.lines, QStringList({Init, AbortPair}));
    QCOMPARE(fileBytes(direct), QByteArray());

    recorder.lines.clear();
    exportWith(cypher, source, m_dir->filePath(QStringLiteral("out")), Gdpdu);
    QCOMPARE(recorder.lines.value(1), finished(table));
    QCOMPARE(fileBytes(table), plainLines(1, 200));
}

void KTLCypherTest::stopWhenIdle()
{
    KTLCypher cypher;
    cypher.stopProcess();
    const QString path = m_dir->filePath(QStringLiteral("idle.csv"));
    QVERIFY(cypher.dencryptByteArray(encryptedLines(1, 3), path));
    QCOMPARE(fileBytes(path), plainLines(1, 3));
}

// A second start while the first job runs is refused and changes nothing of that job.
void KTLCypherTest::startWhileRunning()
{
    KTLCypher cypher;
    CypherRecorder recorder(cypher);
    QList<bool> secondStarts;
    connect(&cypher, &KTLCypher::initProgressBar, [&] {
        cypher.stopProcess();
        secondStarts << cypher.startDecryption(m_dir->filePath(QStringLiteral("other.enc")), QString(), true, false,
                                               false, true);
    });
    QTest::ignoreMessage(QtInfoMsg, "Stop GoBD Decryption");
    QTest::ignoreMessage(QtDebugMsg, "GoBD Decryption already running!");
    exportWith(cypher, writeSource(), m_dir->filePath(QStringLiteral("out")), Gdpdu);
    QCOMPARE(secondStarts, QList<bool>{false});
    QCOMPARE(recorder.lines, QStringList({Init, AbortPair}));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--limited-writes") == 0)
        return exportWithLimitedWrites(QString::fromLocal8Bit(argv[2]));
    KTLCypherTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ktlcypher.moc"
