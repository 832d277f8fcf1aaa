#include "mainwindow.h"

#include "auditpage.h"
#include "exportpage.h"
#include "readpage.h"
#include "sourcepage.h"
#include "translation.h"

#include <fiscora/fiscora.h>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QUrl>

namespace fiscora::desktop {

namespace {

const QLatin1String LanguageKey("language");

// The one local file or folder of a drop, or nothing.
QString droppedPath(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.constFirst().isLocalFile() ? urls.constFirst().toLocalFile() : QString();
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setAcceptDrops(true);
    build();
    // No larger than the screen it opens on, so that a dialog centred on it fits there too.
    const QRect screen = this->screen()->availableGeometry();
    resize(qMin(1000, screen.width()), qMin(700, screen.height()));
}

// The window is built anew in another language: every text is made again by tr(), and what the
// user chose is taken over.
void MainWindow::build()
{
    const QString source = m_source ? m_source->source() : QString();
    const QString readTarget = m_read ? m_read->target() : QString();
    const QString exportTarget = m_export ? m_export->target() : QString();
    const QString backup = m_export ? m_export->backup() : QString();
    const int step = m_steps ? m_steps->currentIndex() : 0;
    delete m_steps;

    m_steps = new QTabWidget(this);
    m_source = new SourcePage(m_steps);
    m_read = new ReadPage(m_steps);
    m_export = new ExportPage(m_steps);
    m_audit = new AuditPage(m_steps);
    m_steps->addTab(scrolling(m_source), tr("&1 Card"));
    m_steps->addTab(scrolling(m_read), tr("&2 Read"));
    m_steps->addTab(scrolling(m_export), tr("&3 Export and hand over"));
    m_steps->addTab(scrolling(m_audit), tr("&4 Before the audit"));
    m_audit->setChoice([this] { return m_export->checkCommand(); });
    m_audit->setBackups([this] { return m_export->backups(); });
    m_steps->setAccessibleName(tr("Steps"));
    setCentralWidget(m_steps);
    buildMenus();
    updateTitle(QString(), {});

    connect(m_source, &SourcePage::sourceListed, this, &MainWindow::updateTitle);
    connect(m_source, &SourcePage::sourceListed, m_read, &ReadPage::setSource);
    connect(m_source, &SourcePage::nextRequested, this, [this] { showStep(m_read); });
    connect(m_read, &ReadPage::readDone, m_export, &ExportPage::addBackups);
    connect(m_read, &ReadPage::nextRequested, this, [this] { showStep(m_export); });
    connect(m_read, &ReadPage::busyChanged, this, &MainWindow::updateBusy);
    connect(m_export, &ExportPage::busyChanged, this, &MainWindow::updateBusy);
    connect(m_audit, &AuditPage::busyChanged, this, &MainWindow::updateBusy);

    if (!readTarget.isEmpty())
        m_read->setTarget(readTarget);
    if (!exportTarget.isEmpty())
        m_export->setTarget(exportTarget);
    // After a restart the backups of the last read are there to export.
    m_export->addBackups(backup.isEmpty() ? backupsIn(m_read->target()) : QStringList{backup});
    if (!source.isEmpty())
        m_source->setSource(source);
    m_steps->setCurrentIndex(step);
}

QStringList MainWindow::backupsIn(const QString &folder)
{
    QStringList backups;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("Backup_*.enc")}, QDir::Files, QDir::Name))
        backups << dir.filePath(name);
    return backups;
}

// On a small screen a page scrolls rather than cutting its texts short.
QScrollArea *MainWindow::scrolling(QWidget *page)
{
    auto *area = new QScrollArea(m_steps);
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

void MainWindow::showStep(QWidget *page)
{
    for (int step = 0; step < m_steps->count(); ++step) {
        if (currentPage(step) == page)
            m_steps->setCurrentIndex(step);
    }
}

QWidget *MainWindow::currentStep() const
{
    return currentPage(m_steps->currentIndex());
}

QWidget *MainWindow::currentPage(int step) const
{
    auto *area = qobject_cast<QScrollArea *>(m_steps->widget(step));
    return area ? area->widget() : nullptr;
}

void MainWindow::buildMenus()
{
    // A menu bar of its own for every language; setting it deletes the earlier one.
    setMenuBar(new QMenuBar(this));
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Quit"), this, &QWidget::close, QKeySequence::Quit);

    QMenu *language = menuBar()->addMenu(tr("&Language"));
    m_languages = new QActionGroup(language);
    const QString chosen = QSettings().value(LanguageKey).toString();
    const QList<QPair<QString, QString>> languages = {
            {tr("Follow the &system"), QString()},
            {QStringLiteral("&Deutsch"), QStringLiteral("de")},
            {QStringLiteral("&English"), QStringLiteral("en")},
    };
    for (const auto &entry : languages) {
        QAction *action = language->addAction(entry.first);
        action->setCheckable(true);
        action->setChecked(entry.second == chosen);
        action->setData(entry.second);
        m_languages->addAction(action);
    }
    connect(m_languages, &QActionGroup::triggered, this,
            [this](QAction *action) { switchLanguage(action->data().toString()); });

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("Help on this &step"), this, &MainWindow::helpOnStep, QKeySequence::HelpContents);
    help->addAction(tr("&About Fiscora"), this, &MainWindow::about);
}

