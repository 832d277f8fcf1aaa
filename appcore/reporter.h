#ifndef FISCORA_APP_REPORTER_H
#define FISCORA_APP_REPORTER_H

#include <fiscora/cardlisting.h>

#include <QList>
#include <QString>

namespace fiscora::app {

class BackupInfo;
class PeriodFindings;
struct CheckReport;
struct Verification;

//! The register and the file that what is reported next concerns; either may be empty.
struct Subject
{
    QString serialNumber;
    QString file;
};

/*!
 * Shows what a job reports, to people or to scripts. The calls follow the signals of the
 * library's workers, and the results of the jobs that have no worker.
 *
 * \code
 * reporter.setSubject({info.serialNumber(), backupFile});
 * reporter.error(tr("..."), tr("..."));
 * reporter.done(1);
 * \endcode
 */
class Reporter
{
public:
    virtual ~Reporter() = default;

    //! What the following calls concern, until the next call.
    void setSubject(const Subject &subject) { m_subject = subject; }

    //! Progress from now on runs from \a startValue to \a endValue.
    virtual void progressStarted(int startValue, int endValue) = 0;
    virtual void progress(int value) = 0;
    //! A report text; \a count numbers an index report from 1, 0 for the other messages.
    virtual void message(const QString &text, bool isError, int count) = 0;
    virtual void error(const QString &error, const QString &hint) = 0;
    //! A backup file, a table file or an archive is complete.
    virtual void finished(const QString &file) = 0;
    //! A GDPdU description file was written.
    virtual void fileSaved(const QString &file) = 0;
    //! The user asked the running job to stop.
    virtual void interrupted() = 0;
    //! What a backup's header says, and what its records hold, month by month.
    virtual void backupInfo(const BackupInfo &info, const PeriodFindings &findings) = 0;
    //! What a read of \a source would find.
    virtual void cardListing(const QString &source, const QList<CardListing::Register> &registers) = 0;
    //! What the verification of an export folder found.
    virtual void verification(const Verification &verification) = 0;
    //! What the tests of a tax audit make of a journal; the window shows no check yet.
    virtual void check(const CheckReport &report) { Q_UNUSED(report) }
    //! The last call: the application ends with \a exitCode.
    virtual void done(int exitCode) = 0;

protected:
    Subject m_subject;
};

} // namespace fiscora::app

#endif // FISCORA_APP_REPORTER_H
