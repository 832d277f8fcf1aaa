#include "atomicfile_p.h"

#include "writeall_p.h"

#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_WIN
#include <io.h>
#include <qt_windows.h>
#else
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fiscora {

namespace {

// A tag that another job's temporary file has already is drawn anew.
constexpr int TemporaryNameAttempts = 16;

QString randomTag()
{
    return QString::number(QRandomGenerator::global()->generate64() % 2176782336ULL, 36).rightJustified(6, QLatin1Char('0'));
}

// The data has reached the disk only when the system says so; a file system that fails at
// writeback reports it here, or not at all.
bool syncToDisk(int handle)
{
#if defined(Q_OS_WIN)
    return ::_commit(handle) == 0;
#elif defined(Q_OS_LINUX)
    return ::fdatasync(handle) == 0;
#else
    return ::fsync(handle) == 0;
#endif
}

// Replaces to by from in one step, so that a reader sees either the old file or the new one.
bool renameOver(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return ::MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()), reinterpret_cast<const wchar_t *>(to.utf16()),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

} // namespace

AtomicFile::AtomicFile(const QString &fileName)
    : m_fileName(fileName)
    , m_nameLock(fileName + QLatin1String(".~lock"))
{
}

AtomicFile::~AtomicFile()
{
    if (!m_committed)
        cancel();
}

bool AtomicFile::open()
{
    if (!m_nameLock.tryLock())
        return fail(m_nameLock.errorString());
    FileLock::removeAbandoned(QFileInfo(m_fileName).path(), {QStringLiteral("*.~tmp"), QStringLiteral("*.~lock")},
                              QDir::Files);
    return createTemporaryFile();
}

// NewOnly creates the file and fails if anything has the name already, a link planted there
// included, so that nothing is ever written through.
bool AtomicFile::createTemporaryFile()
{
    for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt) {
        m_file.setFileName(m_fileName + QLatin1Char('.') + randomTag() + QLatin1String(".~tmp"));
        if (m_file.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            m_temporaryLock.emplace(m_file.fileName());
            return m_temporaryLock->tryLockExisting() || fail(m_temporaryLock->errorString());
        }
        if (!QFileInfo::exists(m_file.fileName()))
            break;
    }
    return fail(m_file.errorString());
}

bool AtomicFile::write(const char *data, qint64 size)
{
    const qint64 offset = m_file.pos();
    if (!writeAll(m_file, data, size))
        return fail(m_file.errorString());
#ifdef Q_OS_LINUX
    // The system starts writing these bytes to the disk now, while the next ones are prepared,
    // so that finish() waits only for the last of them. Its answer does not matter here:
    // finish() hears of any failure.
    ::sync_file_range(m_file.handle(), offset, size, SYNC_FILE_RANGE_WRITE);
#endif
    return true;
}

bool AtomicFile::finish()
{
    if (!syncToDisk(m_file.handle()))
        return fail(qt_error_string());
    m_file.unsetError();
    m_file.close();
    // A failed close can be the first word of a failed write.
    if (m_file.error() != QFileDevice::NoError)
        return fail(m_file.errorString());
    return true;
}

bool AtomicFile::commit()
{
    if (!renameOver(m_file.fileName(), m_fileName))
        return fail(qt_error_string());
    m_committed = true;
    release();
    return true;
}

void AtomicFile::cancel()
{
    m_file.close();
    if (m_temporaryLock)
        QFile::remove(m_file.fileName());
    release();
}

void AtomicFile::release()
{
    m_temporaryLock.reset();
    m_nameLock.unlock();
}

bool AtomicFile::fail(const QString &reason)
{
    m_errorString = reason;
    return false;
}

} // namespace fiscora
