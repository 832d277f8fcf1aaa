#ifndef FISCORA_HELPERCLASS_H
#define FISCORA_HELPERCLASS_H

#include "fiscora.h"

#include <QByteArray>
#include <QString>

namespace fiscora {

/*!
 * Small static conversions shared by the library and offered to applications: the MD5 digest
 * that ties a backup body to its header, the two-byte length field of the backup header, the
 * spaced hexadecimal form in which digests are shown, and a query of a drive's type.
 *
 * \code
 * const QByteArray digest = HelperClass::calculateMD5Hash(body);
 * qInfo() << HelperClass::convertToFormattedHexValue(digest); // "D4 1D 8C ..."
 * \endcode
 *
 * All members are reentrant.
 */
class FISCORA_EXPORT HelperClass
{
public:
    //! Drive types, with the values of the Windows drive-type codes.
    enum DriveType : int {
        DRIVETYPE_UNKNOWN = 0,     //!< the type cannot be determined
        DRIVETYPE_NO_ROOT_DIR = 1, //!< no volume is mounted at the given root path
        DRIVETYPE_REMOVABLE = 2,   //!< removable medium (card reader, USB stick)
        DRIVETYPE_FIXED = 3,       //!< fixed disk
        DRIVETYPE_REMOTE = 4,      //!< network drive
        DRIVETYPE_CDROM = 5,       //!< optical drive
        DRIVETYPE_RAMDISK = 6      //!< RAM disk
    };

    HelperClass() = default;
    HelperClass(const HelperClass &) = default;
    HelperClass(HelperClass &&) = default;
    HelperClass &operator=(const HelperClass &) = default;
    HelperClass &operator=(HelperClass &&) = default;

    //! The raw 16-byte MD5 digest of \a data (the digest of the empty message for empty data).
    static QByteArray calculateMD5Hash(const QByteArray &data);

    /*!
     * \a value as two bytes, most significant first. Bits above bit 15 are dropped, so 65536
     * gives 0x00 0x00 and -1 gives 0xFF 0xFF.
     */
    static QByteArray convertIntToByteArray(int value);

    /*!
     * \a bytes read as an unsigned big-endian number, computed in 32 bits: empty gives 0,
     * 0x01 0x2C gives 300. The inverse of convertIntToByteArray() for 0 to 65535.
     */
    static int convertByteArrayToInt(QByteArray bytes);

    //! Upper-case hex pairs separated by single spaces: 0x0A 0x1B 0xFF gives "0A 1B FF".
    static QString convertToFormattedHexValue(const QByteArray &bytes);

    /*!
     * The type of the drive whose root is \a rootPath.
     *
     * On Windows this is GetDriveTypeA's answer for \a rootPath in the local 8-bit code page,
     * passed on unchanged; the caller gives a drive root in the form that call expects ("C:\").
     *
     * Elsewhere the answer comes from the mount table, as far as Qt's QStorageInfo reports it:
     * a path that does not exist or is not itself a mount point gives DRIVETYPE_NO_ROOT_DIR;
     * tmpfs and ramfs give DRIVETYPE_RAMDISK; network file systems (NFS, SMB/CIFS, sshfs and
     * the like) give DRIVETYPE_REMOTE; iso9660 and udf give DRIVETYPE_CDROM; a block device
     * whose removable flag is set in /sys gives DRIVETYPE_REMOVABLE; any other mounted file
     * system gives DRIVETYPE_FIXED; DRIVETYPE_UNKNOWN when the mount table cannot be read.
     * Card readers that present their slot as a fixed disk are reported as fixed.
     */
    static DriveType getWindowsDriveType(QString rootPath);
};

} // namespace fiscora

#endif // FISCORA_HELPERCLASS_H
