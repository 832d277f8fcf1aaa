#ifndef FISCORA_FIXTURES_H
#define FISCORA_FIXTURES_H

// Fixtures shared by the test suites: files and backup headers.

#include <fiscora/helperclass.h>
#include <fiscora/indexfileanalyser.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

//! Writes \a contents to \a path, creating the folders on the way.
inline bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
        && file.write(contents) == contents.size() && file.flush();
}

//! The bytes of \a path, or "<missing>" when it cannot be read, so that no file and an empty one differ.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

//! The header of a backup that the reader wrote for a register: its month \a map and the body's \a digest.
inline QByteArray backupHeader(const QByteArray &serialNumber, const QByteArray &map, const QByteArray &digest)
{
    using fiscora::HelperClass;
    fiscora::IndexFileAnalyser analyser;
    analyser.setIndexSource(fiscora::IndexFileAnalyser::SOURCE_SD);
    analyser.setCRSerialnumber(serialNumber);
    analyser.setMD5Value(digest);
    const QByteArray header = analyser.getCompessIndex() + map;
    return HelperClass::convertIntToByteArray(header.size() - 2) + header.mid(2);
}

#endif // FISCORA_FIXTURES_H
