#include "filedigest.h"

#include <QCryptographicHash>
#include <QFile>

namespace fiscora::app {

namespace {

constexpr int ChunkSize = 64 * 1024;

} // namespace

FileDigest::FileDigest(const std::atomic_bool *stop)
    : m_stop(stop)
{
}

QByteArray FileDigest::sha256(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errorString = tr("Cannot read %1: %2").arg(path, file.errorString());
        return QByteArray();
    }
    return hash(file, path, nullptr);
}

QByteArray FileDigest::copy(QIODevice &source, const QString &sourceName, QFile &copy)
{
    return hash(source, sourceName, &copy);
}

QByteArray FileDigest::hash(QIODevice &source, const QString &sourceName, QFile *copy)
{
    QCryptographicHash sha256(QCryptographicHash::Sha256);
    char chunk[ChunkSize];
    qint64 read = 0;
    while ((read = source.read(chunk, ChunkSize)) > 0) {
        if (m_stop && *m_stop) {
            m_errorString = tr("The job was stopped.");
            return QByteArray();
        }
        if (copy && copy->write(chunk, read) != read) {
            m_errorString = tr("Cannot write %1: %2").arg(copy->fileName(), copy->errorString());
            return QByteArray();
        }
        sha256.addData(chunk, int(read));
    }
    if (read < 0) {
        m_errorString = tr("Cannot read %1: %2").arg(sourceName, source.errorString());
        return QByteArray();
    }
    return sha256.result().toHex();
}

} // namespace fiscora::app
