#include "aes_p.h"

#include <QtEndian>

#include <atomic>

namespace fiscora {

namespace {

// The cash register encrypts its journal records and its index file under this one key and
// initialisation vector, their ASCII bytes used as they stand.
constexpr quint8 FixedKey[AesBlockSize] = {'R', 'q', '4', '#', 'T', 'z', '8', '!',
                                           'L', 'm', '2', 'x', 'V', 'b', '7', '$'};
constexpr quint8 FixedIv[AesBlockSize] = {'c', '5', 'N', '*', 'h', 'W', '0', 'p',
                                          'J', '3', 's', '&', 'G', 'e', '9', 'k'};

constexpr int RoundKeyBytes = (AesRounds + 1) * AesBlockSize;
constexpr int ColumnCount = 4;

// Multiplication by x in GF(2^8), reduced by the AES polynomial x^8 + x^4 + x^3 + x + 1.
constexpr quint8 xtime(quint8 a)
{
    return quint8((a << 1) ^ ((a & 0x80) ? 0x1b : 0x00));
}

constexpr quint8 multiply(quint8 a, quint8 b)
{
    quint8 product = 0;
    for (; b != 0; b >>= 1, a = xtime(a)) {
        if (b & 1)
            product ^= a;
    }
    return product;
}

constexpr quint8 rotateLeft(quint8 a, int bits)
{
    return quint8((a << bits) | (a >> (8 - bits)));
}

constexpr quint32 rotateRight(quint32 a, int bits)
{
    return (a >> bits) | (a << (32 - bits));
}

// Columns are held as big-endian words, row 0 in the top byte, whatever the host's byte order.
constexpr quint8 row(quint32 column, int index)
{
    return quint8(column >> (24 - 8 * index));
}

constexpr quint32 bigEndianWord(const quint8 *bytes)
{
    return quint32(bytes[0]) << 24 | quint32(bytes[1]) << 16 | quint32(bytes[2]) << 8 | bytes[3];
}

struct Tables
{
    quint8 sbox[256];
    quint8 inverseSbox[256];
    // InvMixColumns of a column that holds InvSubBytes(x) in row 0 and zeros elsewhere. The same
    // byte in row r gives this word rotated right by 8 * r bits, so one table serves all rows.
    quint32 td[256];
};

constexpr Tables makeTables()
{
    Tables tables{};
    // The powers of 0x03 run through every non-zero element of the field; their logarithms give
    // the multiplicative inverses on which the S-box is built.
    quint8 power[255]{};
    quint8 logarithm[256]{};
    quint8 value = 1;
    for (int exponent = 0; exponent < 255; ++exponent) {
        power[exponent] = value;
        logarithm[value] = quint8(exponent);
        value = quint8(value ^ xtime(value));
    }
    for (int x = 0; x < 256; ++x) {
        const quint8 inverse = x == 0 ? 0 : power[(255 - logarithm[x]) % 255];
        const quint8 s = quint8(inverse ^ rotateLeft(inverse, 1) ^ rotateLeft(inverse, 2)
                                ^ rotateLeft(inverse, 3) ^ rotateLeft(inverse, 4) ^ 0x63);
        tables.sbox[x] = s;
        tables.inverseSbox[s] = quint8(x);
    }
    for (int x = 0; x < 256; ++x) {
        const quint8 s = tables.inverseSbox[x];
        tables.td[x] = quint32(multiply(s, 0x0e)) << 24 | quint32(multiply(s, 0x09)) << 16
                | quint32(multiply(s, 0x0d)) << 8 | multiply(s, 0x0b);
    }
    return tables;
}

constexpr Tables tables = makeTables();

// One round of the equivalent inverse cipher (FIPS-197, 5.3.5) for one output column: InvShiftRows
// brings row 0 from column a, row 1 from b, row 2 from c and row 3 from d.
constexpr quint32 inverseRound(quint32 a, quint32 b, quint32 c, quint32 d, quint32 roundKey)
{
    return tables.td[row(a, 0)] ^ rotateRight(tables.td[row(b, 1)], 8)
            ^ rotateRight(tables.td[row(c, 2)], 16) ^ rotateRight(tables.td[row(d, 3)], 24)
            ^ roundKey;
}

// The last round has no InvMixColumns.
constexpr quint32 inverseLastRound(quint32 a, quint32 b, quint32 c, quint32 d, quint32 roundKey)
{
    return (quint32(tables.inverseSbox[row(a, 0)]) << 24
            | quint32(tables.inverseSbox[row(b, 1)]) << 16
            | quint32(tables.inverseSbox[row(c, 2)]) << 8 | tables.inverseSbox[row(d, 3)])
            ^ roundKey;
}

// InvMixColumns of one round key column. The Td table undoes SubBytes first, so the column goes
// through the S-box before it is looked up.
constexpr quint32 inverseMixColumn(quint32 column)
{
    const quint32 substituted = quint32(tables.sbox[row(column, 0)]) << 24
            | quint32(tables.sbox[row(column, 1)]) << 16 | quint32(tables.sbox[row(column, 2)]) << 8
            | tables.sbox[row(column, 3)];
    return inverseRound(substituted, substituted, substituted, substituted, 0);
}

// FIPS-197 KeyExpansion for a 128-bit key, round 0 first.
struct RoundKeys
{
    quint8 bytes[RoundKeyBytes];
};

constexpr RoundKeys expandKey(const quint8 *key)
{
    RoundKeys roundKeys{};
    for (int i = 0; i < AesBlockSize; ++i)
        roundKeys.bytes[i] = key[i];
    quint8 roundConstant = 0x01;
    for (int i = AesBlockSize; i < RoundKeyBytes; i += 4) {
        quint8 word[4] = {roundKeys.bytes[i - 4], roundKeys.bytes[i - 3], roundKeys.bytes[i - 2],
                          roundKeys.bytes[i - 1]};
        if (i % AesBlockSize == 0) {
            // RotWord, SubWord and the round constant start every round key.
            const quint8 first = word[0];
            word[0] = quint8(tables.sbox[word[1]] ^ roundConstant);
            word[1] = tables.sbox[word[2]];
            word[2] = tables.sbox[word[3]];
            word[3] = tables.sbox[first];
            roundConstant = xtime(roundConstant);
        }
        for (int j = 0; j < 4; ++j)
            roundKeys.bytes[i + j] = quint8(roundKeys.bytes[i - AesBlockSize + j] ^ word[j]);
    }
    return roundKeys;
}

// The round keys of the equivalent inverse cipher, in the order it uses them.
struct PortableDecryptionKeys
{
    quint32 words[(AesRounds + 1) * ColumnCount];
};

constexpr PortableDecryptionKeys portableDecryptionKeys(const RoundKeys &roundKeys)
{
    PortableDecryptionKeys keys{};
    for (int round = 0; round <= AesRounds; ++round) {
        for (int column = 0; column < ColumnCount; ++column) {
            const quint32 word = bigEndianWord(roundKeys.bytes + AesBlockSize * (AesRounds - round)
                                               + 4 * column);
            const bool outer = round == 0 || round == AesRounds;
            keys.words[ColumnCount * round + column] = outer ? word : inverseMixColumn(word);
        }
    }
    return keys;
}

void portableCbcDecrypt(const PortableDecryptionKeys &keys, const quint8 *in, quint8 *out,
                        const quint8 *previous, quint32 blocks)
{
    quint32 chain[ColumnCount];
    for (int column = 0; column < ColumnCount; ++column)
        chain[column] = qFromBigEndian<quint32>(previous + 4 * column);
    for (; blocks != 0; --blocks, in += AesBlockSize, out += AesBlockSize) {
        // The ciphertext is read whole before the plaintext is written, so in may be out.
        quint32 cipher[ColumnCount];
        quint32 state[ColumnCount];
        for (int column = 0; column < ColumnCount; ++column) {
            cipher[column] = qFromBigEndian<quint32>(in + 4 * column);
            state[column] = cipher[column] ^ keys.words[column];
        }
        for (int round = 1; round < AesRounds; ++round) {
            const quint32 *roundKey = keys.words + ColumnCount * round;
            const quint32 s0 = state[0], s1 = state[1], s2 = state[2], s3 = state[3];
            state[0] = inverseRound(s0, s3, s2, s1, roundKey[0]);
            state[1] = inverseRound(s1, s0, s3, s2, roundKey[1]);
            state[2] = inverseRound(s2, s1, s0, s3, roundKey[2]);
            state[3] = inverseRound(s3, s2, s1, s0, roundKey[3]);
        }
        const quint32 *lastKey = keys.words + ColumnCount * AesRounds;
        const quint32 s0 = state[0], s1 = state[1], s2 = state[2], s3 = state[3];
        state[0] = inverseLastRound(s0, s3, s2, s1, lastKey[0]);
        state[1] = inverseLastRound(s1, s0, s3, s2, lastKey[1]);
        state[2] = inverseLastRound(s2, s1, s0, s3, lastKey[2]);
        state[3] = inverseLastRound(s3, s2, s1, s0, lastKey[3]);
        for (int column = 0; column < ColumnCount; ++column) {
            qToBigEndian<quint32>(state[column] ^ chain[column], out + 4 * column);
            chain[column] = cipher[column];
        }
    }
}

// The fixed key never changes, so its schedules are derived once: the portable one by the
// compiler, the AES-NI one on first use.
constexpr RoundKeys fixedRoundKeys = expandKey(FixedKey);
constexpr PortableDecryptionKeys fixedPortableKeys = portableDecryptionKeys(fixedRoundKeys);

// Only the tests switch the AES-NI path off; relaxed order suffices for a flag that they set
// between runs.
std::atomic<bool> aesNiEnabled{true};

#if FISCORA_AES_NI
bool useAesNi()
{
    return aesNiEnabled.load(std::memory_order_relaxed) && aesdetail::aesNiAvailable();
}
#endif

void fixedCbcDecrypt(const quint8 *in, quint8 *out, const quint8 *previous, quint32 blocks)
{
#if FISCORA_AES_NI
    if (useAesNi()) {
        static const aesdetail::NiDecryptionKeys keys =
                aesdetail::niDecryptionKeys(fixedRoundKeys.bytes);
        aesdetail::niCbcDecrypt(keys, in, out, previous, blocks);
        return;
    }
#endif
    portableCbcDecrypt(fixedPortableKeys, in, out, previous, blocks);
}

} // namespace

namespace aesdetail {

bool aesNiAvailable()
{
#if FISCORA_AES_NI
    // Initialised explicitly in case the first call comes from a static constructor that runs
    // before the runtime's own, which fills in the processor's features.
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("aes") != 0;
    }();
    return available;
#else
    return false;
#endif
}

void setAesNiEnabled(bool enabled)
{
    aesNiEnabled.store(enabled, std::memory_order_relaxed);
}

} // namespace aesdetail

