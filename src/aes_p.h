#ifndef FISCORA_AES_P_H
#define FISCORA_AES_P_H

#include <QtGlobal>

// AES-128 decryption in CBC mode (FIPS-197, NIST SP 800-38A). Internal to the library: it only
// ever decrypts, and its symbols are not exported. The tables and the expanded fixed key are
// read-only after their first use, so every function here may run in several threads at once.

// The AES-NI path exists where aes_ni.cpp is built with -maes (src/CMakeLists.txt); elsewhere the
// portable path is the only one.
#if (defined(__x86_64__) || defined(_M_X64)) && (defined(__GNUC__) || defined(__clang__))
#define FISCORA_AES_NI 1
#else
#define FISCORA_AES_NI 0
#endif

namespace fiscora {

constexpr int AesBlockSize = 16;
constexpr int AesRounds = 10;

/*!
 * Decrypts ceil(count / 16) blocks of \a buffer in place, the chain starting at \a iv.
 * A count that is not a multiple of 16 is rounded up; a count of 0 decrypts nothing.
 */
void aesCbcDecrypt(quint8 *buffer, quint32 count, const quint8 *key, const quint8 *iv);

/*!
 * Decrypts \a buffer in place with the library's fixed key, the chain starting at its fixed
 * initialisation vector, and returns how many bytes it decrypted: 0 for a length of 0; 16 for a
 * length of 1 to 15 (the buffer must then hold 16 bytes); otherwise the length rounded down to
 * a multiple of 16, the remaining bytes left as they are.
 */
qint32 decryptBuffer(quint8 *buffer, qint32 length);

/*!
 * Decrypts blocks \a firstBlock to \a firstBlock + \a blockCount - 1 of the chain that begins at
 * \a chain (fixed key, chain starting at the fixed initialisation vector) into the same block
 * positions of \a plain. The ciphertext stays untouched, so a caller can decrypt a record block
 * group by block group, only as far as it needs, with the very bytes that decrypting the whole
 * window at once gives. \a chain and \a plain must not overlap.
 */
void decryptBlocks(const quint8 *chain, quint8 *plain, int firstBlock, int blockCount);

namespace aesdetail {

/*!
 * True when this build has the AES-NI path and the processor has the AES instructions. The
 * functions above then use that path unless setAesNiEnabled(false) was called.
 */
bool aesNiAvailable();

/*!
 * Chooses between the AES-NI path (\a enabled, the default, and only where aesNiAvailable()) and
 * the portable path, for every thread, from the next call on. It exists so that the tests can
 * check both paths on one machine; the library never calls it.
 */
void setAesNiEnabled(bool enabled);

#if FISCORA_AES_NI
// The AES-NI path (aes_ni.cpp). aes.cpp calls it only where aesNiAvailable().

//! Round keys in the order and form that the decryption instructions take them.
struct alignas(16) NiDecryptionKeys
{
    quint8 bytes[(AesRounds + 1) * AesBlockSize];
};

//! Derives the decryption round keys from the FIPS-197 key expansion (176 bytes, round 0 first).
NiDecryptionKeys niDecryptionKeys(const quint8 *roundKeys);

/*!
 * CBC-decrypts \a blocks blocks from \a in to \a out, the chain starting at \a previous (the
 * initialisation vector or the ciphertext block before \a in). \a out may be \a in for in-place
 * decryption; otherwise they must not overlap.
 */
void niCbcDecrypt(const NiDecryptionKeys &keys, const quint8 *in, quint8 *out,
                  const quint8 *previous, quint32 blocks);
#endif

} // namespace aesdetail

} // namespace fiscora

#endif // FISCORA_AES_P_H
