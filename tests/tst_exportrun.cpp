#include "ktlcyphertest.h"

#include <fiscora/helperclass.h>
#include <fiscora/indexfileanalyser.h>

#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using fiscora::HelperClass;
using fiscora::IndexFileAnalyser;
using fiscora::KTLCypher;

namespace {

enum Option { Raw = 1, Gdpdu = 2, Info = 4, Skip = 8 };

enum class Failure { SourceMissing, TargetEmpty, FolderBlocked, SourceIsFolder, TargetMissing, TableIsFolder,
                     TableUnplaceable, DescriptionBlocked };

const QString SourceName = QStringLiteral("Backup_CR#12345678_202003.enc");
const QString GdpduFolder = QStringLiteral("%D/out/CR#12345678/202003/");
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

class ExportRunTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void runs_data();
    void runs();
    void exportFolders_data();
    void exportFolders();
    void exportReplacesFiles();
    void failures_data();
    void failures();
    void writesAreChecked_data();
    void writesAreChecked();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void ExportRunTest::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

void ExportRunTest::runs_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QByteArray>("tableBytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("indexSource");
    const QByteArray body = encryptedLines(1, 3);
    const QString gobd = GdpduFolder + QStringLiteral("gobd.csv");
    const QString plain = QStringLiteral("%D/out/Backup_CR#12345678_202003.csv");
    const QString init = QStringLiteral("initProgressBar(0, 100)");
    const QString finish = QStringLiteral("finishSuccessful(%1)");
    const QString invalid = QStringLiteral("Hash value: INVALID<br>The data could be corrupted!");
    const QString calculated = QStringLiteral("Calculated hash value: ");
    const QByteArray oddLines = "\x01\x02 Kasse\n" + QByteArray("I;7;Kasse 1;;;;;;;;;;;;;x\r\n");
    const QByteArray oddRecords = fiscora::sample::encryptRecord("\x01\x02 Kasse\n")
            + fiscora::sample::encryptRecord("I;7;Kasse 1;;;;;;;;;;;;;x\r\n");
    const QString sd = QStringLiteral("SOURCE_SD");
    const QString unknown = QStringLiteral("SOURCE_UNKNOWN");

    QTest::newRow("GDPdU with INDEX_INFO, hash OK")
            << backup(body) << (Gdpdu | Info) << gobd << infoLine(md5(body)) + plainLines(1, 3)
            << QStringList{init, finish.arg(gobd)} + descriptionSaved() + goodReport() << sd;
    QTest::newRow("index error: hash OK without assurance")
            << backup(body, QByteArray::fromHex("0102")) << 0 << plain << plainLines(1, 3)
            << QStringList{init, finish.arg(plain), goodReport().at(0), goodReport().at(1),
                           messageLine(QStringLiteral("INDEX ERROR: The file for the date 01/2016 is missing."), true, 3),
                           messageLine(QStringLiteral("Hash value: OK<br>"), false, 4)} << sd;
    QTest::newRow("digest differs") << backup(body, QByteArray::fromHex("0c01"), md5("other")) << int(Info) << plain
                                    << infoLine(md5("other")) + plainLines(1, 3)
                                    << QStringList{init, finish.arg(plain)} + goodReport(invalid) << sd;
    QTest::newRow("raw data ignores the other options")
            << body << (Raw | Gdpdu | Info) << plain << plainLines(1, 3)
            << QStringList{init, finish.arg(plain), messageLine(calculated + hex(md5(body)), false, 1)} << unknown;
    QTest::newRow("raw data without line check")
            << oddRecords << (Raw | Skip) << plain << oddLines
            << QStringList{init, finish.arg(plain), messageLine(calculated + hex(md5(oddRecords)), false, 1)} << unknown;
    QTest::newRow("empty source file") << QByteArray() << int(Raw) << plain << QByteArray()
                                       << QStringList{init, finish.arg(plain), messageLine(calculated + hex(md5("")), false, 1)}
                                       << unknown;
    QTest::newRow("empty record stream") << backup(QByteArray()) << (Gdpdu | Info) << gobd << infoLine(md5(""))
                                         << QStringList{init, finish.arg(gobd)} + descriptionSaved() + goodReport()
                                         << sd;
    QTest::newRow("no readable header: all records, against zeros")
            << body << int(Info) << plain
            << "INDEX_INFO;SOURCE_UNKNOWN;2;;;" + hex(QByteArray(16, '\0')).toLatin1() + "\r\n" + plainLines(1, 3)
            << QStringList{init, finish.arg(plain),
                           messageLine(QStringLiteral("Source of the data couldn´t determine."), true, 1),
                           messageLine(invalid, true, 2)} << unknown;
}

void ExportRunTest::runs()
{
    QFETCH(QByteArray, source);
    QFETCH(int, options);
    QFETCH(QString, table);
    QFETCH(QByteArray, tableBytes);
    QFETCH(QStringList, lines);
    QFETCH(QString, indexSource);
    const QString dir = m_dir->path();
    QVERIFY(writeFile(dir + QLatin1Char('/') + SourceName, source));
    QVERIFY(QDir(dir).mkdir(QStringLiteral("out")));
    KTLCypher cypher;
    CypherRecorder recorder(cypher);

    exportWith(cypher, dir + QLatin1Char('/') + SourceName, dir + QStringLiteral("/out"), options);
    QCOMPARE(recorder.lines, resolved(lines, dir));
    table.replace(QStringLiteral("%D"), dir);
    QCOMPARE(fileBytes(table), tableBytes);
    QVERIFY(!QFile::exists(table + QStringLiteral(".~tmp")));
    QCOMPARE(recorder.analysers.value(0).getCurrenIndexSourceAsString(), indexSource);
}

void ExportRunTest::exportFolders_data()
{
    QTest::addColumn<QString>("sourceName");
    QTest::addColumn<QString>("folder");
    QTest::newRow("two-month label") << "Backup_CR#12345678_202001_202012.enc" << "CR#12345678/202001_202012/";
    QTest::newRow("one-month label") << "Backup_CR#12345678_202003.enc" << "CR#12345678/202003/";
    QTest::newRow("two parts") << "Backup_CR#12345678.enc" << "CR#12345678//";
    QTest::newRow("one part") << "journal.enc" << "journal/";
    QTest::newRow("further parts and suffixes ignored") << "Backup_CR#1_202001_202002_x.old.enc" << "CR#1/202001_202002/";
}

void ExportRunTest::exportFolders()
{
    QFETCH(QString, sourceName);
    QFETCH(QString, folder);
    const QString dir = m_dir->path();
    QVERIFY(writeFile(dir + QLatin1Char('/') + sourceName, backup(encryptedLines(1, 2))));
    KTLCypher cypher;
    CypherRecorder recorder(cypher);

    exportWith(cypher, dir + QLatin1Char('/') + sourceName, dir + QStringLiteral("/new/out"), Gdpdu);
    const QString exportFolder = dir + QStringLiteral("/new/out/") + folder;
    QCOMPARE(recorder.lines.mid(1, 3), QStringList(QStringLiteral("finishSuccessful(%1gobd.csv)").arg(exportFolder))
                                               + descriptionSaved(exportFolder));
    QCOMPARE(fileBytes(exportFolder + QStringLiteral("gobd.csv")), plainLines(1, 2));
}

// A second export into the same folder: every file is replaced, and the description files are
// the library's own, byte for byte.
void ExportRunTest::exportReplacesFiles()
{
    const QString dir = m_dir->path();
    const QString folder = QString(GdpduFolder).replace(QStringLiteral("%D"), dir);
    QVERIFY(QDir().mkpath(folder));
    for (const char *name : {"gobd.csv", "gdpdu-01-09-2004.dtd", "index.xml"})
        QVERIFY(writeFile(folder + QLatin1String(name), QByteArray(20000, 'o')));
    QVERIFY(writeFile(dir + QLatin1Char('/') + SourceName, backup(encryptedLines(1, 2))));
    KTLCypher cypher;
    CypherRecorder recorder(cypher);

    exportWith(cypher, dir + QLatin1Char('/') + SourceName, dir + QStringLiteral("/out"), Gdpdu);
    QCOMPARE(recorder.lines.mid(2, 2), resolved(descriptionSaved(), dir));
    QCOMPARE(fileBytes(folder + QStringLiteral("gobd.csv")), plainLines(1, 2));
    const QByteArray dtd = fileBytes(folder + QStringLiteral("gdpdu-01-09-2004.dtd"));
    const QByteArray xml = fileBytes(folder + QStringLiteral("index.xml"));
    QCOMPARE(dtd.size(), 8868);
    QCOMPARE(xml.size(), 3554);
    QCOMPARE(dtd, fileBytes(QStringLiteral(FISCORA_GDPDU_DTD)));
    QCOMPARE(xml, fileBytes(QStringLiteral(FISCORA_INDEX_XML)));
}

void ExportRunTest::failures_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<bool>("temporaryStays");
    const QString init = QStringLiteral("initProgressBar(0, 100)");
    const QString table = GdpduFolder + QStringLiteral("gobd.csv");
    const QString permissions = QStringLiteral("Check if the file is open or if you have write permissions.");
    const QString noValues = QStringLiteral("No decrypted values for saving.");
    const QString source = QStringLiteral("%D/folder.enc");
    const QString blocked = QStringLiteral("%D/out/CR#12345678/202003/");
    const QString write = QStringLiteral("Check your write permission for the saving location.");

