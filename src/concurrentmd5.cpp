#include "concurrentmd5_p.h"

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
    m_abandoned = true;
    wait();
}

void ConcurrentMd5::addData(const char *data, qint64 size)
{
    waitForData();
    m_data = data;
    m_size = size;
    start();
}

void ConcurrentMd5::waitForData()
{
    wait();
    // Where no thread could be started, the span is hashed here instead.
    if (m_size > 0)
        run();
}

QByteArray ConcurrentMd5::result()
{
    waitForData();
    return m_md5.result();
}

void ConcurrentMd5::run()
{
    for (qint64 offset = 0; offset < m_size && !m_abandoned; offset += ChunkSize)
        m_md5.addData(m_data + offset, int(qMin(ChunkSize, m_size - offset)));
    m_size = 0;
}

} // namespace fiscora
