#ifndef FISCORA_ATOMICFILE_P_H
#define FISCORA_ATOMICFILE_P_H

#include <QFile>
#include <QString>

namespace fiscora {

/*!
 * A file that appears under its name only once it is complete, and then in one step: it is
 * written into a temporary file beside it, its name followed by ".~tmp", which finish() brings
 * to the disk and commit() renames over the file. Until then an earlier file of that name stays
 * as it was; an atomic file that is not committed removes its temporary file.
 *
 * \code
 * AtomicFile table(folder + "gobd.csv");
 * if (!table.open() || !table.write(data, size) || !table.finish() || !table.commit())
 *     report(table.errorString());
 * \endcode
 *
 * Unlike QSaveFile in Qt 5 it reports a failed sync or close, and its temporary file may be read
 * back and rewritten in place. The temporary file is always created afresh: a file or a link
 * left at its name is removed first, never written through.
 */
class AtomicFile
{
public:
    explicit AtomicFile(const QString &fileName);
    //! Removes the temporary file unless the file was committed.
    ~AtomicFile();

    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    //! Creates the temporary file, open for reading and writing; false when it cannot be created.
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

    QString fileName() const { return m_fileName; }
    QString temporaryFileName() const { return m_file.fileName(); }
    //! Why the last step failed, in the system's words.
    QString errorString() const { return m_errorString; }

private:
    bool fail(const QString &reason);

    const QString m_fileName;
    QFile m_file;
    QString m_errorString;
    bool m_committed = false;
};

} // namespace fiscora

#endif // FISCORA_ATOMICFILE_P_H
