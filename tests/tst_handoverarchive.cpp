// The hand-over archive read back with KZip and checked with unzip and sha256sum, and the
// failures that must leave no archive behind, an earlier one as it was.

#include "faultinjection.h"
#include "fixtures.h"
#include "handoverarchive.h"

#include <KZip>

#include <QCryptographicHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using fiscora::app::HandoverArchive;

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

QByteArray manifestLine(const QString &name, const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "  " + name.toUtf8() + '\n';
}

void collect(const KArchiveDirectory *directory, const QString &prefix, QMap<QString, const KArchiveFile *> *files)
{
    for (const QString &name : directory->entries()) {
        const KArchiveEntry *entry = directory->entry(name);
        if (entry->isDirectory())
            collect(static_cast<const KArchiveDirectory *>(entry), prefix + name + QLatin1Char('/'), files);
        else
            files->insert(prefix + name, static_cast<const KArchiveFile *>(entry));
    }
}

// The files in the folder below path, for proving that a failure left nothing there.
QStringList filesBelow(const QString &path)
{
    QStringList files;
    QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(path).relativeFilePath(it.next()));
    files.sort();
    return files;
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
    void sha256sumChecksTheUnpackedArchive();
    void existingArchive_data();
    void existingArchive();
    void failureLeavesNothing_data();
    void failureLeavesNothing();
    void refusesFileOver4GiB();

private:
    QString writeExport(const Files &files);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_exportPath;
    QString m_zipPath;
};

void HandoverArchiveTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY2(m_dir->isValid(), qPrintable(m_dir->errorString()));
    m_exportPath = m_dir->filePath(QStringLiteral("export/") + ExportName);
    m_zipPath = m_dir->filePath(QStringLiteral("target/") + ZipName);
    QVERIFY_DONE(makeFolder(m_dir->filePath(QStringLiteral("target"))));
}

void HandoverArchiveTest::cleanup()
{
    faultinjection::reset();
}

void HandoverArchiveTest::holdsFilesAndManifest_data()
{
    QTest::addColumn<Files>("exported");
    QTest::addColumn<Files>("inMemory");
    const Files gdpdu = {{QStringLiteral("gobd.csv"), "1;Kasse;12,50\r\n"},
                         {QStringLiteral("index.xml"), "<DataSet/>\n"},
                         {QStringLiteral("gdpdu-01-09-2004.dtd"), "<!ELEMENT DataSet (Version)>\n"}};
    const Files protocol = {{QStringLiteral("protokoll.pdf"), "%PDF-1.4\n%%EOF\n"}};
    QTest::newRow("export and protocol") << gdpdu << protocol;
    QTest::newRow("table of several pieces")
            << Files{{QStringLiteral("gobd.csv"), noise(3 * 64 * 1024 + 17)}} << protocol;
    QTest::newRow("empty table") << Files{{QStringLiteral("gobd.csv"), QByteArray()}} << Files();
    QTest::newRow("subfolders") << Files{{QStringLiteral("a/b/deep.txt"), "deep"}, {QStringLiteral("top.txt"), "top"}}
                                << Files();
    QTest::newRow("two files in memory") << gdpdu
                                         << Files{{QStringLiteral("a.txt"), "a"}, {QStringLiteral("b.txt"), "b"}};
}

