#include "readpage.h"

#include "folderopener.h"
#include "jobthread.h"
#include "reportview.h"
#include "spanpicker.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace fiscora::desktop {

namespace {

const QLatin1String TargetKey("read/target");

QString defaultTarget()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1String("/Fiscora/Backups");
}

QString monthText(const QDate &month)
{
    return month.toString(QStringLiteral("MM/yyyy"));
}

} // namespace

ReadPage::ReadPage(QWidget *parent)
    : QWidget(parent)
    , m_source(new QLabel(tr("No card chosen yet: choose one in the first step."), this))
    , m_span(new SpanPicker(this))
    , m_target(new QLineEdit(this))
    , m_read(new QPushButton(tr("&Read"), this))
    , m_stop(new QPushButton(tr("&Cancel"), this))
    , m_next(new QPushButton(tr("&Next: export and hand over"), this))
    , m_openFolder(new QPushButton(tr("Op&en folder"), this))
    , m_progress(new QVBoxLayout)
    , m_report(new ReportView(this))
    , m_results(new QTreeWidget(this))
{
    m_source->setWordWrap(true);
    m_target->setObjectName(QStringLiteral("readTarget"));
    m_target->setText(QDir::toNativeSeparators(QSettings().value(TargetKey, defaultTarget()).toString()));
    m_report->setObjectName(QStringLiteral("readMessages"));
    m_results->setObjectName(QStringLiteral("readResults"));
    m_results->setHeaderLabels({tr("Register"), tr("Backup file"), tr("Period"), tr("Status")});
    m_results->setRootIsDecorated(false);
    m_results->setWordWrap(true);
    m_results->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_results->header()->setStretchLastSection(true);
    m_results->setAccessibleName(tr("Backups written"));
    m_results->setMaximumHeight(fontMetrics().height() * 8);
    m_read->setObjectName(QStringLiteral("read"));
    m_stop->setObjectName(QStringLiteral("readStop"));
    m_next->setObjectName(QStringLiteral("readNext"));
    m_openFolder->setObjectName(QStringLiteral("readOpenFolder"));
    m_openFolder->setAccessibleDescription(tr("Shows the target folder with the backups in the file manager."));
    m_read->setAccessibleDescription(tr("Reads the card into one backup file per register."));
    m_stop->setAccessibleDescription(tr("Stops the read; no half written backup is left behind."));

    auto *choose = new QPushButton(tr("Choose fol&der…"), this);
    choose->setAccessibleName(tr("Choose the target folder"));
    auto *targetRow = new QHBoxLayout;
    targetRow->addWidget(m_target, 1);
    targetRow->addWidget(choose);
    auto *sourceLabel = new QLabel(tr("Card:"), this);
    auto *spanLabel = new QLabel(tr("&Period:"), this);
    spanLabel->setBuddy(m_span->button(SpanPicker::Everything));
    auto *targetLabel = new QLabel(tr("&Target folder:"), this);
    targetLabel->setBuddy(m_target);
    auto *form = new QFormLayout;
    form->addRow(sourceLabel, m_source);
    form->addRow(spanLabel, m_span);
    form->addRow(targetLabel, targetRow);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_read);
    buttons->addWidget(m_stop);
    buttons->addStretch();
    buttons->addWidget(m_openFolder);
    buttons->addWidget(m_next);
    auto *messagesLabel = new QLabel(tr("Messa&ges:"), this);
    messagesLabel->setBuddy(m_report);
    auto *resultsLabel = new QLabel(tr("&Backups written:"), this);
    resultsLabel->setBuddy(m_results);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addLayout(m_progress);
    layout->addWidget(messagesLabel);
    layout->addWidget(m_report, 1);
    layout->addWidget(resultsLabel);
    layout->addWidget(m_results);

    m_read->setEnabled(false);
    m_stop->setEnabled(false);
    m_next->setEnabled(false);
    connect(choose, &QPushButton::clicked, this, &ReadPage::chooseTarget);
    connect(m_read, &QPushButton::clicked, this, [this] { start(false); });
    connect(m_stop, &QPushButton::clicked, this, &ReadPage::stop);
    connect(m_next, &QPushButton::clicked, this, &ReadPage::nextRequested);
    connect(m_openFolder, &QPushButton::clicked, this, [this] { FolderOpener::open(this, target()); });
}

