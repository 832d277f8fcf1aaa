// The hand-over archive as another program unpacks it, its manifest against sha256sum, and the
// failures that must leave no archive behind and an earlier one as it was.

#include "faultinjection.h"
#include "fixtures.h"
#include "handoverarchive.h"
#include "unpackedarchive.h"

#include <KZip>

#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using fiscora::app::HandoverArchive;
using fiscora::app::UnpackedArchive;

namespace {

using Files = QMap<QString, QByteArray>;

const QString ExportName = QStringLiteral("CR#12345678/201901_201903");
const QString ZipName = QStringLiteral("CR#12345678_201901_201903.zip");
const QDateTime Created(QDate(2026, 12, 6), QTime(22, 0, 57), Qt::UTC);
const QByteArray Earlier = QByteArrayLiteral("an earlier archive");

// What keeps an archive from being written.
enum class Obstacle { FolderIsFile, ExportMissing, DiskFull, DiskFullWithinFile, SyncFails, CloseFails, RenameFails };

// Bytes that deflate cannot shrink, more of them than one piece of reading and hashing.
QByteArray noise(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(size);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// The files below path, for proving that a failure left nothing there.
QStringList filesBelow(const QString &path)
{
    QStringList files;
    QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(path).relativeFilePath(it.next()));
    files.sort();
    return files;
}

// What program printed, or why it printed nothing.
QByteArray run(const QString &program, const QStringList &arguments, const QString &folder = QString())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program.toUtf8() + " failed: " + process.readAllStandardError();
    return process.readAllStandardOutput();
}

} // namespace

Q_DECLARE_METATYPE(Obstacle)
Q_DECLARE_METATYPE(HandoverArchive::Existing)

class HandoverArchiveTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void holdsFilesAndManifest_data();
    void holdsFilesAndManifest();
    void existingArchive_data();
    void existingArchive();
    void failureLeavesNothing_data();
    void failureLeavesNothing();
    void refusesFileOver4GiB();
    void unpackRefuses_data();
    void unpackRefuses();

private:
    QString writeExport(const Files &files);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_exportPath;
    QString m_target;
    QString m_zipPath;
};

void HandoverArchiveTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY2(m_dir->isValid(), qPrintable(m_dir->errorString()));
    m_exportPath = m_dir->filePath(QStringLiteral("export/") + ExportName);
    m_target = m_dir->filePath(QStringLiteral("target"));
    m_zipPath = m_target + QLatin1Char('/') + ZipName;
    QVERIFY_DONE(makeFolder(m_target));
}

void HandoverArchiveTest::cleanup()
{
    faultinjection::reset();
}

void HandoverArchiveTest::holdsFilesAndManifest_data()
{
    QTest::addColumn<Files>("exported");
    const Files gdpdu = {{QStringLiteral("gobd.csv"), "1;Kasse;12,50\r\n"},
                         {QStringLiteral("index.xml"), "<DataSet/>\n"},
                         {QStringLiteral("gdpdu-01-09-2004.dtd"), "<!ELEMENT DataSet (Version)>\n"}};
    QTest::newRow("export") << gdpdu;
    QTest::newRow("table of several pieces") << Files{{QStringLiteral("gobd.csv"), noise(3 * 64 * 1024 + 17)}};
    QTest::newRow("empty table") << Files{{QStringLiteral("gobd.csv"), QByteArray()}};
    QTest::newRow("subfolders") << Files{{QStringLiteral("a/b/deep.txt"), "deep"}, {QStringLiteral("top.txt"), "top"}};
}

