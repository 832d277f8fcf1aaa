#ifndef FISCORA_APP_FILEDIGEST_H
#define FISCORA_APP_FILEDIGEST_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <atomic>

class QFile;
class QIODevice;

namespace fiscora::app {

/*!
 * SHA-256 values of files, in hexadecimal as sha256sum writes them, read in pieces so that a
 * table of gigabytes costs little memory, and given up once a stop is asked for.
 *
 * \code
 * FileDigest digest(&stop);
 * const QByteArray sha256 = digest.sha256(path);
 * if (sha256.isEmpty())
 *     fail(digest.errorString());
 * \endcode
 */
class FileDigest
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::FileDigest)

public:
    explicit FileDigest(const std::atomic_bool *stop = nullptr);

    //! The SHA-256 value of the file \a path; empty when it cannot be read or a stop came.
    QByteArray sha256(const QString &path);
    /*!
     * The SHA-256 value of what \a source, called \a sourceName, holds, which goes on into \a copy
     * as it is read; empty when \a source cannot be read, \a copy cannot take it, or a stop came.
     */
    QByteArray copy(QIODevice &source, const QString &sourceName, QFile &copy);

    //! Why the last value is empty: the file's name and the system's reason, or the stop.
    QString errorString() const { return m_errorString; }

private:
    QByteArray hash(QIODevice &source, const QString &sourceName, QFile *copy);

    const std::atomic_bool *m_stop;
    QString m_errorString;
};

} // namespace fiscora::app

#endif // FISCORA_APP_FILEDIGEST_H
