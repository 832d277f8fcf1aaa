// AES-128-CBC decryption, every test once per cipher path, checked against the published example
// and against OpenSSL.

#include "aes_p.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <openssl/evp.h>

#include <algorithm>
#include <memory>

using namespace fiscora;

namespace {

// The register's key and initialisation vector once more, so that a wrong byte in the library's
// copy cannot hide behind the same wrong byte in the reference.
const QByteArray RegisterKey = QByteArrayLiteral("Rq4#Tz8!Lm2xVb7$");
const QByteArray RegisterIv = QByteArrayLiteral("c5N*hW0pJ3s&Ge9k");

constexpr int WindowSize = 256;
using Ranges = QVector<QPair<int, int>>;

quint8 *bytes(QByteArray &data)
{
    return reinterpret_cast<quint8 *>(data.data());
}

const quint8 *bytes(const QByteArray &data)
{
    return reinterpret_cast<const quint8 *>(data.constData());
}

QByteArray randomBytes(QRandomGenerator &random, int size)
{
    QByteArray data(size, Qt::Uninitialized);
    std::generate(data.begin(), data.end(), [&random] { return char(random.generate()); });
    return data;
}

// OpenSSL's AES-128-CBC decryption without padding; empty if OpenSSL fails.
QByteArray opensslDecrypt(const QByteArray &cipher, const QByteArray &key = RegisterKey,
                          const QByteArray &iv = RegisterIv)
{
    const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(
            EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    QByteArray plain(cipher.size(), Qt::Uninitialized);
    EVP_CIPHER_CTX *ctx = context.get();
    int written = 0;
    const bool ok = ctx
            && EVP_DecryptInit_ex(ctx, EVP_aes_128_cbc(), nullptr, bytes(key), bytes(iv)) == 1
            && EVP_CIPHER_CTX_set_padding(ctx, 0) == 1
            && EVP_DecryptUpdate(ctx, bytes(plain), &written, bytes(cipher), cipher.size()) == 1
            && written == cipher.size();
    return ok ? plain : QByteArray();
}

} // namespace

class AesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();

    void nistExample_data();
    void nistExample();
    void randomKeysMatchOpenSsl();
    void decryptBufferMatchesOpenSsl_data();
    void decryptBufferMatchesOpenSsl();
    void blockGroupsMatchWholeWindow_data();
    void blockGroupsMatchWholeWindow();
};

void AesTest::initTestCase_data()
{
    QTest::addColumn<bool>("aesNi");
    QTest::newRow("portable") << false;
    QTest::newRow("AES-NI") << true;
}

void AesTest::init()
{
    QFETCH_GLOBAL(bool, aesNi);
    if (aesNi && !aesdetail::aesNiAvailable())
        QSKIP("This processor has no AES instructions, or this build has no AES-NI path");
    aesdetail::setAesNiEnabled(aesNi);
}

void AesTest::nistExample_data()
{
    QTest::addColumn<quint32>("count");
    QTest::addColumn<int>("decryptedBlocks");
    QTest::newRow("all four blocks") << 64u << 4;
    QTest::newRow("count 17 rounds up to two blocks") << 17u << 2;
    QTest::newRow("count 0 decrypts nothing") << 0u << 0;
}

void AesTest::nistExample()
{
    QFETCH(quint32, count);
    QFETCH(int, decryptedBlocks);
    QFile file(QStringLiteral(FISCORA_SHARED_DIR "/test-vectors/sp800-38a-cbc-aes128.txt"));
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.errorString()));
    QMap<QByteArray, QByteArray> vectors; // repeated fields are concatenated
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().simplified().split(' ');
        if (fields.size() == 2 && !fields.first().startsWith('#'))
            vectors[fields.first()] += QByteArray::fromHex(fields.last());
    }
    const QByteArray plain = vectors.value("PLAINTEXT");
    const QByteArray cipher = vectors.value("CIPHERTEXT");
    QCOMPARE(cipher.size(), 4 * AesBlockSize);

    QByteArray buffer = cipher;
    aesCbcDecrypt(bytes(buffer), count, bytes(vectors.value("KEY")), bytes(vectors.value("IV")));
    const int decrypted = decryptedBlocks * AesBlockSize;
    QCOMPARE(buffer.toHex(), (plain.left(decrypted) + cipher.mid(decrypted)).toHex());
}

