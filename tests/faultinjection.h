#ifndef FISCORA_FAULTINJECTION_H
#define FISCORA_FAULTINJECTION_H

// Calls of the C library that fail on demand for one file, as a failing disk or file system makes
// them fail. A test executable that links faultinjection.cpp replaces write(), close(), fdatasync()
// (with which the library syncs a file on Linux, the one system where /proc tells a descriptor's
// path), rename() and renameat2() for its whole process, the library included; they do what the C library's do
// until a test arms them.
//
//     faultinjection::failOn(faultinjection::Sync, "/gobd.csv.*.~tmp");
//     ... run an export: syncing its table file fails with EIO ...
//     faultinjection::reset();

#include <QByteArray>

#include <cerrno>

namespace faultinjection {

enum Call {
    Write,  //!< write() to such a descriptor, once the bytes allowed have been written to them
    Close,  //!< close() of a file descriptor whose file's path ends with the suffix
    Sync,   //!< fdatasync() of such a descriptor
    Rename, //!< rename(), or renameat2() without RENAME_EXCHANGE, onto a path that ends with the suffix
    Exchange, //!< renameat2() with RENAME_EXCHANGE of a path that ends with the suffix
    CallCount
};

//! From now on, \a call fails with \a error for files whose path ends with \a pathSuffix, in
//! which "*" stands for any text; only the first \a times such calls, where it is not negative.
void failOn(Call call, const QByteArray &pathSuffix, int error = EIO, int times = -1);

//! From now on, writes to files whose path ends with \a pathSuffix fail with ENOSPC once
//! \a allowed bytes have been written to them, as on a disk that is full.
void fillDiskAfter(qint64 allowed, const QByteArray &pathSuffix);

//! Every call does what the C library's does again.
void reset();

} // namespace faultinjection

#endif // FISCORA_FAULTINJECTION_H
