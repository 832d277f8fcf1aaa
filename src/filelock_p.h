#ifndef FISCORA_FILELOCK_P_H
#define FISCORA_FILELOCK_P_H

#include <QDir>
#include <QString>
#include <QStringList>

namespace fiscora {

/*!
 * A lock that a job holds on a file or folder for as long as it works on it, so that a second job
 * can tell a live job's files from those that a job left behind when it was killed or the power
 * failed: the system lets go of the lock however the process ends.
 *
 * \code
 * FileLock lock(backup + ".~lock");
 * if (!lock.tryLock())
 *     return lock.heldElsewhere() ? refuse() : fail(lock.errorString());
 * \endcode
 *
 * Locks are advisory (flock()), between the jobs of this system. Where the system has no such
 * locks, every lock is granted.
 */
class FileLock
{
public:
    explicit FileLock(const QString &path);
    //! Lets go of the lock, and removes the lock file that tryLock() created.
    ~FileLock();

    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    //! Locks the lock file at path(), creating it; false when another job holds it or it cannot be made.
    bool tryLock();
    //! Locks the file or folder that path() names already, which stays where it is after unlock().
    bool tryLockExisting();
    //! Lets go; a lock file that tryLock() created is removed first.
    void unlock();

    bool isLocked() const { return m_handle >= 0; }
    //! Whether the last attempt failed because another job holds the lock.
    bool heldElsewhere() const { return m_heldElsewhere; }
    QString path() const { return m_path; }
    //! Why the last attempt failed, in the system's words.
    QString errorString() const { return m_errorString; }

    /*!
     * Removes from \a folder the entries of the kinds \a filters that \a nameFilters match and
     * that no job holds a lock on: what jobs that are no more left behind.
     */
    static void removeAbandoned(const QString &folder, const QStringList &nameFilters, QDir::Filters filters);

private:
    bool lock(bool create);
    bool fail(int error);

    const QString m_path;
    int m_handle = -1;
    bool m_created = false;
    bool m_heldElsewhere = false;
    QString m_errorString;
};

} // namespace fiscora

#endif // FISCORA_FILELOCK_P_H
