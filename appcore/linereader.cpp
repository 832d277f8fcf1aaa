#include "linereader.h"

#include <QIODevice>

#include <cstring>

namespace fiscora::app {

LineReader::LineReader(QIODevice *device, char lineEnd, int longestLine, int chunkSize)
    : m_device(device)
    , m_lineEnd(lineEnd)
    , m_longestLine(longestLine)
    , m_chunk(chunkSize, Qt::Uninitialized)
{
}

bool LineReader::readLine(QByteArray *line)
{
    const char *data = nullptr;
    int size = 0;
    if (!readLine(&data, &size))
        return false;
    *line = QByteArray::fromRawData(data, size);
    return true;
}

bool LineReader::readLine(const char **data, int *size)
{
    m_pending.clear();
    m_truncated = false;
    while (m_at != m_end || fill()) {
        const auto *found = static_cast<const char *>(std::memchr(m_at, m_lineEnd, size_t(m_end - m_at)));
        const char *const stop = found ? found : m_end;
        // The usual line lies whole in the chunk and is handed out without a copy.
        const bool inChunk = found && m_pending.isEmpty() && stop - m_at <= m_longestLine;
        if (inChunk) {
            *data = m_at;
            *size = int(stop - m_at);
        } else {
            keep(m_at, stop);
        }
        m_at = found ? found + 1 : m_end;
        if (found) {
            if (!inChunk)
                handOutPending(data, size);
            ++m_lineNumber;
            m_ended = true;
            return true;
        }
    }
    if (m_error || (m_pending.isEmpty() && !m_truncated))
        return false;
    handOutPending(data, size);
    ++m_lineNumber;
    m_ended = false;
    return true;
}

void LineReader::handOutPending(const char **data, int *size) const
{
    *data = m_pending.constData();
    *size = m_pending.size();
}

qint64 LineReader::lineNumber() const
{
    return m_lineNumber;
}

bool LineReader::ended() const
{
    return m_ended;
}

bool LineReader::truncated() const
{
    return m_truncated;
}

bool LineReader::hasError() const
{
    return m_error;
}

bool LineReader::fill()
{
    const qint64 read = m_device->read(m_chunk.data(), m_chunk.size());
    if (read < 0)
        m_error = true;
    m_at = m_chunk.constData();
    m_end = m_at + qMax<qint64>(read, 0);
    return read > 0;
}

void LineReader::keep(const char *begin, const char *end)
{
    const qint64 room = m_longestLine - m_pending.size();
    m_truncated = m_truncated || end - begin > room;
    m_pending.append(begin, int(qMin<qint64>(end - begin, room)));
}

} // namespace fiscora::app
