#ifndef FISCORA_CONCURRENTMD5_P_H
#define FISCORA_CONCURRENTMD5_P_H

#include <QByteArray>
#include <QCryptographicHash>
#include <QMutex>
#include <QPair>
#include <QQueue>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

namespace fiscora {

/*!
 * An MD5 digest computed in a thread of its own while the caller's thread goes on with other
 * work on the same bytes: decrypting them, or writing them to a file. The spans handed to
 * addData() are hashed one after the other, in the order given; addData() returns at once, so
 * that the caller can hand over spans ahead of its own work and the digest never waits for it.
 *
 * \code
 * ConcurrentMd5 md5;
 * md5.addData(first, firstSize);   // span 1
 * md5.addData(second, secondSize); // span 2
 * decryptRecords(first, firstSize);
 * md5.waitForSpans(1);             // first may be reused now
 * const QByteArray digest = md5.result();
 * \endcode
 *
 * The bytes of a span must stay readable until waitForSpans() has counted it or result() has
 * returned; the destructor abandons an unfinished digest and waits for the thread.
 */
class ConcurrentMd5 : private QThread
{
public:
    ConcurrentMd5();
    ~ConcurrentMd5() override;

    //! Adds the \a size bytes at \a data to the digest, as the next span; returns at once.
    void addData(const char *data, qint64 size);

    //! Waits until the first \a spans spans have been hashed, so that their bytes may go.
    void waitForSpans(int spans);

    //! The number of spans handed over so far.
    int spans() const { return m_added; }

    //! Waits for the digest of all spans and returns it, raw (16 bytes).
    QByteArray result();

private:
    void run() override;
    bool hashNext();

    QCryptographicHash m_md5;
    QMutex m_mutex;
    QWaitCondition m_changed;
    QQueue<QPair<const char *, qint64>> m_pending;
    int m_added = 0;
    int m_hashed = 0;
    bool m_complete = false;
    // Set under m_mutex, but also read while a span is hashed.
    std::atomic_bool m_abandoned{false};
};

} // namespace fiscora

#endif // FISCORA_CONCURRENTMD5_P_H
