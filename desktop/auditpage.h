#ifndef FISCORA_DESKTOP_AUDITPAGE_H
#define FISCORA_DESKTOP_AUDITPAGE_H

#include "checkreport.h"
#include "command.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace fiscora::desktop {

class JobThread;

/*!
 * The fourth step: what the analyses of a tax audit will make of the backup and period chosen
 * for the export, before it is handed over. Each test's verdict with its figure, threshold and
 * what it means, the charts of the takings, the weekdays, the digits and the hours, and the
 * report as a PDF to keep.
 */
class AuditPage : public QWidget
{
    Q_OBJECT

public:
    explicit AuditPage(QWidget *parent = nullptr);

    //! Where the backup and the period come from: the choice of the export step.
    void setChoice(const std::function<app::Command()> &choice) { m_choice = choice; }
    //! The backups a check of every register takes: those of the export step.
    void setBackups(const std::function<QStringList()> &backups) { m_backups = backups; }
    //! Writes the report of the last check to \a file; false, with a message, when it cannot.
    bool writeReport(const QString &file);
    bool isBusy() const { return !m_job.isNull(); }
    void stop();

Q_SIGNALS:
    void busyChanged(bool busy);

private:
    void checkEveryRegister();
    void start(const QString &backup);
    void checkedOne(JobThread *job);
    void showReport(const app::CheckReport &report);
    void showFindings(const app::CheckReport &report);
    void showCharts(const app::CheckReport &report);
    void clearResults();
    void clearCharts();
    void chooseReportFile();
    void setBusy(JobThread *job);

    std::function<app::Command()> m_choice;
    std::function<QStringList()> m_backups;
    //! Checking every register: the backups still to check, and what the tests made of each so far.
    QStringList m_queue;
    QStringList m_summaries;
    //! The backup being checked.
    QString m_subjectFile;
    bool m_stopped = false;
    QLabel *m_subject;
    QPushButton *m_check;
    QPushButton *m_checkAll;
    QPushButton *m_stop;
    QPushButton *m_save;
    QProgressBar *m_bar;
    QLabel *m_verdict;
    QListWidget *m_findings;
    QVBoxLayout *m_charts;
    app::CheckReport m_report;
    bool m_checked = false;
    QPointer<JobThread> m_job;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_AUDITPAGE_H