void ReadPage::setSource(const QString &source, const QList<CardListing::Register> &registers)
{
    // The results of another card's read are not this card's.
    if (source != m_sourcePath && !isBusy())
        clearResults();
    m_sourcePath = source;
    m_registers = registers;
    QStringList serials;
    QDate first;
    QDate last;
    for (const CardListing::Register &cashRegister : registers) {
        serials << cashRegister.serialNumber;
        if (cashRegister.dataFiles.isEmpty())
            continue;
        first = first.isValid() ? qMin(first, cashRegister.dataFiles.firstKey()) : cashRegister.dataFiles.firstKey();
        last = last.isValid() ? qMax(last, cashRegister.dataFiles.lastKey()) : cashRegister.dataFiles.lastKey();
    }
    m_source->setText(registers.isEmpty() ? tr("%1, which holds no register.").arg(QDir::toNativeSeparators(source))
                                          : tr("%1, registers %2").arg(QDir::toNativeSeparators(source),
                                                                       serials.join(QLatin1String(", "))));
    if (first.isValid())
        m_span->setAvailable(first, last);
    m_read->setEnabled(!registers.isEmpty() && !isBusy());
}

void ReadPage::setTarget(const QString &folder)
{
    m_target->setText(QDir::toNativeSeparators(folder));
}

QString ReadPage::target() const
{
    return QDir::cleanPath(QDir::fromNativeSeparators(m_target->text().trimmed()));
}

void ReadPage::chooseTarget()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Choose the folder for the backups"), target());
    if (!folder.isEmpty())
        setTarget(folder);
}

void ReadPage::clearResults()
{
    m_report->clear();
    m_results->clear();
    m_outcome.clear();
    m_stopped = false;
    clearProgress();
    m_next->setEnabled(false);
}

void ReadPage::start(bool overwrite)
{
    clearResults();
    if (!m_span->isValid()) {
        m_report->addError(QString(), tr("The last month lies before the first."), tr("Choose the months again."));
        return;
    }
    QSettings().setValue(TargetKey, target());
    app::Command command;
    command.kind = app::Command::Read;
    command.source = m_sourcePath;
    command.target = target();
    command.fromDate = m_span->fromDate();
    command.toDate = m_span->toDate();
    command.overwrite = overwrite;
    auto *job = new JobThread(command, this);
    connectJob(job);
    setBusy(job);
    m_report->addNote(tr("Reading %1 into %2…").arg(QDir::toNativeSeparators(command.source),
                                                    QDir::toNativeSeparators(command.target)));
    job->start();
}

void ReadPage::connectJob(JobThread *job)
{
    connect(job, &JobThread::progressBegan, this,
            [this](const QString &serialNumber, int startValue, int endValue) { showProgress(serialNumber, startValue, endValue); });
    connect(job, &JobThread::progressed, this, [this](const QString &serialNumber, int value) {
        showProgress(serialNumber, value, m_bars.contains(serialNumber) ? m_bars.value(serialNumber)->maximum() : value);
    });
    connect(job, &JobThread::messageReported, this, [this](const QString &serialNumber, const QString &text, bool isError, int) {
        m_report->addMessage(serialNumber, text, isError);
        m_outcome[serialNumber].problems += isError ? 1 : 0;
    });
    connect(job, &JobThread::errorReported, this, [this](const QString &serialNumber, const QString &error, const QString &hint) {
        if (m_stopped)
            m_report->addStop(serialNumber, tr("Stopped as you asked: no backup was written."), error);
        else
            m_report->addError(serialNumber, error, hint);
        if (m_outcome.value(serialNumber).error.isEmpty())
            m_outcome[serialNumber].error = ReportView::plainText(error);
    });
    connect(job, &JobThread::fileWritten, this,
            [this](const QString &serialNumber, const QString &file) { m_outcome[serialNumber].backup = file; });
    connect(job, &JobThread::stopping, this, [this] {
        m_stopped = true;
        m_report->addNote(tr("Stopping: waiting for the running job to end…"));
    });
    connect(job, &QThread::finished, this, [this, job] { jobEnded(job); });
}

