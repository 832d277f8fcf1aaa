#ifndef FISCORA_FUZZINPUT_H
#define FISCORA_FUZZINPUT_H

// How the fuzz targets read their input, and how the seed generator writes it, in one place: a few
// leading bytes choose how a target drives the library, the rest is what the library is given.

#include <QByteArray>
#include <QList>

namespace fuzzinput {

//! The most piece sizes an input names; with none, a stream is handed over whole only.
constexpr int MostPieceSizes = 3;
//! Pieces of up to a few windows cross records at every offset within them.
constexpr int LargestPiece = 2048;

//! The bytes of an input not yet taken.
struct Input
{
    const quint8 *data;
    size_t size;

    //! The next byte; 0 once the input is used up, so that every input reads as some choice.
    int takeByte()
    {
        if (size == 0)
            return 0;
        --size;
        return *data++;
    }
    int takeWord()
    {
        const int high = takeByte();
        return high << 8 | takeByte();
    }
    QByteArray rest() const { return QByteArray(reinterpret_cast<const char *>(data), int(size)); }
};

//! A count byte (modulo MostPieceSizes + 1), then that many sizes, each two bytes, big-endian.
inline QList<int> takePieceSizes(Input &input)
{
    QList<int> sizes;
    for (int count = input.takeByte() % (MostPieceSizes + 1); count > 0; --count)
        sizes << 1 + input.takeWord() % LargestPiece;
    return sizes;
}

inline QByteArray word(int value)
{
    return QByteArray(1, char(value >> 8)) + char(value & 0xFF);
}

inline QByteArray pieceSizes(const QList<int> &sizes)
{
    QByteArray bytes(1, char(sizes.size()));
    for (const int size : sizes)
        bytes += word(size - 1);
    return bytes;
}

//! fuzz_recordstream: a byte whose lowest bit skips the line check, piece sizes, the stream.
enum StreamFlag { SkipLineCheck = 1 };

inline QByteArray streamInput(int flags, const QList<int> &sizes, const QByteArray &stream)
{
    return char(flags) + pieceSizes(sizes) + stream;
}

//! fuzz_journal: piece sizes, then text whose lines become the journal's lines.
inline QByteArray journalInput(const QList<int> &sizes, const QByteArray &text)
{
    return pieceSizes(sizes) + text;
}

/*!
 * fuzz_indexfile: a byte of IndexFlag; the first month of the date span, counted from January 2016,
 * in three bytes, big-endian, modulo MonthsInSpanField; how many months the last lies behind it, in
 * a signed byte; a byte whose bit n % 8 lists the data file of month n, if it lies in the span; then
 * the index file, or the bitmap that the register encrypts into it.
 */
enum IndexFlag { PlainBitmap = 1, NoFromDate = 2, NoToDate = 4 };
//! Beyond December 9999, where no index reaches.
constexpr int MonthsInSpanField = 100000;

inline QByteArray indexInput(int flags, int firstMonth, int lastMonth, int listed, const QByteArray &file)
{
    const QByteArray first = QByteArray(1, char(firstMonth >> 16)) + word(firstMonth & 0xFFFF);
    return char(flags) + first + char(lastMonth - firstMonth) + char(listed) + file;
}

} // namespace fuzzinput

#endif // FISCORA_FUZZINPUT_H
