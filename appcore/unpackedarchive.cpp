#include "unpackedarchive.h"

#include "filedigest.h"
#include "handoverarchive.h"

#include <KZip>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <memory>

namespace fiscora::app {

UnpackedArchive::UnpackedArchive(const QString &zipPath)
    : m_zipPath(zipPath)
{
}

bool UnpackedArchive::unpack(const QString &folder, const std::atomic_bool *stop)
{
    m_folder = folder;
    m_sha256.clear();
    KZip zip(m_zipPath);
    if (!zip.open(QIODevice::ReadOnly))
        return fail(tr("Cannot read the archive %1: %2").arg(m_zipPath, zip.errorString()));
    return unpackFolder(*zip.directory(), QString(), stop);
}

// The paths of the entries are made from their names one folder at a time, so that a name is
// never taken as a path of its own.
bool UnpackedArchive::unpackFolder(const KArchiveDirectory &directory, const QString &path, const std::atomic_bool *stop)
{
    for (const QString &name : directory.entries()) {
        const KArchiveEntry *entry = directory.entry(name);
        const QString entryPath = path.isEmpty() ? name : path + QLatin1Char('/') + name;
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            return fail(tr("The archive %1 holds %2, which would lie outside the folder it is unpacked into.")
                                .arg(m_zipPath, entryPath));
        if (!entry->symLinkTarget().isEmpty())
            return fail(tr("The archive %1 holds the symbolic link %2, which no hand-over archive holds.")
                                .arg(m_zipPath, entryPath));
        const bool unpacked = entry->isDirectory()
                ? unpackFolder(*static_cast<const KArchiveDirectory *>(entry), entryPath, stop)
                : unpackFile(*static_cast<const KArchiveFile *>(entry), entryPath, stop);
        if (!unpacked)
            return false;
    }
    return true;
}

bool UnpackedArchive::unpackFile(const KArchiveFile &file, const QString &path, const std::atomic_bool *stop)
{
    const QString target = m_folder + QLatin1Char('/') + path;
    const std::unique_ptr<QIODevice> source(file.createDevice());
    if (!source || !source->isOpen())
        return fail(tr("Cannot read %1 in the archive %2.").arg(path, m_zipPath));
    QFile unpacked(target);
    if (!QDir().mkpath(QFileInfo(target).path()) || !unpacked.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(tr("Cannot unpack %1: %2").arg(target, unpacked.errorString()));
    FileDigest digest(stop);
    const QByteArray sha256 = digest.copy(*source, path, unpacked);
    if (sha256.isEmpty())
        return fail(digest.errorString());
    if (!unpacked.flush())
        return fail(tr("Cannot unpack %1: %2").arg(target, unpacked.errorString()));
    m_sha256.insert(path, sha256);
    return true;
}

QStringList UnpackedArchive::manifestFindings() const
{
    const QString manifest = HandoverArchive::manifestName();
    QFile file(m_folder + QLatin1Char('/') + manifest);
    if (!m_sha256.contains(manifest) || !file.open(QIODevice::ReadOnly))
        return {tr("The archive holds no %1.").arg(manifest)};
    static const QRegularExpression line(QStringLiteral("^([0-9a-fA-F]{64}) [ *](.+)$"));
    QByteArray text = file.readAll();
    if (text.endsWith('\n'))
        text.chop(1);
    QStringList findings;
    QSet<QString> listed;
    int number = 0;
    for (const QByteArray &bytes : text.split('\n')) {
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(bytes));
        const QString name = match.captured(2);
        const QString place = tr("%1, line %2").arg(manifest).arg(++number);
        listed.insert(name);
        if (!match.hasMatch())
            findings << tr("%1: the line is not a SHA-256 value, two spaces and a file name.").arg(place);
        else if (!m_sha256.contains(name))
            findings << tr("%1: %2 is not in the archive.").arg(place, name);
        else if (m_sha256.value(name) != match.captured(1).toLower().toLatin1())
            findings << tr("%1: %2 does not match its SHA-256 value.").arg(place, name);
    }
    for (auto file = m_sha256.cbegin(); file != m_sha256.cend(); ++file) {
        if (file.key() != manifest && !listed.contains(file.key()))
            findings << tr("%1 is in the archive, but %2 does not list it.").arg(file.key(), manifest);
    }
    return findings;
}

bool UnpackedArchive::fail(const QString &error)
{
    m_errorString = error;
    return false;
}

} // namespace fiscora::app
