#include "filecomparison.h"

#include <algorithm>
#include <cstring>

namespace fiscora::app {

namespace {

// Rows are written one by one; they are compared a piece at a time.
constexpr int PieceSize = 1 << 20;

} // namespace

FileComparison::FileComparison(const QString &fileName)
    : m_file(fileName)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    m_parted = !m_file.open(QIODevice::ReadOnly);
    m_written.reserve(PieceSize);
}

qint64 FileComparison::firstDifference()
{
    if (!m_file.isOpen())
        return 0;
    if (!m_parted)
        compare();
    char next;
    if (!m_parted && m_file.read(&next, 1) != 0)
        m_parted = true;
    return m_parted ? m_lineFeeds + 1 : -1;
}

qint64 FileComparison::readData(char *, qint64)
{
    return -1;
}

qint64 FileComparison::writeData(const char *data, qint64 size)
{
    if (!m_parted) {
        m_written.append(data, int(size));
        if (m_written.size() >= PieceSize)
            compare();
    }
    return size;
}

void FileComparison::compare()
{
    const char *const written = m_written.constData();
    const int size = m_written.size();
    m_piece.resize(size);
    const qint64 read = qMax<qint64>(0, m_file.read(m_piece.data(), size));
    const char *parted = written + read;
    if (std::memcmp(written, m_piece.constData(), size_t(read)) != 0)
        parted = std::mismatch(written, parted, m_piece.constData()).first;
    for (const char *at = written; (at = static_cast<const char *>(std::memchr(at, '\n', size_t(parted - at)))); ++at)
        ++m_lineFeeds;
    m_parted = parted != written + size;
    m_written.resize(0);
}

} // namespace fiscora::app
