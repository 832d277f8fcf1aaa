#ifndef FISCORA_ATOMICFILE_P_H
#define FISCORA_ATOMICFILE_P_H

#include "filelock_p.h"

#include <QFile>
#include <QString>

#include <optional>

namespace fiscora {

/*!
 * A file that appears under its name only once it is complete, and then in one step: it is
 * written into a temporary file of its own beside it, its name followed by a tag and ".~tmp",
 * which finish() brings to the disk and commit() renames over the file. Until then an earlier file
 * of that name stays as it was; an atomic file that is not committed removes its temporary file.
 *
 * \code
 * AtomicFile table(folder + "gobd.csv");
 * if (!table.open() || !table.write(data, size) || !table.finish() || !table.commit())
 *     report(table.errorString());
 * \endcode
 *
 * Unlike QSaveFile in Qt 5 it reports a failed sync or close, and its temporary file may be read
 * back and rewritten in place. One job at a time writes a file: from open() to commit() or cancel()
 * the job holds a lock on the name (the file "<name>.~lock") and one on its temporary file, and
 * open() fails while another job holds the name. Temporary files and lock files whose job is no
 * more are removed from the folder by the next atomic file opened there.
 */
class AtomicFile
{
public:
    explicit AtomicFile(const QString &fileName);
    //! Removes the temporary file unless the file was committed.
    ~AtomicFile();

    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    /*!
     * Takes the name and creates the temporary file, open for reading and writing; false when
     * another job holds the name (heldElsewhere()) or the file cannot be created.
     */
    bool open();

    //! Writes all \a size bytes at \a data; false when the system refuses some of them.
    bool write(const char *data, qint64 size);

    //! The temporary file, for reading back and rewriting what was written.
    QFile &file() { return m_file; }

    //! Brings the contents to the disk and closes the temporary file; false when that fails.
    bool finish();

    //! Renames the finished temporary file over fileName(); false when it cannot.
    bool commit();

    //! Closes and removes the temporary file; an earlier file of the name stays as it was.
    void cancel();

    //! Whether open() failed because another job is writing the file.
    bool heldElsewhere() const { return m_nameLock.heldElsewhere(); }
    QString fileName() const { return m_fileName; }
    QString temporaryFileName() const { return m_file.fileName(); }
    //! Why the last step failed, in the system's words.
    QString errorString() const { return m_errorString; }

private:
    bool createTemporaryFile();
    void release();
    bool fail(const QString &reason);

    const QString m_fileName;
    FileLock m_nameLock;
    std::optional<FileLock> m_temporaryLock;
    QFile m_file;
    QString m_errorString;
    bool m_committed = false;
};

} // namespace fiscora

#endif // FISCORA_ATOMICFILE_P_H
