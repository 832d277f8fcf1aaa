#include "fixtures.h"

#include <QtTest>

using fiscora::HelperClass;

class HelperClassTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void intToByteArray_data();
    void intToByteArray();
    void byteArrayToInt_data();
    void byteArrayToInt();
    void formattedHex_data();
    void formattedHex();
    void md5_data();
    void md5();
    void driveTypeOfNoRoot_data();
    void driveTypeOfNoRoot();
    void driveTypeOfRamDisks();
};

void HelperClassTest::intToByteArray_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("0") << 0 << QByteArray::fromHex("0000");
    QTest::newRow("300") << 300 << QByteArray::fromHex("012c");
    QTest::newRow("154, low byte above 0x7F") << 154 << QByteArray::fromHex("009a");
    QTest::newRow("65535") << 65535 << QByteArray::fromHex("ffff");
    QTest::newRow("65536 drops bit 16") << 65536 << QByteArray::fromHex("0000");
    QTest::newRow("-1 two's complement") << -1 << QByteArray::fromHex("ffff");
}

void HelperClassTest::intToByteArray()
{
    QFETCH(int, value);
    QFETCH(QByteArray, bytes);
    QCOMPARE(HelperClass::convertIntToByteArray(value), bytes);
}

void HelperClassTest::byteArrayToInt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("one byte 0xFF") << QByteArray::fromHex("ff") << 255;
    QTest::newRow("300") << QByteArray::fromHex("012c") << 300;
    QTest::newRow("154, low byte above 0x7F") << QByteArray::fromHex("009a") << 154;
    QTest::newRow("65535") << QByteArray::fromHex("ffff") << 65535;
    QTest::newRow("four bytes") << QByteArray::fromHex("01020304") << 0x01020304;
    QTest::newRow("five bytes keep the low 32 bits") << QByteArray::fromHex("ff01020304") << 0x01020304;
}

void HelperClassTest::byteArrayToInt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, value);
    QCOMPARE(HelperClass::convertByteArrayToInt(bytes), value);
}

void HelperClassTest::formattedHex_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("single zero byte") << QByteArray(1, '\0') << QStringLiteral("00");
    QTest::newRow("two bytes") << QByteArray::fromHex("abcd") << QStringLiteral("AB CD");
    QTest::newRow("three bytes") << QByteArray::fromHex("0a1bff") << QStringLiteral("0A 1B FF");
}

void HelperClassTest::formattedHex()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(HelperClass::convertToFormattedHexValue(bytes), text);
}

void HelperClassTest::md5_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("digest");
    // RFC 1321, appendix A.5.
    QTest::newRow("empty message") << QByteArray() << QByteArray::fromHex("d41d8cd98f00b204e9800998ecf8427e");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray::fromHex("900150983cd24fb0d6963f7d28e17f72");
    QTest::newRow("message digest") << QByteArray("message digest")
                                    << QByteArray::fromHex("f96b697d7cb7938d525a2f31aaf161d0");
}

void HelperClassTest::md5()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, digest);
    QCOMPARE(HelperClass::calculateMD5Hash(data), digest);
}

void HelperClassTest::driveTypeOfNoRoot_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("missing folder") << QStringLiteral("missing");
    QTest::newRow("plain folder") << QStringLiteral("folder");
    QTest::newRow("file") << QStringLiteral("file");
}

void HelperClassTest::driveTypeOfNoRoot()
{
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("file")), "file"));
    QCOMPARE(HelperClass::getWindowsDriveType(dir.filePath(relativePath)), HelperClass::DRIVETYPE_NO_ROOT_DIR);
}

// Every tmpfs or ramfs mount point that the kernel lists must come out as a RAM disk, with or
// without a trailing separator; the mount table is read here independently of the library.
void HelperClassTest::driveTypeOfRamDisks()
{
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (!mounts.open(QIODevice::ReadOnly))
        QSKIP("no /proc/self/mounts on this system");
    int checked = 0;
    for (const QByteArray &line : mounts.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3 || (fields.at(2) != "tmpfs" && fields.at(2) != "ramfs"))
            continue;
        const QString mountPoint = QFile::decodeName(fields.at(1));
        if (mountPoint.contains(QLatin1Char('\\')) || !QFileInfo(mountPoint).isReadable())
            continue; // escaped names (spaces) and hidden mounts are not worth decoding here
        QCOMPARE(HelperClass::getWindowsDriveType(mountPoint), HelperClass::DRIVETYPE_RAMDISK);
        QCOMPARE(HelperClass::getWindowsDriveType(mountPoint + QLatin1Char('/')), HelperClass::DRIVETYPE_RAMDISK);
        ++checked;
    }
    if (checked == 0)
        QSKIP("no tmpfs mounted on this system");
}

QTEST_GUILESS_MAIN(HelperClassTest)
#include "tst_helperclass.moc"