void AesTest::randomKeysMatchOpenSsl()
{
    QRandomGenerator random(5);
    for (int round = 0; round < 300; ++round) {
        const QByteArray key = randomBytes(random, AesBlockSize);
        const QByteArray iv = randomBytes(random, AesBlockSize);
        const quint32 count = random.bounded(1, 4097);
        const QByteArray cipher = randomBytes(random, int(count + 15) / 16 * 16);
        QByteArray plain = cipher;
        aesCbcDecrypt(bytes(plain), count, bytes(key), bytes(iv));
        QVERIFY2(plain == opensslDecrypt(cipher, key, iv), qPrintable(QStringLiteral("count %1, key %2, iv %3")
                .arg(count).arg(QLatin1String(key.toHex()), QLatin1String(iv.toHex()))));
    }
}

// Every call starts the chain anew at the fixed initialisation vector, so each row also checks
// that no chain state carries over from the row before.
void AesTest::decryptBufferMatchesOpenSsl_data()
{
    QTest::addColumn<QByteArray>("window");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("decrypted");
    QRandomGenerator random(1);
    QTest::newRow("length 0 touches nothing") << randomBytes(random, WindowSize) << 0 << 0;
    // The callers copy a short tail into a zero-filled window; the block takes in those zeros.
    for (int length = 1; length < AesBlockSize; ++length) {
        const QByteArray window = randomBytes(random, length) + QByteArray(WindowSize - length, 0);
        QTest::addRow("length %d decrypts one block", length) << window << length << 16;
    }
    for (int length : {16, 17, 255, 256})
        QTest::addRow("length %d", length) << randomBytes(random, WindowSize) << length << (length & ~15);
}

void AesTest::decryptBufferMatchesOpenSsl()
{
    QFETCH(QByteArray, window);
    QFETCH(int, length);
    QFETCH(int, decrypted);
    QByteArray buffer = window;
    QCOMPARE(decryptBuffer(bytes(buffer), length), decrypted);
    const QByteArray expected = opensslDecrypt(window.left(decrypted)) + window.mid(decrypted);
    QCOMPARE(buffer.toHex(), expected.toHex());
}

// Blocks are decrypted group by group (first block, count), in the order given.
void AesTest::blockGroupsMatchWholeWindow_data()
{
    QTest::addColumn<Ranges>("groups");
    QTest::newRow("whole window at once") << Ranges{{0, 16}};
    QTest::newRow("leading three blocks only") << Ranges{{0, 3}};
    QTest::newRow("1+3+4+8") << Ranges{{0, 1}, {1, 3}, {4, 4}, {8, 8}};
    QTest::newRow("9+7 back to front") << Ranges{{7, 9}, {0, 7}};
}

void AesTest::blockGroupsMatchWholeWindow()
{
    QFETCH(Ranges, groups);
    QRandomGenerator random(4);
    const QByteArray cipher = randomBytes(random, WindowSize);
    const QByteArray chain(cipher.constData(), cipher.size()); // its own bytes, not shared
    const QByteArray whole = opensslDecrypt(cipher);
    // Guard blocks on either side catch writes before the first and after the last block.
    QByteArray plain = randomBytes(random, WindowSize + 2 * AesBlockSize);
    QByteArray expected = plain;
    for (const auto &[first, count] : qAsConst(groups)) {
        decryptBlocks(bytes(chain), bytes(plain) + AesBlockSize, first, count);
        const int offset = first * AesBlockSize;
        expected.replace(AesBlockSize + offset, count * AesBlockSize, whole.mid(offset, count * AesBlockSize));
        QCOMPARE(plain.toHex(), expected.toHex());
    }
    QCOMPARE(chain, cipher);
}

QTEST_GUILESS_MAIN(AesTest)
#include "tst_aes.moc"
