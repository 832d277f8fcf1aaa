#include "aes_p.h"
#include "samplecipher.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <openssl/evp.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

using namespace fiscora;

namespace {

// The register's key and initialisation vector once more, so that a wrong byte in the library's
// copy or the sample card's cannot hide behind the same wrong byte in the reference.
const QByteArray RegisterKey = QByteArrayLiteral("Rq4#Tz8!Lm2xVb7$");
const QByteArray RegisterIv = QByteArrayLiteral("c5N*hW0pJ3s&Ge9k");

constexpr int WindowSize = 256;
constexpr int WindowBlocks = WindowSize / AesBlockSize;

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

QByteArray xorBytes(QByteArray a, const QByteArray &b)
{
    for (int i = 0; i < a.size(); ++i)
        a[i] = char(a.at(i) ^ b.at(i));
    return a;
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

    // First, so that in the AES-NI pass the threads also race for the first use of its key
    // schedule.
    void concurrentCallsMatchSingleCalls();
    void nistExample_data();
    void nistExample();
    void decryptBufferMatchesOpenSsl_data();
    void decryptBufferMatchesOpenSsl();
    void everyCallRestartsTheChain();
    void blockGroupsMatchWholeWindow_data();
    void blockGroupsMatchWholeWindow();
    void pathsAgree();
    void sampleRecordDecrypts_data();
    void sampleRecordDecrypts();
    void sampleIndexFileDecryptsByPiece_data();
    void sampleIndexFileDecryptsByPiece();
};

// Every test runs once per cipher path.
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

void AesTest::concurrentCallsMatchSingleCalls()
{
    constexpr int ThreadCount = 4;
    QRandomGenerator random(11);
    std::vector<QByteArray> ciphers;
    std::vector<QByteArray> expected;
    for (int i = 0; i < ThreadCount; ++i) {
        ciphers.push_back(randomBytes(random, WindowSize));
        expected.push_back(opensslDecrypt(ciphers.back()));
    }
    std::vector<int> mismatches(ThreadCount, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < ThreadCount; ++t) {
        threads.emplace_back([&, t] {
            const QByteArray &cipher = ciphers[t];
            const QByteArray &plainText = expected[t];
            for (int round = 0; round < 2000; ++round) {
                quint8 window[WindowSize];
                std::memcpy(window, cipher.constData(), WindowSize);
                decryptBuffer(window, WindowSize);
                quint8 plain[WindowSize];
                for (int block = 0; block < WindowBlocks; block += 4)
                    decryptBlocks(bytes(cipher), plain, block, 4);
                mismatches[t] += std::memcmp(window, plainText.constData(), WindowSize) != 0
                        || std::memcmp(plain, plainText.constData(), WindowSize) != 0;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int t = 0; t < ThreadCount; ++t)
        QCOMPARE(mismatches[t], 0);
}

void AesTest::nistExample_data()
{
    QTest::addColumn<quint32>("count");
    QTest::addColumn<int>("decryptedBlocks");
    QTest::newRow("all four blocks") << 64u << 4;
    QTest::newRow("count 60 rounds up to four blocks") << 60u << 4;
    QTest::newRow("count 17 rounds up to two blocks") << 17u << 2;
    QTest::newRow("count 1 decrypts one block") << 1u << 1;
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
    const QByteArray key = vectors.value("KEY");
    const QByteArray iv = vectors.value("IV");
    const QByteArray plain = vectors.value("PLAINTEXT");
    const QByteArray cipher = vectors.value("CIPHERTEXT");
    QCOMPARE(key.size(), AesBlockSize);
    QCOMPARE(iv.size(), AesBlockSize);
    QCOMPARE(plain.size(), 4 * AesBlockSize);
    QCOMPARE(cipher.size(), 4 * AesBlockSize);

    QByteArray buffer = cipher;
    aesCbcDecrypt(bytes(buffer), count, bytes(key), bytes(iv));
    const int decrypted = decryptedBlocks * AesBlockSize;
    QCOMPARE(buffer.toHex(), (plain.left(decrypted) + cipher.mid(decrypted)).toHex());
}

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
    for (int length : {16, 17, 31, 32, 255, 256})
        QTest::addRow("length %d", length) << randomBytes(random, WindowSize) << length
                                           << (length & ~15);
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

void AesTest::everyCallRestartsTheChain()
{
    QRandomGenerator random(2);
    const QByteArray cipher = randomBytes(random, 2 * AesBlockSize);
    QByteArray whole = cipher;
    decryptBuffer(bytes(whole), whole.size());
    QByteArray again = cipher;
    decryptBuffer(bytes(again), again.size());
    QCOMPARE(again.toHex(), whole.toHex());

    QByteArray pieces = cipher;
    decryptBuffer(bytes(pieces), AesBlockSize);
    decryptBuffer(bytes(pieces) + AesBlockSize, AesBlockSize);
    QCOMPARE(pieces.left(AesBlockSize).toHex(), whole.left(AesBlockSize).toHex());
    const QByteArray secondBlock = xorBytes(whole.mid(AesBlockSize), cipher.left(AesBlockSize));
    QCOMPARE(pieces.mid(AesBlockSize).toHex(), xorBytes(secondBlock, RegisterIv).toHex());
}

void AesTest::blockGroupsMatchWholeWindow_data()
{
    QTest::addColumn<QVector<int>>("groups");
    QTest::addColumn<bool>("backToFront");
    QTest::newRow("whole window at once") << QVector<int>{16} << false;
    QTest::newRow("record of three blocks only") << QVector<int>{3} << false;
    QTest::newRow("1+3+4+8") << QVector<int>{1, 3, 4, 8} << false;
    QTest::newRow("16 single blocks") << QVector<int>(16, 1) << false;
    QTest::newRow("2+5+6+3") << QVector<int>{2, 5, 6, 3} << false;
    QTest::newRow("7+9 back to front") << QVector<int>{7, 9} << true;
    QTest::newRow("pairs back to front") << QVector<int>(8, 2) << true;
    QRandomGenerator random(3);
    for (int row = 0; row < 4; ++row) {
        QVector<int> groups;
        QStringList names;
        for (int blocks = 0; blocks < WindowBlocks;) {
            const int count = std::min(int(random.bounded(1, 9)), WindowBlocks - blocks);
            groups.append(count);
            names.append(QString::number(count));
            blocks += count;
        }
        QTest::addRow("random %s", qPrintable(names.join(QLatin1Char('+')))) << groups << false;
    }
}

void AesTest::blockGroupsMatchWholeWindow()
{
    QFETCH(QVector<int>, groups);
    QFETCH(bool, backToFront);
    QRandomGenerator random(4);
    const QByteArray cipher = randomBytes(random, WindowSize);
    const QByteArray chain(cipher.constData(), cipher.size()); // its own bytes, not shared
    const QByteArray whole = opensslDecrypt(cipher);
    // Guard blocks on either side catch writes before the first and after the last block.
    const QByteArray untouched = randomBytes(random, WindowSize + 2 * AesBlockSize);
    QByteArray plain = untouched;
    QByteArray expected = untouched;

    std::vector<std::pair<int, int>> ranges;
    int first = 0;
    for (int count : groups) {
        ranges.emplace_back(first, count);
        first += count;
    }
    if (backToFront)
        std::reverse(ranges.begin(), ranges.end());
    for (const auto &[first, count] : ranges) {
        decryptBlocks(bytes(chain), bytes(plain) + AesBlockSize, first, count);
        const int offset = first * AesBlockSize;
        expected.replace(AesBlockSize + offset, count * AesBlockSize,
                         whole.mid(offset, count * AesBlockSize));
        QCOMPARE(plain.toHex(), expected.toHex());
    }
    QCOMPARE(chain, cipher);
}

void AesTest::pathsAgree()
{
    QFETCH_GLOBAL(bool, aesNi);
    if (!aesNi)
        QSKIP("Compares both paths; runs in the AES-NI pass");
    QRandomGenerator random(5);
    for (int round = 0; round < 300; ++round) {
        const QByteArray key = randomBytes(random, AesBlockSize);
        const QByteArray iv = randomBytes(random, AesBlockSize);
        const quint32 count = random.bounded(4097);
        const QByteArray cipher = randomBytes(random, int(count + 15) / 16 * 16);
        QByteArray portable = cipher;
        aesdetail::setAesNiEnabled(false);
        aesCbcDecrypt(bytes(portable), count, bytes(key), bytes(iv));
        QByteArray accelerated = cipher;
        aesdetail::setAesNiEnabled(true);
        aesCbcDecrypt(bytes(accelerated), count, bytes(key), bytes(iv));
        QVERIFY2(accelerated == portable, qPrintable(QStringLiteral("count %1, key %2, iv %3")
                .arg(count).arg(QLatin1String(key.toHex()), QLatin1String(iv.toHex()))));
    }
}

void AesTest::sampleRecordDecrypts_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<char>("padByte");
    QTest::addColumn<int>("recordSize");
    const QByteArray text(300, 'x');
    QTest::newRow("bare line end, zero padding") << QByteArray("\r\n") << '\0' << 16;
    QTest::newRow("16 bytes, no padding") << text.left(14) + "\r\n" << ' ' << 16;
    QTest::newRow("17 bytes, space padding") << text.left(15) + "\r\n" << ' ' << 32;
    QTest::newRow("256 bytes") << text.left(254) + "\r\n" << '\0' << 256;
    QTest::newRow("overlong line kept whole") << text.left(257) + "\r\n" << '\0' << 272;
}

void AesTest::sampleRecordDecrypts()
{
    QFETCH(QByteArray, line);
    QFETCH(char, padByte);
    QFETCH(int, recordSize);
    QByteArray record = sample::encryptRecord(line, padByte);
    QCOMPARE(record.size(), recordSize);
    // A record never chains on from the one encrypted before it.
    QCOMPARE(sample::encryptRecord(line, padByte), record);
    QCOMPARE(decryptBuffer(bytes(record), record.size()), recordSize);
    QCOMPARE(record, line + QByteArray(recordSize - line.size(), padByte));
}

void AesTest::sampleIndexFileDecryptsByPiece_data()
{
    QTest::addColumn<int>("bitmapSize");
    QTest::addColumn<int>("fileSize");
    QTest::newRow("20 bytes fill two blocks") << 20 << 32;
    QTest::newRow("one whole piece") << 256 << 256;
    QTest::newRow("second piece restarts the chain") << 300 << 304;
}

void AesTest::sampleIndexFileDecryptsByPiece()
{
    QFETCH(int, bitmapSize);
    QFETCH(int, fileSize);
    QRandomGenerator random(6);
    const QByteArray bitmap = randomBytes(random, bitmapSize);
    QByteArray file = sample::encryptIndexFile(bitmap);
    QCOMPARE(file.size(), fileSize);
    for (int offset = 0; offset < file.size(); offset += WindowSize)
        decryptBuffer(bytes(file) + offset, std::min(WindowSize, file.size() - offset));
    QCOMPARE(file.toHex(), (bitmap + QByteArray(fileSize - bitmapSize, 0)).toHex());
}

QTEST_GUILESS_MAIN(AesTest)
#include "tst_aes.moc"
