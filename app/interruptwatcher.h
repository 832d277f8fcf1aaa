#ifndef FISCORA_CLI_INTERRUPTWATCHER_H
#define FISCORA_CLI_INTERRUPTWATCHER_H

#include <QObject>

class QSocketNotifier;

namespace fiscora::cli {

/*!
 * Turns Ctrl+C (SIGINT), SIGTERM and SIGHUP into the signal interrupted(), delivered by the event loop
 * of the thread that constructed the watcher, instead of ending the process on the spot: a job
 * that is told to stop leaves no half-written file behind.
 *
 * \code
 * InterruptWatcher watcher;
 * connect(&watcher, &InterruptWatcher::interrupted, worker, &SDCardReader::stopProcess);
 * \endcode
 *
 * Only one watcher may exist at a time; its destructor gives the signals their default action back.
 */
class InterruptWatcher : public QObject
{
    Q_OBJECT

public:
    explicit InterruptWatcher(QObject *parent = nullptr);
    ~InterruptWatcher() override;

Q_SIGNALS:
    //! The process received \a signalNumber.
    void interrupted(int signalNumber);

private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace fiscora::cli

#endif // FISCORA_CLI_INTERRUPTWATCHER_H
