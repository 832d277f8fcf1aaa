#include "aes_p.h"

#if FISCORA_AES_NI

#if !defined(__AES__)
#error "aes_ni.cpp must be compiled with -maes (src/CMakeLists.txt adds it on x86-64)"
#endif

#include <wmmintrin.h>

// This file is compiled with -maes -mssse3. It must not call inline functions from other headers
// (Qt's, the standard library's): the copy emitted here could contain those instructions, and the
// linker may pick it for the whole program, also on processors that lack them.

namespace fiscora::aesdetail {

namespace {

inline __m128i load(const quint8 *bytes)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes));
}

inline void store(quint8 *bytes, __m128i block)
{
    _mm_storeu_si128(reinterpret_cast<__m128i *>(bytes), block);
}

// Decrypts N consecutive blocks side by side. A block's rounds depend on each other, but CBC
// decryption makes the blocks independent, so the rounds of N blocks fill the pipeline where a
// single block would wait for each round's result. All ciphertext is loaded before anything is
// stored, which lets out be in. The loops are unrolled completely so that the blocks stay in
// registers: as arrays on the stack they ran at less than half the speed.
template<int N>
inline void decryptGroup(const __m128i *keys, const quint8 *in, quint8 *out, __m128i &previous)
{
    __m128i cipher[N];
    __m128i state[N];
#pragma GCC unroll 4
    for (int i = 0; i < N; ++i) {
        cipher[i] = load(in + AesBlockSize * i);
        state[i] = _mm_xor_si128(cipher[i], keys[0]);
    }
#pragma GCC unroll 9
    for (int round = 1; round < AesRounds; ++round) {
        const __m128i key = keys[round];
#pragma GCC unroll 4
        for (int i = 0; i < N; ++i)
            state[i] = _mm_aesdec_si128(state[i], key);
    }
#pragma GCC unroll 4
    for (int i = 0; i < N; ++i) {
        const __m128i chained = i == 0 ? previous : cipher[i - 1];
        store(out + AesBlockSize * i,
              _mm_xor_si128(_mm_aesdeclast_si128(state[i], keys[AesRounds]), chained));
    }
    previous = cipher[N - 1];
}

} // namespace

NiDecryptionKeys niDecryptionKeys(const quint8 *roundKeys)
{
    // aesdec implements the equivalent inverse cipher: it takes the round keys last to first,
    // those between the outer two with InvMixColumns applied.
    NiDecryptionKeys keys;
    auto *decryptionKeys = reinterpret_cast<__m128i *>(keys.bytes);
    decryptionKeys[0] = load(roundKeys + AesBlockSize * AesRounds);
    for (int round = 1; round < AesRounds; ++round) {
        const quint8 *roundKey = roundKeys + AesBlockSize * (AesRounds - round);
        decryptionKeys[round] = _mm_aesimc_si128(load(roundKey));
    }
    decryptionKeys[AesRounds] = load(roundKeys);
    return keys;
}

void niCbcDecrypt(const NiDecryptionKeys &keys, const quint8 *in, quint8 *out,
                  const quint8 *previous, quint32 blocks)
{
    const auto *roundKeys = reinterpret_cast<const __m128i *>(keys.bytes);
    __m128i chain = load(previous);
    constexpr int Wide = 4;
    for (; blocks >= Wide; blocks -= Wide, in += Wide * AesBlockSize, out += Wide * AesBlockSize)
        decryptGroup<Wide>(roundKeys, in, out, chain);
    // Interleaving a shorter remainder gains nothing measurable: the processor already overlaps
    // the independent blocks of consecutive single-block steps.
    for (; blocks != 0; --blocks, in += AesBlockSize, out += AesBlockSize)
        decryptGroup<1>(roundKeys, in, out, chain);
}

} // namespace fiscora::aesdetail

#endif // FISCORA_AES_NI
