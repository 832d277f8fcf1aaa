#include "recordstart_p.h"

#include "aes_p.h"
#include "linecheck_p.h"

#include <algorithm>
#include <cstring>

namespace fiscora {

namespace {

// A block that reads as text holds at most this many other bytes: a few letters beyond ASCII.
constexpr int ForeignBytesInText = 4;

// Journal text is printable ASCII with a few letters beyond it; sixteen bytes of decrypted noise
// hold about six such bytes.
bool isTextByte(quint8 byte)
{
    return (byte >= ' ' && byte <= '~') || byte == '\t' || byte == '\r';
}

// How much of a decrypted block reads as text: its text bytes up to and with its first line feed.
int textBytes(const quint8 *block)
{
    int count = 0;
    for (int i = 0; i < AesBlockSize; ++i) {
        if (block[i] == '\n')
            return count + 1;
        count += isTextByte(block[i]);
    }
    return count;
}

const quint8 *bytes(const char *data)
{
    return reinterpret_cast<const quint8 *>(data);
}

} // namespace

bool readsAsLineStart(const char *block)
{
    return startsWithRegisterNumber(block, AesBlockSize) && textBytes(bytes(block)) >= AesBlockSize - ForeignBytesInText;
}

bool startsLine(const char *record, bool blockBefore)
{
    quint8 first[AesBlockSize];
    decryptBlocks(bytes(record), first, 0, 1);
    return readsAsLineStart(reinterpret_cast<const char *>(first)) && !(blockBefore && continuesRecordBefore(record));
}

bool continuesRecordBefore(const char *record)
{
    quint8 plain[2 * AesBlockSize];
    decryptBlocks(bytes(record), plain, 0, 1);
    decryptBlocks(bytes(record - AesBlockSize), plain, 1, 1);
    return textBytes(plain + AesBlockSize) > textBytes(plain);
}

// Of a word less a space in every byte, a byte below the space sets its top bit; a byte from
// 128 up has it set already.
bool holdsNonAscii(const char *begin, const char *end)
{
    constexpr quint64 Ones = 0x0101010101010101ULL;
    constexpr quint64 TopBits = 0x8080808080808080ULL;
    for (; end - begin >= 8; begin += 8) {
        quint64 word;
        std::memcpy(&word, begin, sizeof word);
        if (((word - Ones * ' ') | word) & TopBits)
            return true;
    }
    return std::any_of(begin, std::max(begin, end), [](char byte) {
        return static_cast<quint8>(byte) < ' ' || static_cast<quint8>(byte) >= 0x80;
    });
}

bool holdsControlBytes(const char *begin, const char *end)
{
    return std::any_of(begin, std::max(begin, end),
                       [](char byte) { return static_cast<quint8>(byte) < ' ' && byte != '\t'; });
}

} // namespace fiscora
