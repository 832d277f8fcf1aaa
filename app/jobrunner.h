#ifndef FISCORA_CLI_JOBRUNNER_H
#define FISCORA_CLI_JOBRUNNER_H

#include "commandline.h"

#include <QEventLoop>
#include <QObject>

#include <functional>

class QThread;

namespace fiscora::cli {

class Reporter;

/*!
 * Runs a "read" or "export" job as an application does: it constructs the library's worker,
 * follows its signals (queued from the worker's thread), starts it and waits for its thread to
 * end. Ctrl+C asks the worker to stop and waits for it.
 *
 * \code
 * const int exitCode = JobRunner(*reporter).run(command);
 * \endcode
 */
class JobRunner : public QObject
{
    Q_OBJECT

public:
    explicit JobRunner(Reporter &reporter, QObject *parent = nullptr);
    ~JobRunner() override;

    /*!
     * Runs the job of \a command to its end and returns the exit code: 0 when it wrote its files
     * and reported neither an error nor a message flagged as one (so an export's hash value is
     * OK), 1 when it did, 128 plus the signal number when the user stopped it.
     */
    int run(const Command &command);

private:
    void startReader(const Command &command);
    void startCypher(const Command &command);
    template <typename Worker>
    void follow(Worker *worker);
    void onError(const QString &error, const QString &hint);
    void onMessage(const QString &text, bool isError, int count);
    void onFinished(const QString &file);
    void interrupt(int signalNumber);
    void end();
    int exitCode() const;

    Reporter &m_reporter;
    QThread *m_worker = nullptr;
    std::function<void()> m_stopWorker;
    QEventLoop m_loop;
    int m_interruptSignal = 0;
    bool m_failureReported = false;
    int m_filesFinished = 0;
};

} // namespace fiscora::cli

#endif // FISCORA_CLI_JOBRUNNER_H
