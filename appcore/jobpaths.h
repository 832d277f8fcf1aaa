#ifndef FISCORA_APP_JOBPATHS_H
#define FISCORA_APP_JOBPATHS_H

#include <QCoreApplication>
#include <QString>

namespace fiscora::app {

class Reporter;

/*!
 * The checks of a job's paths before it starts, each failure reported as one error with its
 * hint: the library's own errors for these cases would not say what is wrong.
 */
class JobPaths
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::JobPaths)

public:
    //! Whether the card folder, backup file or export folder \a path exists.
    static bool sourceExists(Reporter &reporter, const QString &path);
    //! Creates the target folder \a path where it is missing; false when it cannot, or is a file.
    static bool makeTarget(Reporter &reporter, const QString &path);
    //! Whether \a path is free, or may be replaced as \a overwrite says.
    static bool mayWrite(Reporter &reporter, const QString &path, bool overwrite);
};

} // namespace fiscora::app

#endif // FISCORA_APP_JOBPATHS_H
