#ifndef FISCORA_CONCURRENTMD5_P_H
#define FISCORA_CONCURRENTMD5_P_H

#include <QByteArray>
#include <QCryptographicHash>
#include <QThread>

#include <atomic>

namespace fiscora {

/*!
 * An MD5 digest computed in a thread of its own while the caller's thread goes on with other
 * work on the same bytes: decrypting them, or writing them to a file. The spans handed to
 * addData() are hashed one after the other, in the order given.
 *
 * \code
 * ConcurrentMd5 md5;
 * md5.addData(body, bodySize); // starts hashing
 * decryptRecords(body, bodySize);
 * const QByteArray digest = md5.result();
 * \endcode
 *
 * The bytes of a span must stay readable until waitForData() or result() has returned or the
 * object is destroyed; the destructor abandons an unfinished digest and waits for the thread.
 */
class ConcurrentMd5 : private QThread
{
public:
    ConcurrentMd5();
    ~ConcurrentMd5() override;

    //! Waits for the span before, then starts adding \a size bytes at \a data to the digest.
    void addData(const char *data, qint64 size);

    //! Waits until the last span has been hashed, so that its bytes may go.
    void waitForData();

    //! Waits for the digest of all spans and returns it, raw (16 bytes).
    QByteArray result();

private:
    void run() override;

    QCryptographicHash m_md5;
    const char *m_data = nullptr;
    qint64 m_size = 0;
    std::atomic_bool m_abandoned{false};
};

} // namespace fiscora

#endif // FISCORA_CONCURRENTMD5_P_H
