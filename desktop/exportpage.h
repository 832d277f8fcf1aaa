#ifndef FISCORA_DESKTOP_EXPORTPAGE_H
#define FISCORA_DESKTOP_EXPORTPAGE_H

#include "command.h"
#include "exportverdict.h"
#include "handoverprotocol.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace fiscora::app {
class BackupInfo;
class PeriodFindings;
}

namespace fiscora::desktop {

class JobThread;
class ReportView;
class SpanPicker;

/*!
 * The third step: a backup exported for the tax audit, or packed into a hand-over archive with
 * its protocol, for the months chosen. The backup is looked into when it is chosen (period,
 * records, MD5 proof); the job reports as it goes and ends in a verdict that says what was
 * written, whether the MD5 proof holds, which records were repaired or lost, and where it is.
 */
class ExportPage : public QWidget
{
    Q_OBJECT

public:
    explicit ExportPage(QWidget *parent = nullptr);

    //! Offers \a backups, the first of them chosen.
    void addBackups(const QStringList &backups);
    QString backup() const;
    //! Every backup offered.
    QStringList backups() const;
    //! A check of the backup and period chosen here.
    app::Command checkCommand() const { return command(app::Command::Check, false); }
    void setTarget(const QString &folder);
    QString target() const;
    bool isBusy() const;
    void stop();

Q_SIGNALS:
    void busyChanged(bool busy);

private:
    void chooseBackup();
    void chooseTarget();
    void lookIntoBackup();
    void showBackup(const app::BackupInfo &info, const app::PeriodFindings &findings);
    void updateOptions();
    void clearResults();
    void start(app::Command::Kind kind, bool overwrite);
    void run(app::Command::Kind kind, const QString &source, bool overwrite);
    void packageEveryRegister();
    void packageNext();
    void noteQueued(JobThread *job);
    void showQueueVerdict();
    app::Command command(app::Command::Kind kind, bool overwrite) const;
    void connectJob(JobThread *job);
    void jobEnded(JobThread *job);
    bool askToReplace(const QStringList &paths);
    void showVerdict(JobThread *job);
    void openFolder();
    void viewProtocol();
    void setBusy(JobThread *job);
    void updateButtons();

    QComboBox *m_backup;
    QLabel *m_summary;
    SpanPicker *m_span;
    QCheckBox *m_gdpdu;
    QCheckBox *m_indexInfo;
    QCheckBox *m_skipLineCheck;
    QLineEdit *m_target;
    QPushButton *m_export;
    QPushButton *m_package;
    QPushButton *m_packageAll;
    QPushButton *m_stop;
    QProgressBar *m_bar;
    ReportView *m_report;
    QFrame *m_verdictBox;
    QLabel *m_verdictTitle;
    QLabel *m_verdict;
    QPushButton *m_openFolder;
    QPushButton *m_copyPath;
    QPushButton *m_viewProtocol;
    ExportVerdict m_outcome;
    app::HandoverFacts m_handover;
    QPointer<JobThread> m_job;
    QPointer<JobThread> m_infoJob;
    //! Packing every register: the backups still to pack, and a line for each one packed.
    bool m_packingAll = false;
    QStringList m_queue;
    QStringList m_queueLines;
    bool m_queueFlagged = false;
    //! The last value of the progress of looking into the backup.
    int m_infoEnd = 0;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_EXPORTPAGE_H