    QTest::newRow("source missing, before the empty target") << Failure::SourceMissing
            << QStringList{QStringLiteral("error(Encrypted source file don´t exist | Check your source file selection!)")}
            << QStringList{QStringLiteral("Encrypted source file don´t exist")} << false;
    QTest::newRow("target empty") << Failure::TargetEmpty
            << QStringList{QStringLiteral("error(The target folder is not valid | Check the saving location for the decryption folder.)")}
            << QStringList{QStringLiteral("The target folder is not valid")} << false;
    QTest::newRow("export folder cannot be created") << Failure::FolderBlocked
            << QStringList{QStringLiteral("error(Folder %1 for saving decrypted files couldn't create. | Check your create permision for the saving location.)").arg(blocked)}
            << QStringList{QStringLiteral("Folder for saving decrypted Files couldn't create: ") + blocked} << false;
    QTest::newRow("source cannot be opened") << Failure::SourceIsFolder
            << QStringList{QStringLiteral("error(Encrypted source file %1 couldn´t open for decryption. | Check your source file selection and be sure you have read permissions.)").arg(source)}
            << QStringList{QStringLiteral("Encrypted source file %1 couldn´t open for decryption. (file to open is a directory)").arg(source)}
            << false;
    QTest::newRow("target folder missing without GDPdU") << Failure::TargetMissing
            << QStringList{init, QStringLiteral("error(Couldn't init temporary space for the data. | %1)").arg(permissions),
                           QStringLiteral("error(%1 | Check your source file for having valid data.)").arg(noValues)}
            << QStringList{QStringLiteral("Couldn't open %D/nowhere/Backup_CR#12345678_202003.csv.~tmp: No such file or directory"), noValues}
            << false;
    QTest::newRow("table file cannot be deleted") << Failure::TableIsFolder
            << QStringList{init, QStringLiteral("error(A file with the name %1 already exist and can't overwritten. | %2)").arg(table, permissions)}
            << QStringList{QStringLiteral("A file with the name %1 already exist and can't overwritten.").arg(table)} << true;
    QTest::newRow("table file cannot be placed") << Failure::TableUnplaceable
            << QStringList{init, QStringLiteral("error(File %1 couldn´t create for saving data. | %2)").arg(table, permissions)}
            << QStringList{QStringLiteral("File %1 couldn´t create for saving data.").arg(table)} << true;
    QTest::newRow("description files cannot be written: the run goes on") << Failure::DescriptionBlocked
            << QStringList{init, QStringLiteral("finishSuccessful(%1)").arg(table),
                           QStringLiteral("error(DTD file couldn´t create successful! | %1)").arg(write),
                           QStringLiteral("error(XML file couldn´t create successful! | %1)").arg(write)} + goodReport()
            << QStringList{QStringLiteral("Resscource file %1gdpdu-01-09-2004.dtd couldn´t create for saving").arg(blocked),
                           QStringLiteral("Resscource file %1index.xml couldn´t create for saving").arg(blocked)}
            << false;
}

