#include "exportpage.h"

#include "folderopener.h"
#include "jobthread.h"
#include "protocoldialog.h"
#include "progressbars.h"
#include "reportview.h"
#include "spanpicker.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace fiscora::desktop {

namespace {

const QLatin1String TargetKey("export/target");
const QLatin1String BackupFolderKey("export/backupFolder");

QString defaultTarget()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1String("/Fiscora/Export");
}

QString monthText(const QDate &month)
{
    return month.toString(QStringLiteral("MM/yyyy"));
}

QLabel *wrappingLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

} // namespace

ExportPage::ExportPage(QWidget *parent)
    : QWidget(parent)
    , m_backup(new QComboBox(this))
    , m_summary(wrappingLabel(this))
    , m_span(new SpanPicker(this))
    , m_gdpdu(new QCheckBox(tr("GDPd&U package"), this))
    , m_indexInfo(new QCheckBox(tr("&INDEX_INFO line"), this))
    , m_skipLineCheck(new QCheckBox(tr("S&kip the line check"), this))
    , m_target(new QLineEdit(this))
    , m_export(new QPushButton(tr("&Export"), this))
    , m_package(new QPushButton(tr("Pack&age for hand-over"), this))
    , m_packageAll(new QPushButton(tr("Package eve&ry register"), this))
    , m_stop(new QPushButton(tr("&Cancel"), this))
    , m_bar(new QProgressBar(this))
    , m_report(new ReportView(this))
    , m_verdictBox(new QFrame(this))
    , m_verdictTitle(wrappingLabel(this))
    , m_verdict(wrappingLabel(this))
    , m_openFolder(new QPushButton(tr("Ope&n folder"), this))
    , m_copyPath(new QPushButton(tr("Cop&y its path"), this))
    , m_viewProtocol(new QPushButton(tr("Vie&w protocol"), this))
{
    m_backup->setObjectName(QStringLiteral("backup"));
    m_summary->setObjectName(QStringLiteral("backupSummary"));
    m_target->setObjectName(QStringLiteral("exportTarget"));
    m_export->setObjectName(QStringLiteral("export"));
    m_package->setObjectName(QStringLiteral("package"));
    m_packageAll->setObjectName(QStringLiteral("packageAll"));
    m_packageAll->setToolTip(tr("Packs each backup listed above for the period into an archive of its own, one "
                                "after the other, and sums them up."));
    m_packageAll->setAccessibleDescription(m_packageAll->toolTip());
    m_stop->setObjectName(QStringLiteral("exportStop"));
    m_report->setObjectName(QStringLiteral("exportMessages"));
    m_verdictTitle->setObjectName(QStringLiteral("verdictTitle"));
    m_verdict->setObjectName(QStringLiteral("verdict"));
    m_openFolder->setObjectName(QStringLiteral("openFolder"));
    m_copyPath->setObjectName(QStringLiteral("copyPath"));
    m_copyPath->setToolTip(tr("Copies the path of what was written, to paste it into a mail or an upload form."));
    m_viewProtocol->setObjectName(QStringLiteral("viewProtocol"));
    m_gdpdu->setChecked(true);
    m_gdpdu->setToolTip(tr("The table file gobd.csv with its description index.xml and the DTD, as an auditor's "
                           "software imports them."));
    m_indexInfo->setToolTip(tr("Heads the table with the backup's INDEX_INFO line; the index.xml of a GDPdU package "
                               "does not declare it."));
    m_skipLineCheck->setToolTip(tr("Writes the lines as they decrypt, damaged ones included, without checking and "
                                   "repairing them."));
    for (QCheckBox *option : {m_gdpdu, m_indexInfo, m_skipLineCheck})
        option->setAccessibleDescription(option->toolTip());
    m_target->setText(QDir::toNativeSeparators(QSettings().value(TargetKey, defaultTarget()).toString()));
    m_bar->setAccessibleName(tr("Progress of the export"));
    showIdle(m_bar);
    m_export->setToolTip(tr("Writes the table file, with GDPdU its description too, into a folder of the target: "
                            "to look at, check or import yourself."));
    m_package->setToolTip(tr("Makes the one file to give the tax office: the GDPdU export, verified, packed with its "
                             "manifest and the protocol to sign into one archive."));
    m_export->setAccessibleDescription(m_export->toolTip());
    m_package->setAccessibleDescription(m_package->toolTip());
    m_stop->setAccessibleDescription(tr("Stops the job; the target folder stays as it was."));
    QFont bold = m_verdictTitle->font();
    bold.setBold(true);
    m_verdictTitle->setFont(bold);
    m_verdictTitle->setAccessibleName(tr("Verdict"));

    auto *chooseBackup = new QPushButton(tr("Choo&se…"), this);
    chooseBackup->setAccessibleName(tr("Choose a backup file"));
    auto *chooseTarget = new QPushButton(tr("Choose fol&der…"), this);
    chooseTarget->setAccessibleName(tr("Choose the target folder"));
    auto *backupRow = new QHBoxLayout;
    backupRow->addWidget(m_backup, 1);
    backupRow->addWidget(chooseBackup);
    auto *targetRow = new QHBoxLayout;
    targetRow->addWidget(m_target, 1);
    targetRow->addWidget(chooseTarget);
    auto *advanced = new QHBoxLayout;
    advanced->addWidget(m_indexInfo);
    advanced->addWidget(m_skipLineCheck);
    advanced->addStretch();

    auto *backupLabel = new QLabel(tr("&Backup file:"), this);
    backupLabel->setBuddy(m_backup);
    auto *spanLabel = new QLabel(tr("&Period:"), this);
    spanLabel->setBuddy(m_span->button(SpanPicker::Everything));
    auto *targetLabel = new QLabel(tr("&Target folder:"), this);
    targetLabel->setBuddy(m_target);
    auto *form = new QFormLayout;
    form->addRow(backupLabel, backupRow);
    form->addRow(QString(), m_summary);
    form->addRow(spanLabel, m_span);
    form->addRow(tr("Options:"), m_gdpdu);
    form->addRow(tr("Advanced:"), advanced);
    form->addRow(targetLabel, targetRow);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_export);
    buttons->addWidget(m_package);
    buttons->addWidget(m_packageAll);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_bar, 1);
    auto *verdictButtons = new QHBoxLayout;
    verdictButtons->addStretch();
    verdictButtons->addWidget(m_openFolder);
    verdictButtons->addWidget(m_copyPath);
    verdictButtons->addWidget(m_viewProtocol);
    auto *messagesLabel = new QLabel(tr("Messa&ges:"), this);
    messagesLabel->setBuddy(m_report);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(messagesLabel);
    layout->addWidget(m_report, 1);
    m_verdictBox->setFrameShape(QFrame::StyledPanel);
    m_verdictBox->hide();
    auto *verdictLayout = new QVBoxLayout(m_verdictBox);
    verdictLayout->addWidget(m_verdictTitle);
    verdictLayout->addWidget(m_verdict);
    verdictLayout->addLayout(verdictButtons);
    layout->addWidget(m_verdictBox);

    connect(chooseBackup, &QPushButton::clicked, this, &ExportPage::chooseBackup);
    connect(chooseTarget, &QPushButton::clicked, this, &ExportPage::chooseTarget);
    connect(m_backup, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ExportPage::lookIntoBackup);
    connect(m_gdpdu, &QCheckBox::toggled, this, &ExportPage::updateOptions);
    connect(m_export, &QPushButton::clicked, this, [this] { start(app::Command::Export, false); });
    connect(m_package, &QPushButton::clicked, this, [this] { start(app::Command::Package, false); });
    connect(m_packageAll, &QPushButton::clicked, this, &ExportPage::packageEveryRegister);
    connect(m_stop, &QPushButton::clicked, this, &ExportPage::stop);
    connect(m_openFolder, &QPushButton::clicked, this, &ExportPage::openFolder);
    connect(m_copyPath, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(QDir::toNativeSeparators(m_outcome.written())); });
    connect(m_viewProtocol, &QPushButton::clicked, this, &ExportPage::viewProtocol);
    setBusy(nullptr);
    updateOptions();
    m_summary->setText(tr("Choose a backup: one just read, or a backup file of an earlier read."));
}

