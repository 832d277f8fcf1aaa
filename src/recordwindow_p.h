#ifndef FISCORA_RECORDWINDOW_P_H
#define FISCORA_RECORDWINDOW_P_H

#include "aes_p.h"

#include <QtGlobal>

namespace fiscora {

/*!
 * The decryption window of the record stream: the 256 bytes in which one encrypted record is
 * decrypted to find its line.
 *
 * A record's length is known only once its line feed has been decrypted, so the window
 * decrypts as many blocks as the previous line took, and the rest only where they hold no line
 * feed. The line comes out exactly as decryptBuffer() would give it on a zero-filled
 * window holding the next 256 bytes of the stream: a tail of fewer than 16 bytes decrypts as one
 * block filled up with zero bytes, and of a longer tail only the whole blocks are decrypted.
 *
 * \code
 * RecordWindow window;
 * const int length = window.decryptLine(data + position, size - position);
 * consume(window.line(), length);
 * \endcode
 */
class RecordWindow
{
public:
    static constexpr int Size = 256;

    /*!
     * Decrypts the record at \a record, of which \a remaining bytes (at least one) are left in
     * the stream, and returns its line length: up to and including the first line feed among
     * the decrypted bytes, or all decrypted bytes when none of them is a line feed.
     */
    int decryptLine(const char *record, qint64 remaining);

    //! The decrypted bytes of the last record; the first decryptLine() bytes are its line.
    const char *line() const { return reinterpret_cast<const char *>(m_plain); }

private:
    //! Decrypts \a count blocks from block \a first on; the line length once they hold its end, else 0.
    int decryptGroup(const quint8 *chain, int first, int count);

    alignas(AesBlockSize) quint8 m_plain[Size];
    quint8 m_shortTail[AesBlockSize];
    int m_lineBlocks = Size / AesBlockSize; // of the previous line
};

} // namespace fiscora

#endif // FISCORA_RECORDWINDOW_P_H
