#include "concurrentmd5_p.h"

#include <QMutexLocker>

namespace fiscora {

namespace {

// QCryptographicHash takes int lengths; a few megabytes also keep an abandoned digest short.
constexpr qint64 ChunkSize = 4 * 1024 * 1024;

} // namespace

ConcurrentMd5::ConcurrentMd5()
    : m_md5(QCryptographicHash::Md5)
{
}

ConcurrentMd5::~ConcurrentMd5()
{
    {
        const QMutexLocker locker(&m_mutex);
        m_abandoned = true;
        m_changed.wakeAll();
    }
    wait();
}

void ConcurrentMd5::addData(const char *data, qint64 size)
{
    {
        const QMutexLocker locker(&m_mutex);
        m_pending.enqueue({data, size});
        ++m_added;
        m_changed.wakeAll();
    }
    if (!isRunning())
        start();
}

void ConcurrentMd5::waitForSpans(int spans)
{
    QMutexLocker locker(&m_mutex);
    while (m_hashed < spans) {
        // Where no thread could be started, the spans are hashed here instead.
        if (!isRunning()) {
            locker.unlock();
            while (hashNext()) {
            }
            return;
        }
        m_changed.wait(&m_mutex);
    }
}

QByteArray ConcurrentMd5::result()
{
    waitForSpans(m_added);
    {
        const QMutexLocker locker(&m_mutex);
        m_complete = true;
        m_changed.wakeAll();
    }
    wait();
    return m_md5.result();
}

void ConcurrentMd5::run()
{
    for (;;) {
        {
            QMutexLocker locker(&m_mutex);
            while (m_pending.isEmpty() && !m_complete && !m_abandoned)
                m_changed.wait(&m_mutex);
            if (m_pending.isEmpty() || m_abandoned)
                return;
        }
        hashNext();
    }
}

// Hashes the first pending span, if there is one, and only then lets it go.
bool ConcurrentMd5::hashNext()
{
    QPair<const char *, qint64> span;
    {
        const QMutexLocker locker(&m_mutex);
        if (m_pending.isEmpty())
            return false;
        span = m_pending.head();
    }
    for (qint64 offset = 0; offset < span.second && !m_abandoned; offset += ChunkSize)
        m_md5.addData(span.first + offset, int(qMin(ChunkSize, span.second - offset)));
    const QMutexLocker locker(&m_mutex);
    m_pending.dequeue();
    ++m_hashed;
    m_changed.wakeAll();
    return true;
}

} // namespace fiscora
