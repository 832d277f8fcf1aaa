#ifndef FISCORA_FIXTURES_H
#define FISCORA_FIXTURES_H

// Files for the test suites. The helpers that make them answer why they could not:
//
//     QVERIFY_DONE(writeFile(path, contents));

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

#endif // FISCORA_FIXTURES_H