void ReadPage::jobEnded(JobThread *job)
{
    job->deleteLater();
    setBusy(nullptr);
    if (!job->inTheWay().isEmpty()) {
        if (askToReplace(job->inTheWay())) {
            start(true);
            return;
        }
        m_report->addNote(tr("Nothing was read: the backups already there were kept."));
        // They are backups of the card all the same, and the next step may take them.
        QStringList kept;
        for (const QString &path : job->inTheWay())
            kept << QDir::fromNativeSeparators(path);
        m_next->setEnabled(true);
        Q_EMIT readDone(kept);
        return;
    }
    showResults();
}

bool ReadPage::askToReplace(const QStringList &paths)
{
    const QString text = tr("These backups are already in the target folder:\n%1\n\nReplace them with a new read of "
                            "the card?")
                                 .arg(paths.join(QLatin1Char('\n')));
    return QMessageBox::question(this, tr("Replace the backups?"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
        == QMessageBox::Yes;
}

void ReadPage::stop()
{
    if (m_job)
        m_job->stop();
}

void ReadPage::showProgress(const QString &serialNumber, int value, int maximum)
{
    QProgressBar *bar = m_bars.value(serialNumber);
    if (!bar) {
        auto *row = new QHBoxLayout;
        auto *label = new QLabel(tr("CR#%1").arg(serialNumber), this);
        bar = new QProgressBar(this);
        bar->setAccessibleName(tr("Progress of the register %1").arg(serialNumber));
        bar->setFormat(tr("%v of %m data files"));
        label->setBuddy(bar);
        row->addWidget(label);
        row->addWidget(bar, 1);
        m_progress->addLayout(row);
        m_bars.insert(serialNumber, bar);
    }
    bar->setMaximum(maximum);
    bar->setValue(value);
}

void ReadPage::clearProgress()
{
    while (QLayoutItem *row = m_progress->takeAt(0)) {
        while (QLayoutItem *item = row->layout()->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        delete row;
    }
    m_bars.clear();
}

void ReadPage::showResults()
{
    QStringList backups;
    const Result general = m_outcome.value(QString());
    for (const CardListing::Register &cashRegister : qAsConst(m_registers)) {
        Result result = m_outcome.value(cashRegister.serialNumber);
        if (result.error.isEmpty())
            result.error = general.error;
        const QString file = result.backup.isEmpty() ? tr("none") : QFileInfo(result.backup).fileName();
        auto *row = new QTreeWidgetItem(m_results, {cashRegister.serialNumber, file, period(cashRegister), status(result)});
        row->setToolTip(1, QDir::toNativeSeparators(result.backup));
        row->setToolTip(3, row->text(3));
        if (!result.backup.isEmpty())
            backups << result.backup;
    }
    m_next->setEnabled(!backups.isEmpty());
    Q_EMIT readDone(backups);
}

// The period a backup covers: the months chosen, or, for everything, those with data files.
QString ReadPage::period(const CardListing::Register &cashRegister) const
{
    if (m_span->choice() != SpanPicker::Everything)
        return m_span->text();
    if (cashRegister.dataFiles.isEmpty())
        return tr("no data files");
    return tr("%1 to %2").arg(monthText(cashRegister.dataFiles.firstKey()), monthText(cashRegister.dataFiles.lastKey()));
}

QString ReadPage::status(const Result &result) const
{
    if (!result.error.isEmpty() || result.backup.isEmpty()) {
        if (m_stopped)
            return tr("Stopped: no backup was written.");
        return tr("Not backed up: %1").arg(result.error);
    }
    if (result.problems > 0)
        return tr("Backed up; the index reports %1 problems, see the messages.").arg(result.problems);
    return tr("Backed up; the index is correct.");
}

void ReadPage::setBusy(JobThread *job)
{
    m_job = job;
    const bool busy = job != nullptr;
    m_read->setEnabled(!busy && !m_registers.isEmpty());
    m_stop->setEnabled(busy);
    m_next->setEnabled(false);
    Q_EMIT busyChanged(busy);
}

bool ReadPage::isBusy() const
{
    return m_job != nullptr;
}

} // namespace fiscora::desktop
