#include "filelock_p.h"

#include <QFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fiscora {

namespace {

// A lock file is removed by the job that holds it, and another job may have opened it just before:
// that job tries again a few times with the file that then has the name.
constexpr int LockAttempts = 3;

#ifdef Q_OS_UNIX
bool sameFile(int handle, const QByteArray &path)
{
    struct stat opened = {};
    struct stat named = {};
    return ::fstat(handle, &opened) == 0 && ::lstat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}
#endif

} // namespace

FileLock::FileLock(const QString &path)
    : m_path(path)
{
}

FileLock::~FileLock()
{
    unlock();
}

bool FileLock::tryLock()
{
    return lock(true);
}

bool FileLock::tryLockExisting()
{
    return lock(false);
}

bool FileLock::lock(bool create)
{
    m_heldElsewhere = false;
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(m_path);
    // A folder is opened for reading, a lock file for writing, and neither through a link.
    const int flags = O_CLOEXEC | O_NOFOLLOW | (create ? O_RDWR | O_CREAT : O_RDONLY);
    for (int attempt = 0; attempt < LockAttempts; ++attempt) {
        const int handle = ::open(path.constData(), flags, 0644);
        if (handle < 0)
            return fail(errno);
        if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(handle);
            m_heldElsewhere = error == EWOULDBLOCK;
            return fail(error);
        }
        if (sameFile(handle, path)) {
            m_handle = handle;
            m_created = create;
            return true;
        }
        ::close(handle);
        if (!create)
            return fail(ENOENT);
    }
    return fail(EAGAIN);
#else
    m_handle = 0;
    m_created = false;
    return true;
#endif
}

void FileLock::unlock()
{
    if (m_handle < 0)
        return;
#ifdef Q_OS_UNIX
    // Removed while still locked, so that no job takes a lock on a file about to go.
    if (m_created)
        ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_handle);
#endif
    m_handle = -1;
}

void FileLock::removeAbandoned(const QString &folder, const QStringList &nameFilters, QDir::Filters filters)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList(nameFilters, filters | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(name);
        // A link is no job's: it is removed, and what it leads to is not touched.
        if (QFileInfo(path).isSymLink()) {
            QFile::remove(path);
            continue;
        }
        FileLock lock(path);
        if (!lock.tryLockExisting())
            continue;
        if (QFileInfo(path).isDir())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }
}

bool FileLock::fail(int error)
{
    m_errorString = qt_error_string(error);
    return false;
}

} // namespace fiscora
