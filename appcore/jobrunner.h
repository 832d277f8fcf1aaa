#ifndef FISCORA_APP_JOBRUNNER_H
#define FISCORA_APP_JOBRUNNER_H

#include <fiscora/indexfileanalyser.h>

#include <QDate>
#include <QEventLoop>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>

namespace fiscora::app {

class Reporter;
class TablePipe;

//! The parameters of one export, as KTLCypher::startDecryption() takes them.
struct ExportRequest
{
    QString backup;
    QString target;
    bool rawDataOnly = false;
    bool gdpduExport = false;
    bool indexInfoLine = false;
    bool skipLineCheck = false;
};

//! A report line of a job, as its worker sent it.
struct ReportedMessage
{
    QString text;
    bool isError = false;
    //! The number of an index report line or of the hash verdict; 0 for a message on lines.
    int count = 0;
};

//! What a job of the library's workers did.
struct JobOutcome
{
    //! An error, or a message flagged as one, was reported.
    bool failureReported = false;
    //! An error was reported.
    bool errorReported = false;
    //! The backup files (read) or the table file (export) that were completed.
    QStringList files;
    //! Every record of an export was decrypted: its table is whole.
    bool decrypted = false;
    //! The GDPdU description files of an export.
    QStringList savedFiles;
    //! What the header of the exported backup said.
    IndexFileAnalyser analyser;
    //! The exported data does not match the MD5 value of its backup header.
    bool hashInvalid = false;
    //! The texts of the messages flagged as errors, in their order.
    QStringList problems;
    //! Of those, the ones about the lines of an export: damaged, repaired or lost records.
    int lineProblems = 0;
    //! Every report line, in its order.
    QList<ReportedMessage> messages;
};

/*!
 * Runs the library's workers as an application does: it constructs the worker, follows its
 * signals (queued from the worker's thread) and hands them to the reporter, starts the job and
 * waits for its thread to end while the event loop goes on. stop() asks the running job, and
 * every later one, to stop.
 *
 * \code
 * JobRunner runner(reporter);
 * const JobOutcome outcome = runner.read(folder, target, QDate(), QDate());
 * \endcode
 */
class JobRunner : public QObject
{
    Q_OBJECT

public:
    //! What of an export's report goes on to the reporter: everything, the errors and the
    //! flagged messages on its lines (the damaged lines and the records that could not be read),
    //! or the errors alone, the report lines being left to the caller.
    enum Forwarding { ForwardEverything, ForwardLineProblems, ForwardErrors };

    explicit JobRunner(Reporter &reporter, QObject *parent = nullptr);
    ~JobRunner() override;

    //! Backs up the register in \a folder (or every register it leads to) into \a target.
    JobOutcome read(const QString &folder, const QString &target, const QDate &fromDate, const QDate &toDate);
    JobOutcome exportBackup(const ExportRequest &request, Forwarding forwarding = ForwardEverything);
    //! Exports into \a pipe instead of a table file; \a request's target goes unused.
    JobOutcome exportInto(const ExportRequest &request, TablePipe &pipe, Forwarding forwarding);

    /*!
     * Asks the running job to stop and keeps later ones from starting; \a signalNumber is the
     * signal that asked for it, 0 when the user did otherwise.
     */
    void stop(int signalNumber = 0);
    bool stopRequested() const { return m_stopRequested; }
    //! Set by stop(), for work in another thread to look at.
    const std::atomic_bool &stopFlag() const { return m_stopRequested; }

    /*!
     * Runs \a work in a thread of its own and waits for it while the event loop goes on, so that
     * a stop is taken at once; \a work should look at stopFlag() and end soon after it is set.
     * Does nothing once a stop has been asked for.
     */
    void runInThread(const std::function<void()> &work);
    //! 128 plus the signal number after a stop by a signal, else ExitFailed.
    int stoppedExitCode() const;

private:
    template <typename Worker>
    JobOutcome runExport(Worker &worker, Forwarding forwarding, const std::function<void()> &start);
    template <typename Worker>
    JobOutcome run(Worker &worker, const std::function<void()> &start);
    void onMessage(const QString &text, bool isError, int count);
    void onFinished(const QString &file);

    Reporter &m_reporter;
    QEventLoop m_loop;
    std::function<void()> m_stopWorker;
    JobOutcome m_outcome;
    Forwarding m_forwarding = ForwardEverything;
    std::atomic_bool m_stopRequested{false};
    int m_stopSignal = 0;
};

} // namespace fiscora::app

#endif // FISCORA_APP_JOBRUNNER_H