void ExportPage::addBackups(const QStringList &backups)
{
    for (const QString &backup : backups) {
        const QString path = QDir::toNativeSeparators(backup);
        if (m_backup->findData(path) < 0)
            m_backup->addItem(QFileInfo(backup).fileName(), path);
    }
    if (!backups.isEmpty())
        m_backup->setCurrentIndex(m_backup->findData(QDir::toNativeSeparators(backups.constFirst())));
    updateButtons();
}

QStringList ExportPage::backups() const
{
    QStringList backups;
    for (int i = 0; i < m_backup->count(); ++i)
        backups << QDir::fromNativeSeparators(m_backup->itemData(i).toString());
    return backups;
}

QString ExportPage::backup() const
{
    return QDir::fromNativeSeparators(m_backup->currentData().toString());
}

void ExportPage::setTarget(const QString &folder)
{
    m_target->setText(QDir::toNativeSeparators(folder));
}

QString ExportPage::target() const
{
    return QDir::cleanPath(QDir::fromNativeSeparators(m_target->text().trimmed()));
}

void ExportPage::chooseBackup()
{
    QSettings settings;
    const QString file = QFileDialog::getOpenFileName(this, tr("Choose a backup file"),
                                                      settings.value(BackupFolderKey, QDir::homePath()).toString(),
                                                      tr("Backup files (*.enc);;All files (*)"));
    if (file.isEmpty())
        return;
    settings.setValue(BackupFolderKey, QFileInfo(file).path());
    addBackups({file});
}

