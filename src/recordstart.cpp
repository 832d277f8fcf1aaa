#include "recordstart_p.h"

#include "aes_p.h"
#include "linecheck_p.h"

#include <algorithm>
#include <cstring>

namespace fiscora {

namespace {

// A block that reads as text holds at most this many other bytes: a few letters beyond ASCII.
constexpr int ForeignBytesInText = 4;
// The start of a table line holds at most this many bytes beyond ASCII: one letter of the register's
// name in UTF-8.
constexpr int ForeignBytesInName = 2;
// A block with this many bytes beyond ASCII reads as noise where a record start is looked for.
constexpr int ForeignBytesInNoise = 6;

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

bool isAsciiText(char c)
{
    return (c >= ' ' && c <= '~') || c == '\t';
}

// What no register writes into a line: a control byte but the tab, the line feed and the
// carriage return, DEL, and a carriage return that no line feed follows.
bool holdsNoise(const char *begin, const char *end, const char *lineEnd)
{
    for (const char *at = begin; at != end; ++at) {
        const auto byte = static_cast<quint8>(*at);
        if (byte == '\r' ? at + 1 == lineEnd || at[1] != '\n'
                         : byte == 0x7F || (byte < ' ' && byte != '\t' && byte != '\n'))
            return true;
    }
    return false;
}

// Whether the decrypted line reads as noise where block offset of it begins: the noise that a lost
// line feed leaves is the damaged record's last block, with the carriage return that stood before
// the line feed, and the block of the next record that chains to it. Sixteen random bytes hold a
// byte that no register writes with a chance of 86 %; where they do not, they hold six bytes
// beyond ASCII or more with a chance of 97 %.
bool noiseAround(const char *line, int offset, int length)
{
    const char *const start = line + offset;
    const char *const end = line + std::min(offset + AesBlockSize, length);
    return holdsNoise(start - AesBlockSize, end, line + length)
        || std::count_if(start, end, [](char byte) { return static_cast<quint8>(byte) >= 0x80; }) >= ForeignBytesInNoise;
}

} // namespace

bool readsAsLineStart(const char *block)
{
    return startsWithRegisterNumber(block, AesBlockSize) && textBytes(bytes(block)) >= AesBlockSize - ForeignBytesInText;
}

// Noise fails this at its first bytes mostly, so that the test costs little at every offset.
bool opensTextLine(const char *block)
{
    for (int i = 0; i < AesBlockSize; ++i) {
        if (block[i] == '\n')
            return true;
        if (!isAsciiText(block[i]) && !(block[i] == '\r' && i + 1 < AesBlockSize && block[i + 1] == '\n'))
            return false;
    }
    return true;
}

bool opensTableLine(const char *block)
{
    const char *const end = block + AesBlockSize;
    // Decoded, the line starts behind a byte-order mark.
    const char *field = block + (std::memcmp(block, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0);
    const char *separator = std::find(field, end, ';');
    if (!startsWithRegisterNumber(field, 1) || !std::all_of(field, separator, isAsciiText))
        return false;
    const char *digits = separator == end ? end : separator + 1;
    const char *behind = std::find_if_not(digits, end, [](char c) { return c >= '0' && c <= '9'; });
    if (behind == digits || behind == end || *behind != ';')
        return false;
    // The register's name may follow, with a letter beyond ASCII in it.
    const auto foreign = std::count_if(behind, end, [](char c) { return static_cast<quint8>(c) >= 0x80; });
    return foreign <= ForeignBytesInName
        && std::all_of(behind, end, [](char c) { return isAsciiText(c) || static_cast<quint8>(c) >= 0x80; });
}

bool startsLine(const char *record, bool blockBefore)
{
    quint8 first[AesBlockSize];
    decryptBlocks(bytes(record), first, 0, 1);
    const char *block = reinterpret_cast<const char *>(first);
    return (readsAsLineStart(block) || opensTextLine(block)) && !(blockBefore && continuesRecordBefore(record));
}

bool continuesRecordBefore(const char *record)
{
    quint8 plain[2 * AesBlockSize];
    decryptBlocks(bytes(record), plain, 0, 1);
    decryptBlocks(bytes(record - AesBlockSize), plain, 1, 1);
    return textBytes(plain + AesBlockSize) > textBytes(plain);
}

// A record whose line feed was lost reads on into the next record: the next record's first block,
// chained to the damaged one, decrypts to noise, and its other blocks to its line. Two things tell
// such a start from a block in the middle of a line that the register wrote whole, and both must
// hold:
// - The block decrypted with the initialisation vector opens a table line. In the middle of a
//   line that decryption is as good as random, and sixteen random bytes open a table line with a
//   chance of 2.1e-10: the sum, over the places a < b of the two separators, of 18/256 (a register
//   number) * (95/256)^(a-1) (the rest of the first field) * (1/256)^2 (the separators) *
//   (10/256)^(b-a-1) (the digits) * the chance that the 15-b bytes behind are text with at most
//   two bytes beyond ASCII among them, sum over k <= 2 of C(15-b, k) (128/256)^k (96/256)^(15-b-k).
// - The line reads as noise around the start (noiseAround()). In the middle of a line written
//   whole these bytes are the register's text, which holds no control byte, and six letters
//   beyond ASCII in a block seldom: German text in UTF-8, three umlauts in 16 bytes, once in
//   some 5000 blocks.
// So a block of an undamaged line is split with a chance below 2.1e-10 * 2e-4, about 4e-14.
bool startsRecordInLine(const char *record, const char *line, int offset, int length)
{
    if (!noiseAround(line, offset, length))
        return false;
    quint8 first[AesBlockSize];
    decryptBlocks(bytes(record), first, 0, 1);
    return opensTableLine(reinterpret_cast<const char *>(first));
}

bool isTextLine(const char *line, int length)
{
    if (length < AesBlockSize || line[length - 1] != '\n')
        return false;
    const char *const text = line + length - 1 - (line[length - 2] == '\r');
    return std::all_of(line, text, isAsciiText);
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
