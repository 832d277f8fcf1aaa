#include "tablepipe.h"

#include <cstring>

namespace fiscora::app {

namespace {

// The export writes pieces of about a megabyte.
constexpr int PiecesWaiting = 4;

} // namespace

TablePipe::TablePipe()
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void TablePipe::take(const char *data, qint64 size)
{
    Piece piece{QByteArray(data, int(size)), m_namedSinceLast};
    m_namedSinceLast.clear();
    const QMutexLocker locker(&m_mutex);
    while (m_pieces.size() >= PiecesWaiting && !m_abandoned)
        m_changed.wait(&m_mutex);
    if (m_abandoned)
        return;
    m_pieces.enqueue(std::move(piece));
    m_changed.wakeAll();
}

void TablePipe::rowsNamed(const QList<qint64> &rows)
{
    m_namedSinceLast += rows;
}

void TablePipe::endWriting()
{
    // A row named after the last piece still lies in it: the reader hears of it at the end.
    if (!m_namedSinceLast.isEmpty())
        take(nullptr, 0);
    const QMutexLocker locker(&m_mutex);
    m_ended = true;
    m_changed.wakeAll();
}

void TablePipe::abandon()
{
    const QMutexLocker locker(&m_mutex);
    m_abandoned = true;
    m_pieces.clear();
    m_changed.wakeAll();
}

qint64 TablePipe::readData(char *data, qint64 maxSize)
{
    while (m_readFrom == m_current.size()) {
        if (!nextPiece())
            return 0;
    }
    const int size = int(qMin<qint64>(maxSize, m_current.size() - m_readFrom));
    std::memcpy(data, m_current.constData() + m_readFrom, size_t(size));
    m_readFrom += size;
    return size;
}

bool TablePipe::nextPiece()
{
    Piece piece;
    {
        const QMutexLocker locker(&m_mutex);
        while (m_pieces.isEmpty() && !m_ended && !m_abandoned)
            m_changed.wait(&m_mutex);
        if (m_pieces.isEmpty())
            return false;
        piece = m_pieces.dequeue();
        m_changed.wakeAll();
    }
    if (m_rowsNamed && !piece.rowsNamed.isEmpty())
        m_rowsNamed(piece.rowsNamed);
    m_current = std::move(piece.bytes);
    m_readFrom = 0;
    return true;
}

qint64 TablePipe::writeData(const char *, qint64)
{
    return -1;
}

} // namespace fiscora::app
