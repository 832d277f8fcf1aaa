#include "fixtures.h"

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

// A path that is not itself a mount point has no drive of its own. Every tmpfs or ramfs mount point
// that the kernel lists is a RAM disk, with or without a trailing separator; the mount table is
// read here independently of the library, leaving out escaped names (spaces) and hidden mounts.
void HelperClassTest::driveType_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("file")), "file"));
    for (const char *name : {"missing", "folder", "file"})
        QTest::newRow(name) << m_dir.filePath(QLatin1String(name)) << int(HelperClass::DRIVETYPE_NO_ROOT_DIR);

    QFile mounts(QStringLiteral("/proc/self/mounts"));
    const QByteArray table = mounts.open(QIODevice::ReadOnly) ? mounts.readAll() : QByteArray();
    for (const QByteArray &line : table.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const QString mountPoint = QFile::decodeName(fields.value(1));
        if ((fields.value(2) != "tmpfs" && fields.value(2) != "ramfs") || mountPoint.contains(QLatin1Char('\\'))
            || !QFileInfo(mountPoint).isReadable())
            continue;
        for (const QString &path : {mountPoint, mountPoint + QLatin1Char('/')})
            QTest::newRow(qPrintable(path)) << path << int(HelperClass::DRIVETYPE_RAMDISK);
    }
}

void HelperClassTest::driveType()
{
    QFETCH(QString, path);
    QFETCH(int, type);
    QCOMPARE(int(HelperClass::getWindowsDriveType(path)), type);
}

QTEST_GUILESS_MAIN(HelperClassTest)
#include "tst_helperclass.moc"