void ExportPage::chooseTarget()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Choose the folder for the export"), target());
    if (!folder.isEmpty())
        setTarget(folder);
}

// What the backup holds is counted as it is decrypted, in a thread of its own.
void ExportPage::lookIntoBackup()
{
    if (backup().isEmpty())
        return;
    // What was shown for the backup chosen before is not this one's.
    if (!isBusy())
        clearResults();
    m_summary->setText(tr("Looking into %1…").arg(QDir::toNativeSeparators(backup())));
    app::Command command;
    command.kind = app::Command::Info;
    command.source = backup();
    auto *job = new JobThread(command, this);
    m_infoJob = job;
    connect(job, &JobThread::backupRead, this, [this, job](const app::BackupInfo &info, const app::PeriodFindings &findings) {
        if (job == m_infoJob)
            showBackup(info, findings);
    });
    // A large backup takes a while to look into; the summary says how far it got.
    connect(job, &JobThread::progressBegan, this,
            [this, job](const QString &, int, int endValue) { m_infoEnd = job == m_infoJob ? endValue : m_infoEnd; });
    connect(job, &JobThread::progressed, this, [this, job](const QString &, int value) {
        if (job == m_infoJob && m_infoEnd > 0)
            m_summary->setText(tr("Looking into %1… %2 %").arg(QDir::toNativeSeparators(backup())).arg(value * 100 / m_infoEnd));
    });
    connect(job, &JobThread::errorReported, this, [this, job](const QString &, const QString &error, const QString &hint) {
        if (job == m_infoJob)
            m_summary->setText(tr("Error: %1\nWhat to do: %2").arg(ReportView::plainText(error), ReportView::plainText(hint)));
    });
    connect(job, &QThread::finished, job, &QObject::deleteLater);
    job->start();
}

