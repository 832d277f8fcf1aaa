#include "fixtures.h"

#include <fiscora/helperclass.h>

#include <QtTest>

using fiscora::HelperClass;

class HelperClassTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void intAndBytes_data();
    void intAndBytes();
    void formattedDigest();
    void driveType_data();
    void driveType();

private:
    QTemporaryDir m_dir;
};

// "<->" rows hold both ways; "->" only from int to bytes, "<-" only from bytes to int.
void HelperClassTest::intAndBytes_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("direction");
    QTest::newRow("154, low byte above 0x7F") << 154 << QByteArray::fromHex("009a") << "<->";
    QTest::newRow("300") << 300 << QByteArray::fromHex("012c") << "<->";
    QTest::newRow("65535") << 65535 << QByteArray::fromHex("ffff") << "<->";
    QTest::newRow("65536 drops bit 16") << 65536 << QByteArray::fromHex("0000") << "->";
    QTest::newRow("-1 two's complement") << -1 << QByteArray::fromHex("ffff") << "->";
    QTest::newRow("empty") << 0 << QByteArray() << "<-";
    QTest::newRow("five bytes keep the low 32 bits") << 0x01020304 << QByteArray::fromHex("ff01020304") << "<-";
}

void HelperClassTest::intAndBytes()
{
    QFETCH(int, value);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, direction);
    if (direction != QLatin1String("<-"))
        QCOMPARE(HelperClass::convertIntToByteArray(value), bytes);
    if (direction != QLatin1String("->"))
        QCOMPARE(HelperClass::convertByteArrayToInt(bytes), value);
}

// Digests of RFC 1321, appendix A.5, and the spaced form in which they are shown.
void HelperClassTest::formattedDigest()
{
    QCOMPARE(HelperClass::calculateMD5Hash(QByteArray()), QByteArray::fromHex("d41d8cd98f00b204e9800998ecf8427e"));
    QCOMPARE(HelperClass::convertToFormattedHexValue(HelperClass::calculateMD5Hash("abc")),
             QStringLiteral("90 01 50 98 3C D2 4F B0 D6 96 3F 7D 28 E1 7F 72"));
}

// A path that is not itself a mount point has no drive of its own. /dev/shm is a tmpfs, a RAM
// disk, with or without a trailing separator; /proc is a file system of the kernel's, on no
// device that could be removed.
void HelperClassTest::driveType_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");
    QVERIFY_DONE(makeFolder(m_dir.filePath(QStringLiteral("folder"))));
    QVERIFY_DONE(writeFile(m_dir.filePath(QStringLiteral("file")), "file"));
    for (const char *name : {"missing", "folder", "file"})
        QTest::newRow(name) << m_dir.filePath(QLatin1String(name)) << int(HelperClass::DRIVETYPE_NO_ROOT_DIR);
    QTest::newRow("/dev/shm") << "/dev/shm" << int(HelperClass::DRIVETYPE_RAMDISK);
    QTest::newRow("/dev/shm/") << "/dev/shm/" << int(HelperClass::DRIVETYPE_RAMDISK);
    QTest::newRow("/proc") << "/proc" << int(HelperClass::DRIVETYPE_FIXED);
}

void HelperClassTest::driveType()
{
    QFETCH(QString, path);
    QFETCH(int, type);
    if (path.startsWith(QLatin1String("/dev/shm")) && !QFileInfo::exists(path))
        QSKIP("This system has no /dev/shm.");
    QCOMPARE(int(HelperClass::getWindowsDriveType(path)), type);
}

QTEST_GUILESS_MAIN(HelperClassTest)
#include "tst_helperclass.moc"