// Every file with its bytes and its own modification time, and the manifest line by line in the
// archive's order: the export's files by path, then those from memory.
void HandoverArchiveTest::holdsFilesAndManifest()
{
    QFETCH(Files, exported);
    QFETCH(Files, inMemory);
    QVERIFY_DONE(writeExport(exported));
    HandoverArchive archive(m_zipPath);
    archive.addFolder(m_exportPath, ExportName);
    for (auto file = inMemory.cbegin(); file != inMemory.cend(); ++file)
        archive.addFile(file.key(), file.value(), Created);
    QVERIFY2(archive.write(HandoverArchive::Existing::Keep), qPrintable(archive.errorString()));

    Files expected;
    QMap<QString, QDateTime> times;
    QByteArray manifest;
    for (auto file = exported.cbegin(); file != exported.cend(); ++file) {
        const QString name = ExportName + QLatin1Char('/') + file.key();
        expected.insert(name, file.value());
        times.insert(name, QFileInfo(m_exportPath + QLatin1Char('/') + file.key()).lastModified());
        manifest += manifestLine(name, file.value());
    }
    for (auto file = inMemory.cbegin(); file != inMemory.cend(); ++file) {
        expected.insert(file.key(), file.value());
        times.insert(file.key(), Created);
        manifest += manifestLine(file.key(), file.value());
    }
    expected.insert(HandoverArchive::manifestName(), manifest);

    KZip zip(m_zipPath);
    QVERIFY2(zip.open(QIODevice::ReadOnly), qPrintable(zip.errorString()));
    QMap<QString, const KArchiveFile *> files;
    collect(zip.directory(), QString(), &files);
    Files read;
    for (auto file = files.cbegin(); file != files.cend(); ++file) {
        read.insert(file.key(), file.value()->data());
        if (times.contains(file.key()))
            QCOMPARE(file.value()->date().toSecsSinceEpoch(), times.value(file.key()).toSecsSinceEpoch());
    }
    QCOMPARE(read, expected);
    QCOMPARE(filesBelow(m_dir->filePath(QStringLiteral("target"))), QStringList{ZipName});
}

// What an auditor does with the archive: unpack it with another program and check the manifest.
void HandoverArchiveTest::sha256sumChecksTheUnpackedArchive()
{
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("sha256sum")).isEmpty())
        QSKIP("unzip or sha256sum is not installed");
    QVERIFY_DONE(writeExport({{QStringLiteral("gobd.csv"), noise(200000)}, {QStringLiteral("index.xml"), "<x/>"}}));
    HandoverArchive archive(m_zipPath);
    archive.addFolder(m_exportPath, ExportName);
    archive.addFile(QStringLiteral("protokoll.pdf"), "%PDF", Created);
    QVERIFY2(archive.write(HandoverArchive::Existing::Keep), qPrintable(archive.errorString()));

    const QString unpacked = m_dir->filePath(QStringLiteral("unpacked"));
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-q"), m_zipPath, QStringLiteral("-d"), unpacked});
    QVERIFY(unzip.waitForFinished());
    QVERIFY2(unzip.exitCode() == 0, unzip.readAllStandardError().constData());
    QProcess check;
    check.setWorkingDirectory(unpacked);
    check.start(QStringLiteral("sha256sum"), {QStringLiteral("-c"), HandoverArchive::manifestName()});
    QVERIFY(check.waitForFinished());
    QVERIFY2(check.exitCode() == 0, check.readAllStandardError().constData());
    QCOMPARE(check.readAllStandardOutput(), QByteArray("CR#12345678/201901_201903/gobd.csv: OK\n"
                                                       "CR#12345678/201901_201903/index.xml: OK\n"
                                                       "protokoll.pdf: OK\n"));
}

void HandoverArchiveTest::existingArchive_data()
{
    QTest::addColumn<HandoverArchive::Existing>("existing");
    QTest::addColumn<bool>("written");
    QTest::newRow("kept") << HandoverArchive::Existing::Keep << false;
    QTest::newRow("replaced") << HandoverArchive::Existing::Replace << true;
}

void HandoverArchiveTest::existingArchive()
{
    QFETCH(HandoverArchive::Existing, existing);
    QFETCH(bool, written);
    QVERIFY_DONE(writeFile(m_zipPath, Earlier));
    HandoverArchive archive(m_zipPath);
    archive.addFile(QStringLiteral("protokoll.pdf"), "%PDF", Created);
    QCOMPARE(archive.write(existing), written);
    if (written) {
        KZip zip(m_zipPath);
        QVERIFY2(zip.open(QIODevice::ReadOnly), qPrintable(zip.errorString()));
        QCOMPARE(zip.directory()->entries().size(), 2);
    } else {
        QCOMPARE(archive.errorString(), QStringLiteral("The archive %1 already exists.").arg(m_zipPath));
        QCOMPARE(fileBytes(m_zipPath), Earlier);
    }
    QCOMPARE(filesBelow(m_dir->filePath(QStringLiteral("target"))), QStringList{ZipName});
}

