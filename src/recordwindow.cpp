#include "recordwindow_p.h"

#include <cstring>

namespace fiscora {

namespace {

constexpr int WindowBlocks = RecordWindow::Size / AesBlockSize;

} // namespace

int RecordWindow::decryptLine(const char *record, qint64 remaining)
{
    const auto *chain = reinterpret_cast<const quint8 *>(record);
    int blocks = WindowBlocks;
    if (remaining < AesBlockSize) {
        // The window's zero fill completes the block.
        std::memset(m_shortTail, 0, sizeof m_shortTail);
        std::memcpy(m_shortTail, record, size_t(remaining));
        chain = m_shortTail;
        blocks = 1;
    } else if (remaining < Size) {
        // The bytes after the last whole block stay encrypted, so no line feed is looked for there.
        blocks = int(remaining / AesBlockSize);
    }
    // Neighbouring lines are about equally long: the previous line's blocks are decrypted first,
    // and the rest of the window only if they hold no line feed.
    const int guess = qMin(m_lineBlocks, blocks);
    if (const int length = decryptGroup(chain, 0, guess))
        return length;
    if (const int length = decryptGroup(chain, guess, blocks - guess))
        return length;
    return blocks * AesBlockSize;
}

int RecordWindow::decryptGroup(const quint8 *chain, int first, int count)
{
    decryptBlocks(chain, m_plain, first, count);
    const quint8 *group = m_plain + first * AesBlockSize;
    const void *lineFeed = std::memchr(group, '\n', size_t(count * AesBlockSize));
    if (!lineFeed)
        return 0;
    const int length = int(static_cast<const quint8 *>(lineFeed) - m_plain) + 1;
    m_lineBlocks = (length + AesBlockSize - 1) / AesBlockSize;
    return length;
}

} // namespace fiscora
