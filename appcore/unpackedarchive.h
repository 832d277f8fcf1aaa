#ifndef FISCORA_APP_UNPACKEDARCHIVE_H
#define FISCORA_APP_UNPACKEDARCHIVE_H

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QStringList>

#include <atomic>

class KArchiveDirectory;
class KArchiveFile;

namespace fiscora::app {

/*!
 * A hand-over archive (HandoverArchive) unpacked into a folder, for checking it as an auditor
 * does: each file's SHA-256 value against the line the manifest at the archive's root gives it.
 * Files are unpacked and hashed piece by piece, so a table file of gigabytes needs little memory.
 *
 * \code
 * UnpackedArchive archive(zipPath);
 * if (!archive.unpack(scratch.path(), &stop))
 *     fail(archive.errorString());
 * findings << archive.manifestFindings();
 * \endcode
 *
 * Nothing is written outside the folder: an entry named to climb out of it, or one that is a
 * symbolic link, makes unpack() fail.
 */
class UnpackedArchive
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::UnpackedArchive)

public:
    explicit UnpackedArchive(const QString &zipPath);

    //! Unpacks every file into \a folder; false, errorString() saying why, when the archive
    //! cannot be read or unpacked whole, or once \a stop is set.
    bool unpack(const QString &folder, const std::atomic_bool *stop = nullptr);
    //! Why unpack() failed, translated, with the system's reason where it gave one.
    QString errorString() const { return m_errorString; }

    //! The files unpacked, by their paths in the archive, with their SHA-256 values in hexadecimal.
    const QMap<QString, QByteArray> &sha256() const { return m_sha256; }
    /*!
     * What the manifest shows wrong: a file it lists that is not in the archive or does not match
     * its SHA-256 value, a line that is not one of sha256sum, a file that it does not list; each
     * finding one sentence. Nothing when every file matches.
     */
    QStringList manifestFindings() const;

private:
    bool unpackFolder(const KArchiveDirectory &directory, const QString &path, const std::atomic_bool *stop);
    bool unpackFile(const KArchiveFile &file, const QString &path, const std::atomic_bool *stop);
    bool fail(const QString &error);

    const QString m_zipPath;
    QString m_folder;
    QMap<QString, QByteArray> m_sha256;
    QString m_errorString;
};

} // namespace fiscora::app

#endif // FISCORA_APP_UNPACKEDARCHIVE_H