void HandoverArchiveTest::failureLeavesNothing_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<QString>("reason"); // a pattern
    QTest::newRow("target folder is a file") << Obstacle::FolderIsFile << "Not a directory";
    QTest::newRow("export folder missing") << Obstacle::ExportMissing << QString();
    QTest::newRow("disk full") << Obstacle::DiskFull << "No space left on device";
    // The system accepts part of a piece and says no more; KZip has its own words for that.
    QTest::newRow("disk full within a file") << Obstacle::DiskFullWithinFile << ".+";
    QTest::newRow("sync fails") << Obstacle::SyncFails << "Input/output error";
    QTest::newRow("close fails") << Obstacle::CloseFails << "Input/output error";
    QTest::newRow("rename fails") << Obstacle::RenameFails << "Input/output error";
}

// An earlier archive of the name, which the caller allowed to replace, stays as it was.
void HandoverArchiveTest::failureLeavesNothing()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(QString, reason);
    QVERIFY_DONE(writeExport({{QStringLiteral("gobd.csv"), noise(100000)}}));
    const QString target = m_dir->filePath(QStringLiteral("target"));
    QString zipPath = m_zipPath;
    if (obstacle == Obstacle::FolderIsFile) {
        QVERIFY_DONE(writeFile(target + QStringLiteral("/file"), "a file"));
        zipPath = target + QStringLiteral("/file/") + ZipName;
    } else {
        QVERIFY_DONE(writeFile(m_zipPath, Earlier));
    }
    const QStringList before = filesBelow(target);
    const QByteArray temporary = '/' + ZipName.toUtf8() + ".~tmp";
    switch (obstacle) {
    case Obstacle::DiskFull: faultinjection::fillDiskAfter(0, temporary); break;
    case Obstacle::DiskFullWithinFile: faultinjection::fillDiskAfter(4096, temporary); break;
    case Obstacle::SyncFails: faultinjection::failOn(faultinjection::Sync, temporary); break;
    case Obstacle::CloseFails: faultinjection::failOn(faultinjection::Close, temporary); break;
    case Obstacle::RenameFails: faultinjection::failOn(faultinjection::Rename, '/' + ZipName.toUtf8()); break;
    default: break;
    }

    HandoverArchive archive(zipPath);
    archive.addFolder(obstacle == Obstacle::ExportMissing ? m_exportPath + QStringLiteral("-missing") : m_exportPath,
                      ExportName);
    archive.addFile(QStringLiteral("protokoll.pdf"), "%PDF", Created);
    QVERIFY(!archive.write(HandoverArchive::Existing::Replace));
    faultinjection::reset();

    if (reason.isEmpty()) {
        QCOMPARE(archive.errorString(), QStringLiteral("The folder %1-missing does not exist.").arg(m_exportPath));
    } else {
        const QString pattern = QRegularExpression::escape(QStringLiteral("Cannot write the archive %1: ").arg(zipPath));
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern + reason)).match(archive.errorString()).hasMatch(),
                 qPrintable(archive.errorString()));
    }
    QCOMPARE(filesBelow(target), before);
    if (obstacle != Obstacle::FolderIsFile)
        QCOMPARE(fileBytes(m_zipPath), Earlier);
}

// A ZIP archive without its ZIP64 extensions cannot say a size of 4 GiB; the file is sparse, so
// it costs no disk space, and it is refused before a byte of it is read.
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
    QCOMPARE(filesBelow(m_dir->filePath(QStringLiteral("target"))), QStringList());
}

// Writes files, by their paths relative to the export folder, with modification times a
// minute apart; why it could not, or nothing.
QString HandoverArchiveTest::writeExport(const Files &files)
{
    QDateTime modified(QDate(2019, 4, 1), QTime(12, 0), Qt::UTC);
    for (auto file = files.cbegin(); file != files.cend(); ++file) {
        const QString path = m_exportPath + QLatin1Char('/') + file.key();
        const QString reason = writeFile(path, file.value());
        if (!reason.isEmpty())
            return reason;
        QFile written(path);
        if (!written.open(QIODevice::ReadWrite) || !written.setFileTime(modified, QFileDevice::FileModificationTime))
            return QStringLiteral("cannot set the time of %1: %2").arg(path, written.errorString());
        modified = modified.addSecs(60);
    }
    return QString();
}

QTEST_GUILESS_MAIN(HandoverArchiveTest)
#include "tst_handoverarchive.moc"
