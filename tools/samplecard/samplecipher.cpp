#include "samplecipher.h"

#include <QtDebug>

#include <openssl/evp.h>

#include <algorithm>
#include <memory>

namespace fiscora::sample {

namespace {

struct ContextFree
{
    void operator()(EVP_CIPHER_CTX *context) const { EVP_CIPHER_CTX_free(context); }
};

// Benchmarks encrypt millions of records: each thread keeps one context whose key schedule is set
// up once, and every piece only puts the chain back to the initialisation vector.
EVP_CIPHER_CTX *keyedContext()
{
    thread_local const std::unique_ptr<EVP_CIPHER_CTX, ContextFree> context = [] {
        std::unique_ptr<EVP_CIPHER_CTX, ContextFree> created(EVP_CIPHER_CTX_new());
        EVP_CIPHER_CTX *ctx = created.get();
        if (!ctx || EVP_EncryptInit_ex(ctx, EVP_aes_128_cbc(), nullptr, Key, nullptr) != 1
            || EVP_CIPHER_CTX_set_padding(ctx, 0) != 1)
            qFatal("OpenSSL cannot set up AES-128-CBC encryption");
        return created;
    }();
    return context.get();
}

// Encrypts data in place, the chain restarting at Iv every pieceSize bytes.
void encryptPieces(QByteArray &data, int pieceSize)
{
    EVP_CIPHER_CTX *context = keyedContext();
    auto *bytes = reinterpret_cast<unsigned char *>(data.data());
    for (int offset = 0; offset < data.size(); offset += pieceSize) {
        const int size = std::min(pieceSize, data.size() - offset);
        int written = 0;
        if (EVP_EncryptInit_ex(context, nullptr, nullptr, nullptr, Iv) != 1
            || EVP_EncryptUpdate(context, bytes + offset, &written, bytes + offset, size) != 1
            || written != size)
            qFatal("OpenSSL failed to encrypt %d bytes", size);
    }
}

QByteArray padded(const QByteArray &data, char padByte)
{
    QByteArray result((data.size() + BlockSize - 1) / BlockSize * BlockSize, padByte);
    std::copy(data.cbegin(), data.cend(), result.begin());
    return result;
}

} // namespace

QByteArray encryptCbc(const QByteArray &plain)
{
    if (plain.size() % BlockSize != 0) {
        qWarning("encryptCbc: %d bytes are no whole number of blocks", plain.size());
        return QByteArray();
    }
    QByteArray result = plain;
    encryptPieces(result, result.size());
    return result;
}

QByteArray encryptRecord(const QByteArray &line, char padByte)
{
    QByteArray result = padded(line, padByte);
    encryptPieces(result, result.size());
    return result;
}

QByteArray encryptIndexFile(const QByteArray &bitmap)
{
    QByteArray result = padded(bitmap, 0);
    encryptPieces(result, IndexPieceSize);
    return result;
}

} // namespace fiscora::sample
