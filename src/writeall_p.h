#ifndef FISCORA_WRITEALL_P_H
#define FISCORA_WRITEALL_P_H

#include <QFileDevice>

namespace fiscora {

/*!
 * Writes all \a size bytes at \a data to \a file; false when the system refuses some of them.
 * A short write is followed by another, so that the one that fails leaves the system's reason
 * in \a file's errorString().
 */
inline bool writeAll(QFileDevice &file, const char *data, qint64 size)
{
    while (size > 0) {
        const qint64 written = file.write(data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

} // namespace fiscora

#endif // FISCORA_WRITEALL_P_H