void aesCbcDecrypt(quint8 *buffer, quint32 count, const quint8 *key, const quint8 *iv)
{
    // Rounded up without count + 15, which would overflow at the top of the range.
    const quint32 blocks = count / AesBlockSize + (count % AesBlockSize != 0 ? 1 : 0);
    if (blocks == 0)
        return;
    const RoundKeys roundKeys = expandKey(key);
#if FISCORA_AES_NI
    if (useAesNi()) {
        aesdetail::niCbcDecrypt(aesdetail::niDecryptionKeys(roundKeys.bytes), buffer, buffer, iv,
                                blocks);
        return;
    }
#endif
    portableCbcDecrypt(portableDecryptionKeys(roundKeys), buffer, buffer, iv, blocks);
}

qint32 decryptBuffer(quint8 *buffer, qint32 length)
{
    if (length <= 0)
        return 0;
    // A short tail still decrypts a whole block: the caller's window supplies the bytes after it.
    const qint32 decrypted = qMax(length & ~(AesBlockSize - 1), AesBlockSize);
    fixedCbcDecrypt(buffer, buffer, FixedIv, quint32(decrypted / AesBlockSize));
    return decrypted;
}

void decryptBlocks(const quint8 *chain, quint8 *plain, int firstBlock, int blockCount)
{
    if (blockCount <= 0)
        return;
    const quint8 *previous = firstBlock == 0 ? FixedIv : chain + AesBlockSize * (firstBlock - 1);
    fixedCbcDecrypt(chain + AesBlockSize * firstBlock, plain + AesBlockSize * firstBlock, previous,
                    quint32(blockCount));
}

} // namespace fiscora
