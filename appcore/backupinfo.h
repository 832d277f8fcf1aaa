#ifndef FISCORA_APP_BACKUPINFO_H
#define FISCORA_APP_BACKUPINFO_H

#include <fiscora/indexfileanalyser.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <atomic>

namespace fiscora::app {

/*!
 * What a backup file's header says and whether the data behind it still matches the header's
 * MD5 value, read without decrypting anything.
 *
 * \code
 * BackupInfo info;
 * if (info.readHeader(path) != BackupInfo::HeaderRead || !info.hashData())
 *     fail(info.errorText());
 * \endcode
 */
class BackupInfo
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::BackupInfo)

public:
    enum HeaderResult { HeaderRead, Unreadable, NoHeader };

    //! Opens \a path and takes over its header.
    HeaderResult readHeader(const QString &path);
    //! Computes the MD5 digest of the data behind the header, reading it in pieces; false once \a stop is set.
    bool hashData(const std::atomic_bool *stop = nullptr);
    //! Takes the header's MD5 value for the data's, which an export has just proven to match.
    void takeProvenMd5() { m_bodyMd5 = m_analyser.getMD5Value(); }
    //! Why readHeader() or hashData() failed, as a sentence with the file's name.
    QString errorText() const { return m_errorText; }

    QString file() const { return m_file; }
    const IndexFileAnalyser &analyser() const { return m_analyser; }
    qint64 bodySize() const { return m_bodySize; }
    QByteArray bodyMd5() const { return m_bodyMd5; }
    bool md5Matches() const { return m_bodyMd5 == m_analyser.getMD5Value(); }
    int headerVersion() const;
    //! Serial number and firmware version as text, without the header's zero filling.
    QString serialNumber() const;
    QString firmwareVersion() const;
    //! Where the data came from, in words.
    QString sourceText() const;

    //! The verdict of the index on a month, in words.
    static QString statusText(IndexFileAnalyser::IndexStatus status);

private:
    HeaderResult unreadable(const QString &reason);

    QString m_file;
    IndexFileAnalyser m_analyser;
    qint64 m_bodyOffset = 0;
    qint64 m_bodySize = 0;
    QByteArray m_bodyMd5;
    QString m_errorText;
};

} // namespace fiscora::app

#endif // FISCORA_APP_BACKUPINFO_H