void ExportRunTest::failures()
{
    QFETCH(Failure, failure);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, warnings);
    QFETCH(bool, temporaryStays);
    const QString dir = m_dir->path();
    QString source = dir + QLatin1Char('/') + SourceName;
    QString target = dir + QStringLiteral("/out");
    const QString folder = QString(GdpduFolder).replace(QStringLiteral("%D"), dir);
    int options = Gdpdu;
    QVERIFY(writeFile(source, backup(encryptedLines(1, 2))));
    QVERIFY(QDir().mkpath(target));
    switch (failure) {
    case Failure::SourceMissing: source = dir + QStringLiteral("/missing.enc"); target.clear(); break;
    case Failure::TargetEmpty: target.clear(); break;
    case Failure::FolderBlocked: QVERIFY(writeFile(target + QStringLiteral("/CR#12345678"), "file")); break;
    case Failure::SourceIsFolder: source = dir + QStringLiteral("/folder.enc"); QVERIFY(QDir().mkpath(source)); break;
    case Failure::TargetMissing: target = dir + QStringLiteral("/nowhere"); options = 0; break;
    case Failure::TableIsFolder: QVERIFY(QDir().mkpath(folder + QStringLiteral("gobd.csv"))); break;
    case Failure::TableUnplaceable:
        // A dangling link is no file to delete, yet nothing can be put in its place.
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(dir + QStringLiteral("/missing/gobd.csv"), folder + QStringLiteral("gobd.csv")));
        break;
    case Failure::DescriptionBlocked:
        QVERIFY(QDir().mkpath(folder + QStringLiteral("gdpdu-01-09-2004.dtd")));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("index.xml")));
        break;
    }
    for (const QString &warning : resolved(warnings, dir))
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    KTLCypher cypher;
    CypherRecorder recorder(cypher);

    exportWith(cypher, source, target, options);
    QCOMPARE(recorder.lines, resolved(lines, dir));
    QCOMPARE(fileBytes(folder + QStringLiteral("gobd.csv.~tmp")),
             temporaryStays ? plainLines(1, 2) : QByteArray("<missing>"));
}

