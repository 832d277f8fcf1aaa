#include "auditpage.h"

#include "chartview.h"
#include "checkcharts.h"
#include "checkfinding.h"
#include "checkpdf.h"
#include "checkwords.h"
#include "jobthread.h"
#include "progressbars.h"
#include "reportview.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace fiscora::desktop {

namespace {

QStyle::StandardPixmap iconOf(app::CheckFinding::Verdict verdict)
{
    switch (verdict) {
    case app::CheckFinding::Flagged:
        return QStyle::SP_MessageBoxCritical;
    case app::CheckFinding::Explain:
        return QStyle::SP_MessageBoxWarning;
    case app::CheckFinding::Passed:
    case app::CheckFinding::TooFew:
    case app::CheckFinding::NotApplicable:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

} // namespace

AuditPage::AuditPage(QWidget *parent)
    : QWidget(parent)
    , m_subject(new QLabel(tr("The checks run on the backup and the period chosen in the export step."), this))
    , m_check(new QPushButton(tr("&Check the journal"), this))
    , m_checkAll(new QPushButton(tr("Check e&very register"), this))
    , m_stop(new QPushButton(tr("Ca&ncel"), this))
    , m_save(new QPushButton(tr("Save the report as PDF…"), this))
    , m_bar(new QProgressBar(this))
    , m_verdict(new QLabel(this))
    , m_findings(new QListWidget(this))
    , m_charts(new QVBoxLayout)
{
    m_subject->setWordWrap(true);
    m_check->setObjectName(QStringLiteral("auditCheck"));
    m_checkAll->setObjectName(QStringLiteral("auditCheckAll"));
    m_checkAll->setToolTip(tr("Checks each backup of the export step for the period, one after the other, and sums "
                              "up what the tests make of each."));
    m_checkAll->setAccessibleDescription(m_checkAll->toolTip());
    m_stop->setObjectName(QStringLiteral("auditStop"));
    m_save->setObjectName(QStringLiteral("auditSave"));
    m_verdict->setObjectName(QStringLiteral("auditVerdict"));
    m_findings->setObjectName(QStringLiteral("auditFindings"));
    m_check->setToolTip(tr("Runs the analyses of a tax audit on the journal: numbering, days without records, the "
                           "digit tests of the daily takings, Benford's law, the share of cash, the hours and the "
                           "cancellations."));
    m_save->setToolTip(tr("Writes the findings and the charts into a PDF to keep with the hand-over."));
    m_check->setAccessibleDescription(m_check->toolTip());
    m_save->setAccessibleDescription(m_save->toolTip());
    m_bar->setAccessibleName(tr("Progress of the check"));
    showIdle(m_bar);
    m_verdict->setWordWrap(true);
    QFont bold = m_verdict->font();
    bold.setBold(true);
    m_verdict->setFont(bold);
    m_findings->setWordWrap(true);
    m_findings->setTextElideMode(Qt::ElideNone);
    m_findings->setMinimumHeight(fontMetrics().height() * 12);
    m_findings->setAccessibleName(tr("Findings"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_check);
    buttons->addWidget(m_checkAll);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_bar, 1);
    buttons->addWidget(m_save);
    auto *findingsLabel = new QLabel(tr("Fin&dings:"), this);
    findingsLabel->setBuddy(m_findings);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_subject);
    layout->addLayout(buttons);
    layout->addWidget(m_verdict);
    layout->addWidget(findingsLabel);
    layout->addWidget(m_findings);
    layout->addLayout(m_charts);
    layout->addStretch();

    m_stop->setEnabled(false);
    m_save->setEnabled(false);
    connect(m_check, &QPushButton::clicked, this, [this] {
        m_queue.clear();
        m_summaries.clear();
        start(QString());
    });
    connect(m_checkAll, &QPushButton::clicked, this, &AuditPage::checkEveryRegister);
    connect(m_stop, &QPushButton::clicked, this, &AuditPage::stop);
    connect(m_save, &QPushButton::clicked, this, &AuditPage::chooseReportFile);
}

void AuditPage::checkEveryRegister()
{
    clearResults();
    m_queue = m_backups ? m_backups() : QStringList();
    m_summaries.clear();
    if (m_queue.isEmpty()) {
        m_verdict->setText(tr("Choose a backup in the export step first."));
        return;
    }
    start(m_queue.takeFirst());
}

// A check of the export step's choice; with \a backup, of that backup for the same period.
void AuditPage::start(const QString &backup)
{
    if (m_summaries.isEmpty())
        clearResults();
    app::Command command = m_choice ? m_choice() : app::Command();
    if (!backup.isEmpty())
        command.source = backup;
    if (command.source.isEmpty()) {
        m_verdict->setText(tr("Choose a backup in the export step first."));
        return;
    }
    command.kind = app::Command::Check;
    m_subjectFile = command.source;
    m_subject->setText(tr("%1, %2").arg(QFileInfo(command.source).fileName(),
                                        command.fromDate.isValid()
                                            ? app::CheckWords::months(command.fromDate,
                                                                       command.toDate.isValid() ? command.toDate
                                                                                                : command.fromDate)
                                            : tr("every month")));
    auto *job = new JobThread(command, this);
    connect(job, &JobThread::progressBegan, this, [this](const QString &, int first, int last) {
        m_bar->setFormat(QStringLiteral("%p%"));
        m_bar->setRange(first, last);
    });
    connect(job, &JobThread::progressed, m_bar, [this](const QString &, int value) { m_bar->setValue(value); });
    connect(job, &JobThread::checked, this, &AuditPage::showReport);
    connect(job, &JobThread::errorReported, this, [this](const QString &, const QString &error, const QString &hint) {
        m_verdict->setText(tr("Error: %1\nWhat to do: %2").arg(ReportView::plainText(error), ReportView::plainText(hint)));
    });
    connect(job, &JobThread::stopping, this, [this] {
        m_stopped = true;
        m_verdict->setText(tr("Stopped as you asked: nothing was checked."));
    });
    connect(job, &QThread::finished, this, [this, job] {
        job->deleteLater();
        setBusy(nullptr);
        checkedOne(job);
    });
    setBusy(job);
    job->start();
}

// Checking every register: the next backup, or the summary of all once each was checked.
void AuditPage::checkedOne(JobThread *job)
{
    if (m_queue.isEmpty() && m_summaries.isEmpty())
        return;
    m_summaries << tr("%1: %2").arg(QFileInfo(job->command().source).fileName(), m_verdict->text());
    if (!m_queue.isEmpty() && !m_stopped) {
        start(m_queue.takeFirst());
        return;
    }
    m_queue.clear();
    m_verdict->setText(m_summaries.join(QLatin1Char('\n')));
    m_summaries.clear();
    // The charts of several registers would not say whose they are, nor a report which it is.
    clearCharts();
    m_save->setEnabled(false);
}

void AuditPage::showReport(const app::CheckReport &report)
{
    m_report = report;
    m_checked = true;
    int flagged = 0;
    int explain = 0;
    for (const app::CheckFinding &finding : report.findings) {
        flagged += finding.verdict == app::CheckFinding::Flagged ? 1 : 0;
        explain += finding.verdict == app::CheckFinding::Explain ? 1 : 0;
    }
    const QString covers = tr("%1 records, %2 to %3").arg(report.records).arg(app::CheckWords::day(report.firstDay),
                                                                              app::CheckWords::day(report.lastDay));
    m_verdict->setText(flagged > 0 ? tr("Flagged by an auditor's tests: %1, in this journal of %2; each is explained below.")
                                             .arg(flagged).arg(covers)
                       : explain > 0 ? tr("No test flags this journal of %1; what an auditor may ask about: %2.")
                                               .arg(covers).arg(explain)
                                     : tr("No test flags this journal of %1.").arg(covers));
    showFindings(report);
    showCharts(report);
    m_save->setEnabled(true);
}

// The flagged first: what an auditor will ask about leads.
void AuditPage::showFindings(const app::CheckReport &report)
{
    const bool severalRegisters = !m_queue.isEmpty() || !m_summaries.isEmpty();
    const QString name = severalRegisters ? QFileInfo(m_subjectFile).fileName() + QLatin1String(": ") : QString();
    QList<app::CheckFinding> findings = report.findings;
    std::stable_sort(findings.begin(), findings.end(),
                     [](const app::CheckFinding &a, const app::CheckFinding &b) { return a.verdict > b.verdict; });
    for (const app::CheckFinding &finding : qAsConst(findings)) {
        QString verdict = app::CheckFinding::verdictText(finding.verdict);
        verdict[0] = verdict.at(0).toUpper();
        const QString text = name + tr("%1 – %2\n%3; %4.\n%5")
                                            .arg(verdict, finding.title, finding.figure, finding.threshold, finding.conclusion);
        auto *item = new QListWidgetItem(style()->standardIcon(iconOf(finding.verdict)), text, m_findings);
        item->setToolTip(finding.details.join(QLatin1Char('\n')));
        item->setData(Qt::AccessibleTextRole, text);
    }
}

void AuditPage::showCharts(const app::CheckReport &report)
{
    for (const app::ChartModel &chart : app::CheckCharts::of(report))
        m_charts->addWidget(new ChartView(chart, this));
}

void AuditPage::clearResults()
{
    m_checked = false;
    m_report = app::CheckReport();
    m_verdict->clear();
    m_findings->clear();
    clearCharts();
    m_stopped = false;
    showIdle(m_bar);
    m_save->setEnabled(false);
}

void AuditPage::clearCharts()
{
    while (QLayoutItem *item = m_charts->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

void AuditPage::chooseReportFile()
{
    const QString file = QFileDialog::getSaveFileName(this, tr("Save the report of the check"),
                                                      QDir::home().filePath(tr("check.pdf")), tr("PDF (*.pdf)"));
    if (!file.isEmpty())
        writeReport(file);
}

bool AuditPage::writeReport(const QString &file)
{
    QSaveFile out(file);
    if (m_checked && out.open(QIODevice::WriteOnly) && out.write(app::CheckPdf().pdf(m_report)) >= 0 && out.commit())
        return true;
    QMessageBox::warning(this, tr("Report not saved"),
                         tr("The report could not be written to %1: %2").arg(QDir::toNativeSeparators(file), out.errorString()));
    return false;
}

void AuditPage::stop()
{
    if (m_job)
        m_job->stop();
}

void AuditPage::setBusy(JobThread *job)
{
    m_job = job;
    m_check->setEnabled(!job);
    m_checkAll->setEnabled(!job);
    m_stop->setEnabled(job);
    Q_EMIT busyChanged(isBusy());
}

} // namespace fiscora::desktop
