#ifndef FISCORA_LINECHECK_P_H
#define FISCORA_LINECHECK_P_H

namespace fiscora {

//! The verdict of the line check on one decrypted table line.
enum class LineVerdict {
    Valid,        //!< a table line: it is written as it stands
    TooFewFields, //!< fewer than 15 fields: only its readable part can be salvaged
    Damaged       //!< 15 fields or more, but a field is wrong: worth a message, then salvaged
};

/*!
 * Checks the \a length bytes of a decrypted \a line. Read as UTF-8 text up to its first zero
 * byte, a table line splits into at least 15 fields at ";", its first field starts with "0" to
 * "9" or "A" to "H" (the register number), its second field is a 32-bit number by the rules of
 * QString::toInt (the line number), and its last field ends with "\r\n". As in QString::fromUtf8,
 * a byte-order mark at the start of the line is not part of the first field, while one inside
 * the line is a character like any other.
 *
 * The verdict is decided on the bytes; only a line number holding bytes beyond ASCII is handed
 * to QString::toInt itself, whose treatment of Unicode white space and signs is not worth
 * restating.
 */
LineVerdict checkLine(const char *line, int length);

/*!
 * Whether the \a length bytes of \a line start with a register number ("0" to "9" or "A" to
 * "H"), behind a byte-order mark if there is one: the first thing that a table line holds.
 */
bool startsWithRegisterNumber(const char *line, int length);

} // namespace fiscora

#endif // FISCORA_LINECHECK_P_H
