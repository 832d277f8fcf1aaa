#ifndef FISCORA_JOBREPORT_P_H
#define FISCORA_JOBREPORT_P_H

#include <QString>

namespace fiscora {

class IndexFileAnalyser;

/*!
 * Where the work of a job reports to. The worker's run() hands its runs an adapter that emits
 * the worker's own signals, so that only the worker's file emits them; tests hand a recording
 * instead and need no thread.
 *
 * \code
 * class CypherReport : public ExportReport { ... emit m_cypher.error(error, hint); ... };
 * CypherReport report(*this);
 * ExportRun(report, m_stopRequested, job).run();
 * \endcode
 */
class JobReport
{
public:
    //! A failure: what went wrong (\a error) and what the user can check or what follows (\a hint).
    virtual void fail(const QString &error, const QString &hint) = 0;
    //! A report for the user; \a count numbers an index report from 1, and is 0 for other messages.
    virtual void message(const QString &text, bool isError, int count) = 0;
    //! Progress from now on runs from 0 to \a maximum.
    virtual void progressStarted(int maximum) = 0;
    virtual void progress(int value) = 0;

protected:
    ~JobReport() = default;
};

//! What a reading job reports beyond progress and messages.
class BackupReport : public JobReport
{
public:
    //! The backup file \a file is complete; its index report follows.
    virtual void backupWritten(const QString &file) = 0;

protected:
    ~BackupReport() = default;
};

//! What an export reports beyond progress and messages.
class ExportReport : public JobReport
{
public:
    //! The table file \a file is in place (empty: the table went to a tap whole); \a analyser
    //! holds what the backup header said.
    virtual void tableWritten(const QString &file, const IndexFileAnalyser &analyser) = 0;
    //! A GDPdU description file was written to \a file.
    virtual void fileSaved(const QString &file) = 0;

protected:
    ~ExportReport() = default;
};

} // namespace fiscora

#endif // FISCORA_JOBREPORT_P_H
