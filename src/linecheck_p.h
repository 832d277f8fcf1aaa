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
 * QString::toInt (the line number), and its last field ends with "\r\n".
 *
 * The verdict is decided on the bytes; only a line number holding bytes beyond ASCII is handed
 * to QString::toInt itself, whose treatment of Unicode white space and signs is not worth
 * restating.
 */
LineVerdict checkLine(const char *line, int length);

} // namespace fiscora

#endif // FISCORA_LINECHECK_P_H