// Unpacked by unzip, every file has its bytes and its own modification time, and the manifest
// is what sha256sum says of them, in the archive's order: the export's files by path, then
// those from memory.
void HandoverArchiveTest::holdsFilesAndManifest()
{
    QFETCH(Files, exported);
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("sha256sum")).isEmpty())
        QSKIP("unzip or sha256sum is not installed");
    QVERIFY_DONE(writeExport(exported));
    HandoverArchive archive(m_zipPath);
    archive.addFolder(m_exportPath, ExportName);
    archive.addFile(QStringLiteral("protokoll.pdf"), "%PDF-1.4\n", Created);
    QVERIFY2(archive.write(HandoverArchive::Existing::Keep), qPrintable(archive.errorString()));
    QCOMPARE(filesBelow(m_target), QStringList{ZipName});

    const QString unpacked = m_dir->filePath(QStringLiteral("unpacked"));
    QCOMPARE(run(QStringLiteral("unzip"), {QStringLiteral("-q"), m_zipPath, QStringLiteral("-d"), unpacked}), QByteArray());
    QStringList names;
    for (auto file = exported.cbegin(); file != exported.cend(); ++file) {
        const QString name = ExportName + QLatin1Char('/') + file.key();
        names.append(name);
        QCOMPARE(fileBytes(unpacked + QLatin1Char('/') + name), file.value());
        QCOMPARE(QFileInfo(unpacked + QLatin1Char('/') + name).lastModified(),
                 QFileInfo(m_exportPath + QLatin1Char('/') + file.key()).lastModified());
    }
    names.append(QStringLiteral("protokoll.pdf"));
    QCOMPARE(QFileInfo(unpacked + QStringLiteral("/protokoll.pdf")).lastModified(), Created);
    QStringList all = names;
    all << HandoverArchive::manifestName();
    all.sort();
    QCOMPARE(filesBelow(unpacked), all);
    QCOMPARE(fileBytes(unpacked + QLatin1Char('/') + HandoverArchive::manifestName()),
             run(QStringLiteral("sha256sum"), names, unpacked));

    // Unpacked for checking, the archive gives the same files, each matching its manifest line.
    const QString checked = m_dir->filePath(QStringLiteral("checked"));
    UnpackedArchive check(m_zipPath);
    QVERIFY2(check.unpack(checked), qPrintable(check.errorString()));
    QCOMPARE(check.manifestFindings(), QStringList());
    QCOMPARE(check.sha256().keys(), all);
    for (const QString &name : qAsConst(all))
        QCOMPARE(fileBytes(checked + QLatin1Char('/') + name), fileBytes(unpacked + QLatin1Char('/') + name));
}

void HandoverArchiveTest::existingArchive_data()
{
    QTest::addColumn<HandoverArchive::Existing>("existing");
    QTest::newRow("kept") << HandoverArchive::Existing::Keep;
    QTest::newRow("replaced") << HandoverArchive::Existing::Replace;
}

void HandoverArchiveTest::existingArchive()
{
    QFETCH(HandoverArchive::Existing, existing);
    QVERIFY_DONE(writeFile(m_zipPath, Earlier));
    HandoverArchive archive(m_zipPath);
    archive.addFile(QStringLiteral("protokoll.pdf"), "%PDF", Created);
    const bool replaced = existing == HandoverArchive::Existing::Replace;
    QCOMPARE(archive.write(existing), replaced);
    if (replaced)
        QVERIFY(fileBytes(m_zipPath).startsWith("PK\x03\x04"));
    else
        QCOMPARE(archive.errorString(), QStringLiteral("The archive %1 already exists.").arg(m_zipPath));
    QCOMPARE(fileBytes(m_zipPath) == Earlier, !replaced);
    QCOMPARE(filesBelow(m_target), QStringList{ZipName});
}

void HandoverArchiveTest::failureLeavesNothing_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<QString>("reason"); // a pattern
    QTest::newRow("target folder is a file") << Obstacle::FolderIsFile << "Not a directory";
    QTest::newRow("export folder missing") << Obstacle::ExportMissing << QString();
    QTest::newRow("disk full") << Obstacle::DiskFull << "No space left on device";
    // The system takes part of a piece and says no more; KZip has its own words for that.
    QTest::newRow("disk full within a file") << Obstacle::DiskFullWithinFile << ".+";
    QTest::newRow("sync fails") << Obstacle::SyncFails << "Input/output error";
    QTest::newRow("close fails") << Obstacle::CloseFails << "Input/output error";
    QTest::newRow("rename fails") << Obstacle::RenameFails << "Input/output error";
}