void ExportPage::showBackup(const app::BackupInfo &info, const app::PeriodFindings &findings)
{
    QList<QDate> months;
    for (const app::MonthFinding &month : findings.months()) {
        if (month.sums.rows > 0)
            months << month.month;
    }
    const QString period = months.isEmpty() ? tr("no records")
                                            : tr("%1 to %2").arg(monthText(months.constFirst()), monthText(months.constLast()));
    const QString md5 = info.md5Matches() ? tr("its data matches the MD5 value of its header")
                                          : tr("its data does NOT match the MD5 value of its header: it has been "
                                               "altered or damaged");
    m_summary->setText(tr("Register %1 · %2 · %3 records · read from %4 · %5.")
                               .arg(info.serialNumber(), period)
                               .arg(findings.total().rows)
                               .arg(info.sourceText(), md5));
    if (!months.isEmpty())
        m_span->setAvailable(months.constFirst(), months.constLast());
}

// A GDPdU table is described by index.xml, which declares no INDEX_INFO line.
void ExportPage::updateOptions()
{
    m_indexInfo->setEnabled(!m_gdpdu->isChecked());
    if (m_gdpdu->isChecked())
        m_indexInfo->setChecked(false);
}

void ExportPage::clearResults()
{
    m_report->clear();
    m_outcome = ExportVerdict();
    m_handover = app::HandoverFacts();
    m_verdictBox->hide();
    showIdle(m_bar);
}

void ExportPage::start(app::Command::Kind kind, bool overwrite)
{
    clearResults();
    m_packingAll = false;
    run(kind, backup(), overwrite);
}

void ExportPage::run(app::Command::Kind kind, const QString &source, bool overwrite)
{
    if (!m_span->isValid()) {
        m_report->addError(QString(), tr("The last month lies before the first."), tr("Choose the months again."));
        return;
    }
    QSettings().setValue(TargetKey, target());
    m_outcome = ExportVerdict();
    m_handover = app::HandoverFacts();
    app::Command request = command(kind, overwrite);
    request.source = source;
    auto *job = new JobThread(request, this);
    connectJob(job);
    setBusy(job);
    job->start();
}

// One backup after the other, each into an archive of its own; the verdict sums them up.
void ExportPage::packageEveryRegister()
{
    clearResults();
    m_packingAll = true;
    m_queueFlagged = false;
    m_queueLines.clear();
    m_queue = backups();
    packageNext();
}

void ExportPage::packageNext()
{
    if (m_queue.isEmpty()) {
        showQueueVerdict();
        return;
    }
    run(app::Command::Package, m_queue.takeFirst(), false);
}

void ExportPage::noteQueued(JobThread *job)
{
    const QString name = QFileInfo(job->command().source).fileName();
    const QString title = m_outcome.title(job->exitCode(), true);
    m_queueLines << (m_outcome.wroteFiles() ? tr("%1: %2 %3").arg(name, title, QDir::toNativeSeparators(m_outcome.written()))
                                            : tr("%1: %2").arg(name, title));
    m_queueFlagged = m_queueFlagged || job->exitCode() != 0;
}

void ExportPage::showQueueVerdict()
{
    m_verdictTitle->setText(m_queueFlagged ? tr("Done, with findings: each register's verdict is below.")
                                           : tr("Done: an archive for each register is written."));
    m_verdict->setText((m_queueLines + QStringList(tr("Each archive is one register's file for the tax office, with "
                                                      "its own protocol to sign.")))
                               .join(QLatin1Char('\n')));
    m_openFolder->setEnabled(true);
    m_copyPath->setEnabled(false);
    m_viewProtocol->setEnabled(false);
    m_verdictBox->show();
    m_packingAll = false;
}

app::Command ExportPage::command(app::Command::Kind kind, bool overwrite) const
{
    app::Command command;
    command.kind = kind;
    command.source = backup();
    command.target = target();
    command.fromDate = m_span->fromDate();
    command.toDate = m_span->toDate();
    command.gdpduExport = m_gdpdu->isChecked();
    command.indexInfoLine = m_indexInfo->isChecked();
    command.skipLineCheck = m_skipLineCheck->isChecked();
    command.overwrite = overwrite;
    return command;
}

