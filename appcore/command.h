#ifndef FISCORA_APP_COMMAND_H
#define FISCORA_APP_COMMAND_H

#include <QDate>
#include <QString>

namespace fiscora::app {

//! The exit codes of the applications; a job stopped by signal n ends with 128 + n.
enum ExitCode { ExitDone = 0, ExitFailed = 1, ExitUsage = 2 };

//! One job, as the user asked for it.
struct Command
{
    enum Kind { Read, Export, Info, List, Verify, Package, Check };

    Kind kind = Read;
    //! The card folder (read, list), the backup file (export, info, package), the export folder
    //! (verify) or either of the last two (check).
    QString source;
    //! The folder that receives the backups (read), the export (export) or the archive (package);
    //! for verify the backup to compare with, or empty.
    QString target;
    //! The first day of the first and of the last month; invalid when not given.
    QDate fromDate;
    QDate toDate;
    bool gdpduExport = false;
    bool indexInfoLine = false;
    bool rawDataOnly = false;
    bool skipLineCheck = false;
    //! The Buchungstyp of the payment lines, whose Betrag are the takings (check); empty for the journal's own.
    QString takingsType;
    //! The PDF file for the charts of a check; empty for none.
    QString reportFile;
    //! Replace a backup, export folder or archive that is in the way.
    bool overwrite = false;
    //! One JSON object per line on standard output instead of text for people.
    bool json = false;
    //! Neither progress nor report lines that flag nothing.
    bool quiet = false;
    //! The library's debug lines on standard error.
    bool verbose = false;
    //! The job comes from the window, whose hints speak of its controls, not of commands and options.
    bool fromWindow = false;
};

} // namespace fiscora::app

#endif // FISCORA_APP_COMMAND_H
