#include "handoverarchive.h"

#include "atomicfile_p.h"

#include <KZip>

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <thread>

namespace fiscora::app {

namespace {

// Sizes and offsets in a ZIP archive take 32 bits. KZip writes none of the ZIP64 extensions
// that would take more: it would cut larger values short and write a broken archive.
constexpr qint64 LargestZipSize = 0xFFFFFFFF;
constexpr mode_t RegularFile = 0100644;
constexpr int ChunkSize = 1 << 20;

} // namespace

HandoverArchive::HandoverArchive(const QString &zipPath)
    : m_zipPath(zipPath)
{
}

void HandoverArchive::addFolder(const QString &folderPath, const QString &nameInArchive)
{
    m_folders.append({folderPath, nameInArchive});
}

void HandoverArchive::addFile(const QString &nameInArchive, const QByteArray &contents, const QDateTime &modified)
{
    m_files.append({nameInArchive, QString(), contents, modified});
}

bool HandoverArchive::write(Existing existing)
{
    // Refused before anything is written: an archive of gigabytes takes a while.
    const QFileInfo target(m_zipPath);
    if (existing == Existing::Keep && (target.exists() || target.isSymLink()))
        return fail(tr("The archive %1 already exists.").arg(m_zipPath));
    QList<Entry> entries;
    for (const Folder &folder : qAsConst(m_folders)) {
        if (!listFolder(folder, &entries))
            return false;
    }
    return writeEntries(entries + m_files);
}

QString HandoverArchive::manifestName()
{
    return QStringLiteral("manifest.sha256");
}

bool HandoverArchive::listFolder(const Folder &folder, QList<Entry> *entries)
{
    const QDir dir(folder.path);
    if (!dir.exists())
        return fail(tr("The folder %1 does not exist.").arg(folder.path));
    QStringList paths;
    QDirIterator it(folder.path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    const QString prefix = folder.name.isEmpty() ? QString() : folder.name + QLatin1Char('/');
    for (const QString &path : qAsConst(paths)) {
        const QFileInfo info(path);
        if (info.size() > LargestZipSize)
            return fail(tr("%1 is larger than 4 GiB, more than a file in the archive can hold.").arg(path));
        entries->append({prefix + dir.relativeFilePath(path), path, QByteArray(), info.lastModified()});
    }
    return true;
}

bool HandoverArchive::writeEntries(const QList<Entry> &entries)
{
    AtomicFile file(m_zipPath);
    if (!file.open())
        return writeFailed(file.errorString());
    // KZip closes the device it writes to when it closes the archive, but the file must stay
    // open until it is on the disk: KZip gets a device of its own on the file's descriptor.
    QFile device;
    if (!device.open(file.file().handle(), QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return writeFailed(device.errorString());
    KZip zip(&device);
    zip.setExtraField(KZip::ModificationTime);
    if (!zip.open(QIODevice::WriteOnly))
        return writeFailed(zip.errorString());
    QByteArray manifest;
    for (const Entry &entry : entries) {
        if (!addEntry(zip, device, entry, &manifest))
            return false;
    }
    if (!addEntry(zip, device, {manifestName(), QString(), manifest, QDateTime::currentDateTime()}, nullptr))
        return false;
    if (!zip.close())
        return writeFailed(zip.errorString());
    if (file.file().size() > LargestZipSize)
        return fail(tr("The archive %1 would be larger than 4 GiB, more than it can hold.").arg(m_zipPath));
    if (!file.finish() || !file.commit())
        return writeFailed(file.errorString());
    return true;
}

// Adds the entry in pieces, hashing each as it goes, and its line to the manifest, if any.
bool HandoverArchive::addEntry(KZip &zip, const QFile &device, const Entry &entry, QByteArray *manifest)
{
    std::unique_ptr<QIODevice> source;
    if (entry.path.isEmpty()) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(entry.contents);
        source = std::move(buffer);
    } else {
        source = std::make_unique<QFile>(entry.path);
    }
    const auto readFailed = [&] { return fail(tr("Cannot read %1: %2").arg(entry.path, source->errorString())); };
    if (!source->open(QIODevice::ReadOnly))
        return readFailed();
    if (!zip.prepareWriting(entry.name, QString(), QString(), source->size(), RegularFile, entry.modified,
                            entry.modified, entry.modified))
        return zipFailed(zip, device);
    QCryptographicHash sha256(QCryptographicHash::Sha256);
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    qint64 size = 0;
    qint64 read = 0;
    bool written = true;
    const auto stopped = [this] { return m_stopRequested && *m_stopRequested; };
    while (written && !stopped() && (read = source->read(chunk.data(), ChunkSize)) > 0) {
        // A piece is hashed on another core while it is compressed.
        std::thread hashing([&] { sha256.addData(chunk.constData(), int(read)); });
        written = zip.writeData(chunk.constData(), read);
        hashing.join();
        size += read;
    }
    // KZip frees the compressor of a file only when it finishes the file, a failed one too. It
    // does not hear of a failure to write the last compressed bytes; the device does.
    const bool finished = zip.finishWriting(size);
    if (read < 0)
        return readFailed();
    if (stopped())
        return fail(tr("The archive %1 was not written: the job was stopped.").arg(m_zipPath));
    if (!written || !finished || device.error() != QFileDevice::NoError)
        return zipFailed(zip, device);
    if (manifest)
        *manifest += sha256.result().toHex() + "  " + entry.name.toUtf8() + '\n';
    return true;
}

// The device knows the system's reason for a failed write, where KZip may only guess one.
bool HandoverArchive::zipFailed(const KZip &zip, const QFile &device)
{
    return writeFailed(device.error() != QFileDevice::NoError ? device.errorString() : zip.errorString());
}

bool HandoverArchive::writeFailed(const QString &reason)
{
    return fail(tr("Cannot write the archive %1: %2").arg(m_zipPath, reason));
}

bool HandoverArchive::fail(const QString &error)
{
    m_errorString = error;
    return false;
}

} // namespace fiscora::app