void MainWindow::switchLanguage(const QString &language)
{
    QSettings().setValue(LanguageKey, language);
    app::installTranslation(language);
    build();
}

void MainWindow::open(const QString &source, const QString &target)
{
    if (QFileInfo(source).isFile()) {
        m_export->addBackups({QFileInfo(source).absoluteFilePath()});
        if (!target.isEmpty())
            m_export->setTarget(target);
        showStep(m_export);
        return;
    }
    m_source->setSource(source);
    if (!target.isEmpty())
        m_read->setTarget(target);
    showStep(m_source);
}

// The title names the card and its registers, so that a glance at the task bar tells which it is.
void MainWindow::updateTitle(const QString &source, const QList<CardListing::Register> &registers)
{
    if (source.isEmpty()) {
        setWindowTitle(tr("Fiscora"));
        return;
    }
    QStringList serials;
    for (const CardListing::Register &cashRegister : registers)
        serials << cashRegister.serialNumber;
    const QString card = QDir::toNativeSeparators(source);
    setWindowTitle(serials.isEmpty() ? tr("%1 – no register – Fiscora").arg(card)
                                     : tr("%1 – registers %2 – Fiscora").arg(card, serials.join(QLatin1String(", "))));
}

bool MainWindow::isBusy() const
{
    return m_read->isBusy() || m_export->isBusy() || m_audit->isBusy();
}

// The language cannot change while a job runs: the window is rebuilt for it.
void MainWindow::updateBusy()
{
    m_languages->setEnabled(!isBusy());
    if (m_closeWhenStopped && !isBusy())
        close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!isBusy()) {
        event->accept();
        return;
    }
    event->ignore();
    if (m_closeWhenStopped)
        return;
    const auto answer = QMessageBox::question(this, tr("Stop the running job?"),
                                              tr("A job is still running. Stop it and close the window?\n\nThe job "
                                                 "stops cleanly: nothing half written is left behind."),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    m_closeWhenStopped = true;
    m_read->stop();
    m_export->stop();
    m_audit->stop();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QFileInfo dropped(droppedPath(event->mimeData()));
    if (!isBusy() && (dropped.isDir() || dropped.isFile()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedPath(event->mimeData());
    if (path.isEmpty() || isBusy())
        return;
    event->acceptProposedAction();
    open(path);
}

void MainWindow::helpOnStep()
{
    const int step = m_steps->currentIndex();
    QMessageBox help(QMessageBox::Information, m_steps->tabText(step).remove(QLatin1Char('&')), helpText(step),
                     QMessageBox::Ok, this);
    help.setObjectName(QStringLiteral("stepHelp"));
    help.exec();
}

QString MainWindow::helpText(int step)
{
    switch (step) {
    case 0:
        return tr("Put the register's SD card into a card reader and choose it under \"Cards plugged in\", or choose a "
                  "copy of it with \"Choose folder\". Each register on it shows with a calendar of its months: "
                  "\u2713 a data file the index announces, \u2717 announced but missing, + there but not announced, "
                  "! cannot be opened, ? no index file to judge by. The records themselves are checked when the card "
                  "is read. Nothing is written in this step.");
    case 1:
        return tr("Reading copies the months of each register into one backup file in the target folder and checks "
                  "them against the card's index. Choose everything or a period, then \"Read\". The card is only "
                  "read; a backup already in the target folder is replaced only when you say so. Keep the backups: "
                  "every export and hand-over is made from them.");
    default:
        break;
    }
    return tr("Choose a backup and a period. \"Package for hand-over\" makes the one file for the tax office: a zip "
              "archive with the GDPdU export, verified, its manifest and the protocol to print, check and sign. "
              "\"Export\" writes the export folder alone, to look at or to check. The verdict says what was "
              "written, whether its data is proven by the backup's MD5 value, and what is missing or damaged.");
}

void MainWindow::about()
{
    QMessageBox::about(this, tr("About Fiscora"),
                       tr("Fiscora %1\n\nBacks up the journal of a cash register from its SD card and exports it "
                          "for a tax audit under the German GoBD/GDPdU rules.")
                               .arg(QString::fromLatin1(getFiscoraLibVersion())));
}

} // namespace fiscora::desktop
