#include "helperclass.h"

#include <QCryptographicHash>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#endif

namespace fiscora {

QByteArray HelperClass::calculateMD5Hash(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Md5);
}

QByteArray HelperClass::convertIntToByteArray(int value)
{
    QByteArray bytes(2, Qt::Uninitialized);
    bytes[0] = static_cast<char>((value >> 8) & 0xFF);
    bytes[1] = static_cast<char>(value & 0xFF);
    return bytes;
}

int HelperClass::convertByteArrayToInt(QByteArray bytes)
{
    // Unsigned arithmetic: bits that move beyond bit 31 are lost, never overflow.
    quint32 result = 0;
    for (const char byte : qAsConst(bytes))
        result = result * 256u + static_cast<quint8>(byte);
    return static_cast<int>(result);
}

QString HelperClass::convertToFormattedHexValue(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

#ifdef Q_OS_WIN

HelperClass::DriveType HelperClass::getWindowsDriveType(QString rootPath)
{
    const QByteArray root = rootPath.toLocal8Bit();
    return static_cast<DriveType>(GetDriveTypeA(root.constData()));
}

#else

namespace {

bool isNetworkFileSystem(const QByteArray &type)
{
    static const char *const networkTypes[] = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "glusterfs",
        "fuse.glusterfs", "fuse.sshfs", "sshfs", "davfs", "fuse.davfs2",
    };
    for (const char *networkType : networkTypes) {
        if (type == networkType)
            return true;
    }
    return false;
}

bool isRemovableBlockDevice(const QByteArray &device)
{
    const QString deviceName = QFileInfo(QFileInfo(QFile::decodeName(device)).canonicalFilePath()).fileName();
    if (deviceName.isEmpty())
        return false;
    QString sysPath = QFileInfo(QStringLiteral("/sys/class/block/") + deviceName).canonicalFilePath();
    if (sysPath.isEmpty())
        return false;
    // A partition has no removable flag of its own: the disk that holds it carries the flag.
    if (QFile::exists(sysPath + QStringLiteral("/partition")))
        sysPath = QFileInfo(sysPath).path();
    QFile flag(sysPath + QStringLiteral("/removable"));
    return flag.open(QIODevice::ReadOnly) && flag.read(1) == "1";
}

} // namespace

HelperClass::DriveType HelperClass::getWindowsDriveType(QString rootPath)
{
    const QFileInfo root(rootPath);
    if (!root.isDir())
        return DRIVETYPE_NO_ROOT_DIR;
    const QStorageInfo storage(rootPath);
    if (!storage.isValid())
        return DRIVETYPE_UNKNOWN;
    if (storage.rootPath() != root.canonicalFilePath())
        return DRIVETYPE_NO_ROOT_DIR;

    const QByteArray type = storage.fileSystemType();
    if (type == "tmpfs" || type == "ramfs")
        return DRIVETYPE_RAMDISK;
    if (type == "iso9660" || type == "udf")
        return DRIVETYPE_CDROM;
    if (isNetworkFileSystem(type))
        return DRIVETYPE_REMOTE;
    if (isRemovableBlockDevice(storage.device()))
        return DRIVETYPE_REMOVABLE;
    return DRIVETYPE_FIXED;
}

#endif

} // namespace fiscora