void ExportPage::connectJob(JobThread *job)
{
    connect(job, &JobThread::progressBegan, this, [this](const QString &, int startValue, int endValue) {
        m_bar->setFormat(QStringLiteral("%p%"));
        m_bar->setRange(startValue, endValue);
        m_bar->setValue(startValue);
    });
    connect(job, &JobThread::progressed, m_bar, [this](const QString &, int value) { m_bar->setValue(value); });
    connect(job, &JobThread::messageReported, this,
            [this](const QString &serialNumber, const QString &text, bool isError, int count) {
                m_report->addMessage(serialNumber, text, isError);
                m_outcome.addMessage(text, isError, count);
            });
    connect(job, &JobThread::errorReported, this, [this](const QString &serialNumber, const QString &error, const QString &hint) {
        if (m_outcome.stopped())
            m_report->addStop(serialNumber, tr("Stopped as you asked: nothing was written."), error);
        else
            m_report->addError(serialNumber, error, hint);
        m_outcome.addError(error, hint);
    });
    connect(job, &JobThread::fileWritten, this, [this](const QString &, const QString &file) { m_outcome.addFile(file); });
    connect(job, &JobThread::stopping, this, [this] {
        m_outcome.setStopped();
        m_report->addNote(tr("Stopping: waiting for the running job to end…"));
    });
    connect(job, &QThread::finished, this, [this, job] { jobEnded(job); });
}

void ExportPage::jobEnded(JobThread *job)
{
    job->deleteLater();
    setBusy(nullptr);
    if (!job->inTheWay().isEmpty()) {
        if (askToReplace(job->inTheWay())) {
            run(job->command().kind, job->command().source, true);
            return;
        }
        m_report->addNote(tr("Nothing was written: what is already there was kept."));
        if (!m_packingAll)
            return;
    }
    if (!m_packingAll) {
        showVerdict(job);
        return;
    }
    noteQueued(job);
    if (m_outcome.stopped())
        m_queue.clear();
    packageNext();
}

bool ExportPage::askToReplace(const QStringList &paths)
{
    const QString text = tr("This is already in the target folder:\n%1\n\nReplace it?").arg(paths.join(QLatin1Char('\n')));
    return QMessageBox::question(this, tr("Replace the earlier export?"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
        == QMessageBox::Yes;
}

void ExportPage::showVerdict(JobThread *job)
{
    const bool package = job->command().kind == app::Command::Package;
    m_handover = job->handover();
    m_verdictTitle->setText(m_outcome.title(job->exitCode(), package));
    m_verdict->setText(m_outcome.lines(m_handover, package, !job->command().skipLineCheck).join(QLatin1Char('\n')));
    m_openFolder->setEnabled(m_outcome.wroteFiles());
    m_copyPath->setEnabled(m_outcome.wroteFiles());
    m_viewProtocol->setEnabled(package && m_outcome.wroteFiles());
    m_verdictBox->show();
}

void ExportPage::openFolder()
{
    FolderOpener::open(this, m_outcome.wroteFiles() ? m_outcome.folder() : target());
}

void ExportPage::viewProtocol()
{
    ProtocolDialog(m_handover, this).exec();
}

void ExportPage::stop()
{
    if (m_job)
        m_job->stop();
}

void ExportPage::setBusy(JobThread *job)
{
    m_job = job;
    m_openFolder->setEnabled(false);
    m_viewProtocol->setEnabled(false);
    updateButtons();
    Q_EMIT busyChanged(isBusy());
}

void ExportPage::updateButtons()
{
    m_export->setEnabled(!isBusy() && m_backup->count() > 0);
    m_package->setEnabled(!isBusy() && m_backup->count() > 0);
    m_packageAll->setEnabled(!isBusy() && m_backup->count() > 1);
    m_stop->setEnabled(isBusy());
}

bool ExportPage::isBusy() const
{
    return m_job != nullptr;
}

} // namespace fiscora::desktop
