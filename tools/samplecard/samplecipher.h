#ifndef FISCORA_SAMPLECIPHER_H
#define FISCORA_SAMPLECIPHER_H

#include <QByteArray>

/*!
 * The encrypting side of a cash register: what the register writes onto its SD card, for test
 * fixtures, benchmarks and sample cards. It encrypts with OpenSSL; the library itself only
 * decrypts, and holds its own copy of the key.
 *
 * \code
 * QByteArray data;
 * for (const QByteArray &line : lines)
 *     data += fiscora::sample::encryptRecord(line);        // a monthly data file
 * const QByteArray index = fiscora::sample::encryptIndexFile(bitmap);
 * \endcode
 *
 * Every function may run in several threads at once.
 */
namespace fiscora::sample {

constexpr int BlockSize = 16;

//! The register's AES-128 key: these 16 ASCII bytes ("Rq4#Tz8!Lm2xVb7$") as they stand.
inline constexpr unsigned char Key[BlockSize] = {'R', 'q', '4', '#', 'T', 'z', '8', '!',
                                                 'L', 'm', '2', 'x', 'V', 'b', '7', '$'};

//! The register's initialisation vector: these 16 ASCII bytes ("c5N*hW0pJ3s&Ge9k") as they stand.
inline constexpr unsigned char Iv[BlockSize] = {'c', '5', 'N', '*', 'h', 'W', '0', 'p',
                                                'J', '3', 's', '&', 'G', 'e', '9', 'k'};

//! The register's index file restarts its chain at the initialisation vector every this many bytes.
constexpr int IndexPieceSize = 256;

/*!
 * Encrypts \a plain with AES-128 in CBC mode under Key, the chain starting at Iv, without
 * padding. The size of \a plain must be a multiple of BlockSize; otherwise this warns and
 * returns an empty array.
 */
QByteArray encryptCbc(const QByteArray &plain);

/*!
 * Returns one journal record as the register writes it: \a line (normally at most 256 bytes,
 * ending in "\r\n") followed by \a padByte up to the next multiple of BlockSize (none when its
 * size is one already), encrypted on its own, the chain starting at Iv. Longer lines are
 * encrypted just the same, so that fixtures can hold records that the reader must refuse.
 */
QByteArray encryptRecord(const QByteArray &line, char padByte = 0);

/*!
 * Returns the register's index file for \a bitmap: the bitmap, zero-padded to a multiple of
 * BlockSize, encrypted in consecutive pieces of IndexPieceSize bytes (the last one may be
 * shorter), each piece's chain starting at Iv.
 */
QByteArray encryptIndexFile(const QByteArray &bitmap);

} // namespace fiscora::sample

#endif // FISCORA_SAMPLECIPHER_H
