#include "jobpaths.h"

#include "reporter.h"

#include <QDir>
#include <QFileInfo>

namespace fiscora::app {

bool JobPaths::sourceExists(Reporter &reporter, const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    reporter.error(tr("%1 does not exist.").arg(path),
                   tr("Check the path, and that the card or drive holding it is plugged in."));
    return false;
}

bool JobPaths::makeTarget(Reporter &reporter, const QString &path)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isDir()) {
        reporter.error(tr("The target %1 is a file, not a folder.").arg(path),
                       tr("Choose a folder as the target, or a path that does not exist yet."));
        return false;
    }
    // The library writes into the target folder but leaves creating it to the application.
    if (!QDir().mkpath(path)) {
        reporter.error(tr("Cannot create the target folder %1.").arg(path),
                       tr("Check the path and your write permission for its parent folder."));
        return false;
    }
    return true;
}

bool JobPaths::mayWrite(Reporter &reporter, const QString &path, bool overwrite)
{
    if (overwrite || !QFileInfo::exists(path))
        return true;
    reporter.error(tr("%1 is already there.").arg(path),
                   tr("Replace it with --overwrite, or choose another target folder."));
    return false;
}

} // namespace fiscora::app
