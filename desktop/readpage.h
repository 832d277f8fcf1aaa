#ifndef FISCORA_DESKTOP_READPAGE_H
#define FISCORA_DESKTOP_READPAGE_H

#include <fiscora/cardlisting.h>

#include <QMap>
#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

namespace fiscora::desktop {

class JobThread;
class ReportView;
class SpanPicker;

/*!
 * The second step: the card read into one backup per register, for the months chosen, into the
 * target folder, which is kept for the next time. Each register has a progress bar; the report
 * comes as it is made; the job can be stopped. At the end each register's backup is listed with
 * its period and status. Backups that are in the way are replaced only when the user says so.
 */
class ReadPage : public QWidget
{
    Q_OBJECT

public:
    explicit ReadPage(QWidget *parent = nullptr);

    //! The card to read and the registers its listing found.
    void setSource(const QString &source, const QList<CardListing::Register> &registers);
    void setTarget(const QString &folder);
    QString target() const;
    bool isBusy() const;
    void stop();

Q_SIGNALS:
    //! The read ended; \a backups are the backup files it wrote.
    void readDone(const QStringList &backups);
    void busyChanged(bool busy);
    void nextRequested();

private:
    //! How a register's read went, from what it reported.
    struct Result
    {
        QString backup;
        QString error;
        int problems = 0;
    };

    void chooseTarget();
    void start(bool overwrite);
    void connectJob(JobThread *job);
    void jobEnded(JobThread *job);
    bool askToReplace(const QStringList &paths);
    void showProgress(const QString &serialNumber, int value, int maximum);
    void clearResults();
    void clearProgress();
    void showResults();
    QString period(const CardListing::Register &cashRegister) const;
    QString status(const Result &result) const;
    void setBusy(JobThread *job);

    QLabel *m_source;
    SpanPicker *m_span;
    QLineEdit *m_target;
    QPushButton *m_read;
    QPushButton *m_stop;
    QPushButton *m_next;
    QPushButton *m_openFolder;
    QVBoxLayout *m_progress;
    QMap<QString, QProgressBar *> m_bars;
    ReportView *m_report;
    QTreeWidget *m_results;
    QString m_sourcePath;
    QList<CardListing::Register> m_registers;
    QMap<QString, Result> m_outcome;
    bool m_stopped = false;
    QPointer<JobThread> m_job;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_READPAGE_H
