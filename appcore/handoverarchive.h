#ifndef FISCORA_APP_HANDOVERARCHIVE_H
#define FISCORA_APP_HANDOVERARCHIVE_H

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

#include <atomic>

class KZip;
class QFile;

namespace fiscora::app {

/*!
 * A ZIP archive for handing an export over: the files of export folders, files made in memory,
 * and at its root the manifest, which holds the SHA-256 value of every other file in the format
 * of sha256sum, so that "sha256sum -c manifest.sha256" in the unpacked archive checks them.
 *
 * \code
 * HandoverArchive archive(target + "/CR#12345678_201901_201903.zip");
 * archive.addFolder(exportFolder, "CR#12345678/201901_201903");
 * archive.addFile(HandoverProtocol::fileName(), protocol, created);
 * if (!archive.write(HandoverArchive::Existing::Keep))
 *     report(archive.errorString());
 * \endcode
 *
 * The archive appears under its name only once it is complete and on the disk; a write that
 * fails or is interrupted leaves no file that looks like one. Files are compressed and hashed
 * piece by piece, so a table file of gigabytes needs little memory. Each file keeps its
 * modification time.
 *
 * The archive is a plain ZIP archive without the ZIP64 extensions, so no file in it, and the
 * archive itself, can be larger than 4 GiB; write() refuses what would be.
 */
class HandoverArchive
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::HandoverArchive)

public:
    //! What write() does with an archive that is already there.
    enum class Existing { Keep, Replace };

    explicit HandoverArchive(const QString &zipPath);

    //! Adds the files below \a folderPath, its subfolders' included, under \a nameInArchive, such
    //! as "CR#12345678/201901_201903" for "CR#12345678/201901_201903/gobd.csv". The folder is read
    //! when the archive is written.
    void addFolder(const QString &folderPath, const QString &nameInArchive);

    //! Adds \a contents as the file \a nameInArchive, last modified at \a modified.
    void addFile(const QString &nameInArchive, const QByteArray &contents, const QDateTime &modified);

    /*!
     * Writes the archive with the folders' files in the order of their paths, then the files
     * in the order they were added, then the manifest. Returns false, and leaves any earlier
     * archive of the name as it was, when the archive cannot be written whole, or when it is
     * there already and \a existing says to keep it; errorString() says why.
     */
    bool write(Existing existing);

    //! Makes write() give up, leaving nothing, once \a stopRequested is set.
    void stopWhen(const std::atomic_bool &stopRequested) { m_stopRequested = &stopRequested; }

    //! Why write() failed, translated, with the system's reason where it gave one.
    QString errorString() const { return m_errorString; }

    //! The manifest's name at the archive's root: "manifest.sha256".
    static QString manifestName();

private:
    struct Folder
    {
        QString path;
        QString name;
    };
    //! A file of the archive: from the disk at path, or, without a path, from contents.
    struct Entry
    {
        QString name;
        QString path;
        QByteArray contents;
        QDateTime modified;
    };

    bool listFolder(const Folder &folder, QList<Entry> *entries);
    bool writeEntries(const QList<Entry> &entries);
    bool addEntry(KZip &zip, const QFile &device, const Entry &entry, QByteArray *manifest);
    bool zipFailed(const KZip &zip, const QFile &device);
    bool writeFailed(const QString &reason);
    bool fail(const QString &error);

    const QString m_zipPath;
    const std::atomic_bool *m_stopRequested = nullptr;
    QList<Folder> m_folders;
    QList<Entry> m_files;
    QString m_errorString;
};

} // namespace fiscora::app

#endif // FISCORA_APP_HANDOVERARCHIVE_H
