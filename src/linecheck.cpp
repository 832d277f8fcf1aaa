#include "linecheck_p.h"

#include <QString>

#include <climits>
#include <cstring>

namespace fiscora {

namespace {

constexpr int MinimumFields = 15;
// QString::fromUtf8 drops a byte-order mark at the start of what it decodes, and only there.
constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int ByteOrderMarkSize = 3;

bool startsWithByteOrderMark(const char *begin, const char *end)
{
    return end - begin >= ByteOrderMarkSize && std::memcmp(begin, ByteOrderMark, ByteOrderMarkSize) == 0;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isRegisterNumber(char c)
{
    return isDigit(c) || (c >= 'A' && c <= 'H');
}

// The ASCII white space that QString::toInt trims.
bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isAscii(const char *begin, const char *end)
{
    for (; begin != end; ++begin) {
        if (static_cast<signed char>(*begin) < 0)
            return false;
    }
    return true;
}

// QString::toInt in base 10 on ASCII text: white space around the number, one optional sign,
// at least one digit, and a value within the range of int.
bool isAsciiInt(const char *begin, const char *end)
{
    while (begin != end && isSpace(*begin))
        ++begin;
    while (end != begin && isSpace(end[-1]))
        --end;
    const bool negative = begin != end && *begin == '-';
    if (begin != end && (*begin == '-' || *begin == '+'))
        ++begin;
    if (begin == end)
        return false;
    const qint64 limit = negative ? -qint64(INT_MIN) : INT_MAX;
    qint64 value = 0;
    for (; begin != end; ++begin) {
        // Once out of range the number is refused, whatever follows.
        if (!isDigit(*begin) || value > limit)
            return false;
        value = value * 10 + (*begin - '0');
    }
    return value <= limit;
}

bool isLineNumber(const char *begin, const char *end)
{
    if (isAscii(begin, end))
        return isAsciiInt(begin, end);
    // Decoding the field alone gives the same characters as decoding the whole line: a ";"
    // always ends a multi-byte sequence, and every ASCII byte decodes to itself. Only a
    // byte-order mark would be dropped at the field's start, where the whole line keeps it as
    // U+FEFF, which is no number.
    if (startsWithByteOrderMark(begin, end))
        return false;
    bool ok = false;
    QString::fromUtf8(begin, int(end - begin)).toInt(&ok, 10);
    return ok;
}

// Whether [begin, end) holds at least wanted ";". Every record's line is counted, so eight bytes
// are looked at in one go: a byte of the word XORed with ";" is zero exactly where a ";" was,
// and the sum below sets the top bit of every byte that is not zero.
bool hasSeparators(const char *begin, const char *end, int wanted)
{
    constexpr quint64 Ones = 0x0101010101010101ULL;
    constexpr quint64 LowBits = 0x7F7F7F7F7F7F7F7FULL;
    int found = 0;
    for (; end - begin >= 8 && found < wanted; begin += 8) {
        quint64 word;
        std::memcpy(&word, begin, sizeof word);
        const quint64 x = word ^ (Ones * ';');
        const quint64 separators = ~(((x & LowBits) + LowBits) | x | LowBits);
        found += int((separators >> 7) * Ones >> 56);
    }
    for (; begin != end && found < wanted; ++begin)
        found += *begin == ';';
    return found >= wanted;
}

} // namespace

LineVerdict checkLine(const char *line, int length)
{
    if (const void *zero = std::memchr(line, '\0', size_t(length)))
        length = int(static_cast<const char *>(zero) - line);
    const char *const end = line + length;

    // The second field lies between the first two separators; the rest only need counting.
    const auto *first = static_cast<const char *>(std::memchr(line, ';', size_t(length)));
    const auto *second = first ? static_cast<const char *>(std::memchr(first + 1, ';', size_t(end - first - 1)))
                               : nullptr;
    if (!second || !hasSeparators(second + 1, end, MinimumFields - 3))
        return LineVerdict::TooFewFields;
    const bool endsWithCrLf = length >= 2 && end[-2] == '\r' && end[-1] == '\n';
    const bool valid = startsWithRegisterNumber(line, length) && endsWithCrLf && isLineNumber(first + 1, second);
    return valid ? LineVerdict::Valid : LineVerdict::Damaged;
}

bool startsWithRegisterNumber(const char *line, int length)
{
    // Decoded, the line starts behind a byte-order mark; its bytes are written as they are.
    const int first = startsWithByteOrderMark(line, line + length) ? ByteOrderMarkSize : 0;
    return first < length && isRegisterNumber(line[first]);
}

} // namespace fiscora