// An earlier archive of the name, which the caller allowed to be replaced, stays as it was.
void HandoverArchiveTest::failureLeavesNothing()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(QString, reason);
    QVERIFY_DONE(writeExport({{QStringLiteral("gobd.csv"), noise(100000)}}));
    QString zipPath = m_zipPath;
    if (obstacle == Obstacle::FolderIsFile) {
        QVERIFY_DONE(writeFile(m_target + QStringLiteral("/file"), "a file"));
        zipPath = m_target + QStringLiteral("/file/") + ZipName;
    } else {
        QVERIFY_DONE(writeFile(m_zipPath, Earlier));
    }
    const QStringList before = filesBelow(m_target);
    const QByteArray temporary = '/' + ZipName.toUtf8() + ".*.~tmp";
    switch (obstacle) {
    case Obstacle::DiskFull: faultinjection::fillDiskAfter(0, temporary); break;
    case Obstacle::DiskFullWithinFile: faultinjection::fillDiskAfter(4096, temporary); break;
    case Obstacle::SyncFails: faultinjection::failOn(faultinjection::Sync, temporary); break;
    case Obstacle::CloseFails: faultinjection::failOn(faultinjection::Close, temporary); break;
    case Obstacle::RenameFails: faultinjection::failOn(faultinjection::Rename, '/' + ZipName.toUtf8()); break;
    default: break;
    }

    HandoverArchive archive(zipPath);
    const QString exportPath = m_exportPath + (obstacle == Obstacle::ExportMissing ? "-missing" : "");
    archive.addFolder(exportPath, ExportName);
    archive.addFile(QStringLiteral("protokoll.pdf"), "%PDF", Created);
    QVERIFY(!archive.write(HandoverArchive::Existing::Replace));
    faultinjection::reset();

    const QString error = reason.isEmpty()
            ? QRegularExpression::escape(QStringLiteral("The folder %1 does not exist.").arg(exportPath))
            : QRegularExpression::escape(QStringLiteral("Cannot write the archive %1: ").arg(zipPath)) + reason;
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(error)).match(archive.errorString()).hasMatch(),
             qPrintable(archive.errorString()));
    QCOMPARE(filesBelow(m_target), before);
    if (obstacle != Obstacle::FolderIsFile)
        QCOMPARE(fileBytes(m_zipPath), Earlier);
}

// A ZIP archive without its ZIP64 extensions cannot state a size of 4 GiB. The file is sparse,
// so it costs no disk space, and it is refused before a byte of it is read.
void HandoverArchiveTest::refusesFileOver4GiB()
{
    QVERIFY_DONE(writeExport({{QStringLiteral("index.xml"), "<x/>"}}));
    QFile large(m_exportPath + QStringLiteral("/gobd.csv"));
    if (!large.open(QIODevice::WriteOnly) || !large.resize(Q_INT64_C(0x100000000)))
        QSKIP("the file system has no room for a sparse file of 4 GiB");
    large.close();
    HandoverArchive archive(m_zipPath);
    archive.addFolder(m_exportPath, ExportName);
    QVERIFY(!archive.write(HandoverArchive::Existing::Keep));
    QCOMPARE(archive.errorString(),
             QStringLiteral("%1 is larger than 4 GiB, more than a file in the archive can hold.").arg(large.fileName()));
    QCOMPARE(filesBelow(m_target), QStringList());
}

void HandoverArchiveTest::unpackRefuses_data()
{
    QTest::addColumn<bool>("symbolicLink");
    QTest::addColumn<QString>("error");
    QTest::newRow("symbolic link") << true << "The archive %1 holds the symbolic link CR#12345678/gobd.csv, which no "
                                              "hand-over archive holds.";
    QTest::newRow("not a ZIP archive") << false << "Cannot read the archive %1: Invalid ZIP file. Unexpected end of file.";
}

// Nothing of such an archive is written outside the folder it is unpacked into, and the folder
// holds nothing that leads outside.
void HandoverArchiveTest::unpackRefuses()
{
    QFETCH(bool, symbolicLink);
    QFETCH(QString, error);
    if (symbolicLink) {
        KZip zip(m_zipPath);
        QVERIFY(zip.open(QIODevice::WriteOnly));
        QVERIFY(zip.writeSymLink(QStringLiteral("CR#12345678/gobd.csv"), QStringLiteral("/etc/passwd")));
        QVERIFY(zip.close());
    } else {
        QVERIFY_DONE(writeFile(m_zipPath, Earlier));
    }
    const QString folder = m_dir->filePath(QStringLiteral("checked"));
    QVERIFY(QDir().mkpath(folder));
    UnpackedArchive archive(m_zipPath);
    QVERIFY(!archive.unpack(folder));
    QCOMPARE(archive.errorString(), error.arg(m_zipPath));
    QCOMPARE(filesBelow(folder), QStringList());
}

// Writes files, by their paths in the export folder, modified a minute apart; why it could
// not, or nothing.
QString HandoverArchiveTest::writeExport(const Files &files)
{
    QDateTime modified(QDate(2019, 4, 1), QTime(12, 0), Qt::UTC);
    for (auto file = files.cbegin(); file != files.cend(); ++file, modified = modified.addSecs(60)) {
        const QString path = m_exportPath + QLatin1Char('/') + file.key();
        const QString reason = writeFile(path, file.value());
        if (!reason.isEmpty())
            return reason;
        QFile written(path);
        if (!written.open(QIODevice::ReadWrite) || !written.setFileTime(modified, QFileDevice::FileModificationTime))
            return QStringLiteral("cannot set the time of %1: %2").arg(path, written.errorString());
    }
    return QString();
}

QTEST_GUILESS_MAIN(HandoverArchiveTest)
#include "tst_handoverarchive.moc"
