#include "faultinjection.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <unistd.h>

namespace {

struct Fault
{
    std::atomic_bool armed{false};
    char pathSuffix[512] = {};
    int error = 0;
    // Bytes that may still be written before writes fail.
    std::atomic<qint64> allowed{0};
    // Calls that may still fail, where only some are to; negative for every one.
    std::atomic<int> failures{-1};
};

Fault faults[faultinjection::CallCount];

// The suffix may hold "*", as temporary files have a tag of their own in their names.
bool endsWith(const char *path, const char *suffix)
{
    char pattern[sizeof Fault::pathSuffix + 1] = "*";
    qstrncpy(pattern + 1, suffix, sizeof pattern - 1);
    return ::fnmatch(pattern, path, 0) == 0;
}

bool pathOf(int descriptor, char *path, size_t size)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    const ssize_t length = ::readlink(link, path, size - 1);
    if (length < 0)
        return false;
    path[length] = '\0';
    return true;
}

// Sets errno and answers true when call is armed for path.
bool injected(faultinjection::Call call, const char *path)
{
    Fault &fault = faults[call];
    if (!fault.armed || !path || !endsWith(path, fault.pathSuffix) || fault.failures == 0)
        return false;
    if (fault.failures > 0)
        --fault.failures;
    errno = fault.error;
    return true;
}

bool injectedFor(faultinjection::Call call, int descriptor)
{
    char path[4096];
    return faults[call].armed && pathOf(descriptor, path, sizeof path) && injected(call, path);
}

template <typename Function>
Function next(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

namespace faultinjection {

void failOn(Call call, const QByteArray &pathSuffix, int error, int times)
{
    Fault &fault = faults[call];
    fault.armed = false;
    fault.failures = times;
    qstrncpy(fault.pathSuffix, pathSuffix.constData(), sizeof fault.pathSuffix);
    fault.error = error;
    fault.armed = true;
}

void fillDiskAfter(qint64 allowed, const QByteArray &pathSuffix)
{
    faults[Write].allowed = allowed;
    failOn(Write, pathSuffix, ENOSPC);
}

void reset()
{
    for (Fault &fault : faults) {
        fault.armed = false;
        fault.allowed = 0;
        fault.failures = -1;
    }
}

} // namespace faultinjection

extern "C" {

ssize_t write(int descriptor, const void *data, size_t size)
{
    static const auto realWrite = next<ssize_t (*)(int, const void *, size_t)>("write");
    Fault &fault = faults[faultinjection::Write];
    char path[4096];
    if (fault.armed && pathOf(descriptor, path, sizeof path) && endsWith(path, fault.pathSuffix)) {
        const qint64 allowed = fault.allowed;
        if (allowed <= 0) {
            errno = fault.error;
            return -1;
        }
        size = std::min<size_t>(size, size_t(allowed));
        fault.allowed -= qint64(size);
    }
    return realWrite(descriptor, data, size);
}

int close(int descriptor)
{
    static const auto realClose = next<int (*)(int)>("close");
    // The descriptor is closed either way, as a failing close() does.
    const bool fails = injectedFor(faultinjection::Close, descriptor);
    const int savedErrno = errno;
    const int result = realClose(descriptor);
    if (!fails)
        return result;
    errno = savedErrno;
    return -1;
}

int fdatasync(int descriptor)
{
    static const auto realSync = next<int (*)(int)>("fdatasync");
    return injectedFor(faultinjection::Sync, descriptor) ? -1 : realSync(descriptor);
}

int rename(const char *from, const char *to)
{
    static const auto realRename = next<int (*)(const char *, const char *)>("rename");
    return injected(faultinjection::Rename, to) ? -1 : realRename(from, to);
}

int renameat2(int fromFolder, const char *from, int toFolder, const char *to, unsigned int flags)
{
    static const auto realRename = next<int (*)(int, const char *, int, const char *, unsigned int)>("renameat2");
    const auto call = flags & RENAME_EXCHANGE ? faultinjection::Exchange : faultinjection::Rename;
    return injected(call, to) ? -1 : realRename(fromFolder, from, toFolder, to, flags);
}

} // extern "C"
