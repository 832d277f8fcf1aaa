#ifndef FISCORA_DESKTOP_JOBTHREAD_H
#define FISCORA_DESKTOP_JOBTHREAD_H

#include "backupinfo.h"
#include "checkreport.h"
#include "command.h"
#include "handoverprotocol.h"
#include "reporter.h"
#include "periodfindings.h"

#include <fiscora/cardlisting.h>

#include <QList>
#include <QMetaType>
#include <QMutex>
#include <QStringList>
#include <QThread>

namespace fiscora::app {
class JobRunner;
}

namespace fiscora::desktop {

/*!
 * Runs one command of the application core in a thread of its own, so that the window stays
 * responsive, and passes on everything it reports as signals, which reach the window queued.
 * A command that would replace files does not run unless asked to: inTheWay() then names them.
 *
 * \code
 * auto *job = new JobThread(command, this);
 * connect(job, &JobThread::messageReported, view, &ReportView::addMessage);
 * connect(job, &QThread::finished, this, [job] { show(job->exitCode()); });
 * job->start();
 * \endcode
 *
 * The destructor stops the job and waits for it.
 */
class JobThread : public QThread, private app::Reporter
{
    Q_OBJECT

public:
    explicit JobThread(const app::Command &command, QObject *parent = nullptr);
    ~JobThread() override;

    const app::Command &command() const { return m_command; }
    //! Once finished: the command's exit code, or -1 when it did not run.
    int exitCode() const { return m_exitCode; }
    //! Once finished: the files and folders the command would have replaced; it did not run.
    QStringList inTheWay() const { return m_inTheWay; }
    //! Once a package command has finished: what the protocol of its archive states.
    app::HandoverFacts handover() const { return m_handover; }

    //! Asks the job, from any thread, to stop; it ends as soon as the library's worker has.
    void stop();

Q_SIGNALS:
    void progressBegan(const QString &serialNumber, int startValue, int endValue);
    void progressed(const QString &serialNumber, int value);
    //! \a count numbers an index report from 1; 0 for the other messages, those on lines among them.
    void messageReported(const QString &serialNumber, const QString &text, bool isError, int count);
    void errorReported(const QString &serialNumber, const QString &error, const QString &hint);
    //! A backup file, a table file, a GDPdU description file or an archive was written.
    void fileWritten(const QString &serialNumber, const QString &file);
    void stopping();
    void backupRead(const fiscora::app::BackupInfo &info, const fiscora::app::PeriodFindings &findings);
    void cardListed(const QString &source, const QList<fiscora::CardListing::Register> &registers);
    void checked(const fiscora::app::CheckReport &report);

protected:
    void run() override;

private:
    int runCommand(app::JobRunner &runner);
    void setRunner(app::JobRunner *runner);

    void progressStarted(int startValue, int endValue) override;
    void progress(int value) override;
    void message(const QString &text, bool isError, int count) override;
    void error(const QString &error, const QString &hint) override;
    void finished(const QString &file) override;
    void fileSaved(const QString &file) override;
    void interrupted() override;
    void backupInfo(const app::BackupInfo &info, const app::PeriodFindings &findings) override;
    void cardListing(const QString &source, const QList<CardListing::Register> &registers) override;
    void verification(const app::Verification &verification) override;
    void check(const app::CheckReport &report) override;
    void done(int exitCode) override;

    const app::Command m_command;
    int m_exitCode = -1;
    QStringList m_inTheWay;
    app::HandoverFacts m_handover;
    QMutex m_mutex;
    //! Lives in this thread while the command runs; guarded by m_mutex.
    app::JobRunner *m_runner = nullptr;
    bool m_stopRequested = false;
};

} // namespace fiscora::desktop

Q_DECLARE_METATYPE(fiscora::app::BackupInfo)
Q_DECLARE_METATYPE(fiscora::app::PeriodFindings)
Q_DECLARE_METATYPE(fiscora::app::CheckReport)
Q_DECLARE_METATYPE(QList<fiscora::CardListing::Register>)

#endif // FISCORA_DESKTOP_JOBTHREAD_H