void ExportRunTest::writesAreChecked_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QStringList>("lines");
    const QString table = GdpduFolder + QStringLiteral("gobd.csv");
    QTest::newRow("table data") << 100
            << QStringList{QStringLiteral("initProgressBar(0, 100)"),
                           QStringLiteral("error(Couldn't write the decrypted data to %1.~tmp. The error from the system is: File too large | Check if there is enough free space and if you have write permissions.)").arg(table),
                           QStringLiteral("error(No decrypted values for saving. | Check your source file for having valid data.)")};
    QTest::newRow("description file") << 1
            << QStringList{QStringLiteral("initProgressBar(0, 100)"), QStringLiteral("finishSuccessful(%1)").arg(table),
                           QStringLiteral("error(DTD file couldn´t create successful! | Check your write permission for the saving location.)"),
                           descriptionSaved().at(1)} + goodReport();
}

// Runs in a child process whose files may not grow beyond FileSizeLimit bytes.
void ExportRunTest::writesAreChecked()
{
    QFETCH(int, lineCount);
    QFETCH(QStringList, lines);
    const QString dir = m_dir->path();
    QVERIFY(writeFile(dir + QLatin1Char('/') + SourceName, backup(encryptedLines(1, lineCount))));
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--limited-writes"), dir});
    QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n')), resolved(lines, dir));
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--limited-writes") == 0) {
        QCoreApplication app(argc, argv);
        return exportWithLimitedWrites(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    ExportRunTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_exportrun.moc"
