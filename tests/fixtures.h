#ifndef FISCORA_FIXTURES_H
#define FISCORA_FIXTURES_H

// Files for the test suites. The helpers that make them answer why they could not:
//
//     QVERIFY_DONE(writeFile(path, contents));

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

//! Fails the test with the reason that \a call, one of the helpers here, gives when it failed.
#define QVERIFY_DONE(call)                                                                                             \
    do {                                                                                                               \
        const QString reason = (call);                                                                                 \
        QVERIFY2(reason.isEmpty(), qPrintable(reason));                                                                \
    } while (false)

//! Writes \a contents to \a path, creating the folders on the way; why it could not, or nothing.
inline QString writeFile(const QString &path, const QByteArray &contents)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("cannot create the folder of %1").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.flush())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return QString();
}

//! Creates the folder \a path with its parents; why it could not, or nothing.
inline QString makeFolder(const QString &path)
{
    return QDir().mkpath(path) ? QString() : QStringLiteral("cannot create the folder %1").arg(path);
}

//! The bytes of \a path, or "<missing>" when it cannot be read, so that no file and an empty one differ.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

//! Every entry below \a root, relative to it, each file with its size and time: whatever writes
//! below \a root changes it.
inline QStringList tree(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString name = QDir(root).relativeFilePath(entry.filePath());
        entries << (entry.isDir() ? name + QLatin1Char('/')
                                  : QStringLiteral("%1 %2 %3").arg(name).arg(entry.size())
                                            .arg(entry.lastModified().toMSecsSinceEpoch()));
    }
    entries.sort();
    return entries;
}

//! Flips a bit in the last byte of \a path, as a medium that went bad would; why it could not, or nothing.
inline QString flipLastByte(const QString &path)
{
    QFile file(path);
    char last = 0;
    if (!file.open(QIODevice::ReadWrite) || !file.seek(file.size() - 1) || !file.getChar(&last) || !file.seek(file.size() - 1))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    return file.putChar(static_cast<char>(last ^ 0x01)) ? QString() : file.errorString();
}

#endif // FISCORA_FIXTURES_H
