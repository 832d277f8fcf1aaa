#ifndef FISCORA_RECORDSTART_P_H
#define FISCORA_RECORDSTART_P_H

namespace fiscora {

// Where a record starts, told from the bytes alone. The records of a journal lie one behind the
// other without lengths, each encrypted on its own, its chain starting at the initialisation
// vector; so at the start of a record, its first block decrypts to the start of a line. A
// damaged record or a month file cut short hides where the next record starts, and these tests
// find it again. Each test reads 16 bytes at the block it is given, and those that look at the
// block before read the 16 bytes before it too.

/*!
 * Whether the decrypted 16-byte \a block reads as the first block of a table line: a register
 * number (behind a byte-order mark if there is one), then text, with room for a few letters
 * beyond ASCII.
 */
bool readsAsLineStart(const char *block);

/*!
 * Whether the decrypted 16-byte \a block reads as the start of a line of plain text, whatever its
 * first field holds: printable ASCII and tabs up to its line feed, if it holds one.
 */
bool opensTextLine(const char *block);

/*!
 * Whether the decrypted 16-byte \a block reads as the start of a table line without a doubt: a
 * register number (behind a byte-order mark if there is one), the rest of the first field, ";",
 * the digits of the line number and ";", and text up to the end of the block, with room for one
 * letter beyond ASCII.
 */
bool opensTableLine(const char *block);

/*!
 * Whether the encrypted block at \a record, decrypted with the library's key and initialisation
 * vector, reads as the start of a table line or of a line of plain text, and not as noise in the
 * middle of one. With
 * \a blockBefore, the 16 bytes before \a record are read too.
 */
bool startsLine(const char *record, bool blockBefore);

/*!
 * Whether the encrypted block at \a record lies inside a record: decrypted with the 16 bytes
 * before it as its chain, it reads more like text than with the initialisation vector. An
 * offset 16 * k inside a record decrypts to a block of noise followed by the true rest of that
 * record's line; with the block before it as its chain it reads as the middle of that line.
 */
bool continuesRecordBefore(const char *record);

/*!
 * Whether a record starts at block \a offset (a multiple of 16, at least 16) of the decrypted
 * \a line of \a length bytes, whose record lies at \a record: whether the line feed of the
 * record before was lost, so that its line reads on into the next record.
 */
bool startsRecordInLine(const char *record, const char *line, int offset, int length);

/*!
 * Whether the \a length bytes of a decrypted \a line are a line of text from its first byte to its
 * line feed, at least a block long: what a record that fails the line check but decrypts whole
 * holds, and sixteen bytes of noise seldom do.
 */
bool isTextLine(const char *line, int length);

/*!
 * Whether [\a begin, \a end) holds a byte below the space or above 127. A table line seldom has
 * one before its "\r\n", sixteen bytes of noise nearly always; the test takes eight bytes at a time.
 */
bool holdsNonAscii(const char *begin, const char *end);

//! Whether [\a begin, \a end) holds a control character other than a tab, as no table line does.
bool holdsControlBytes(const char *begin, const char *end);

} // namespace fiscora

#endif // FISCORA_RECORDSTART_P_H
