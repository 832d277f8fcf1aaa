#include "sourcepage.h"

#include "jobthread.h"
#include "monthcalendar.h"
#include "reportview.h"

#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QVBoxLayout>

namespace fiscora::desktop {

namespace {

const QLatin1String LastFolderKey("source/lastFolder");
// The legend takes two rows, so that the window fits a small screen.
constexpr int LegendColumns = 3;

QString monthText(const QDate &month)
{
    return month.toString(QStringLiteral("MM/yyyy"));
}

QLabel *wrappingLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

} // namespace

SourcePage::SourcePage(QWidget *parent)
    : QWidget(parent)
    , m_cards(new QListWidget(this))
    , m_folder(new QLineEdit(this))
    , m_status(wrappingLabel(QString(), this))
    , m_registers(new QVBoxLayout)
    , m_next(new QPushButton(tr("&Next: read the card"), this))
{
    m_cards->setObjectName(QStringLiteral("cards"));
    m_cards->setMaximumHeight(fontMetrics().height() * 4);
    m_folder->setObjectName(QStringLiteral("sourceFolder"));
    m_folder->setPlaceholderText(tr("The card, its maker's folder, a register's folder, or a copy of one"));
    m_status->setObjectName(QStringLiteral("sourceStatus"));
    m_next->setObjectName(QStringLiteral("sourceNext"));
    auto *choose = new QPushButton(tr("&Choose folder…"), this);
    auto *show = new QPushButton(tr("Sho&w"), this);
    auto *cardsLabel = new QLabel(tr("C&ards plugged in:"), this);
    cardsLabel->setBuddy(m_cards);
    auto *folderLabel = new QLabel(tr("Card or copy f&older:"), this);
    folderLabel->setBuddy(m_folder);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(show);
    folderRow->addWidget(choose);
    auto *form = new QFormLayout;
    form->addRow(cardsLabel, m_cards);
    form->addRow(folderLabel, folderRow);

    auto *registers = new QWidget;
    auto *registersLayout = new QVBoxLayout(registers);
    registersLayout->addLayout(m_registers);
    registersLayout->addStretch();
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(registers);
    scroll->setFrameShape(QFrame::NoFrame);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(legend(), 1);
    buttons->addWidget(m_next, 0, Qt::AlignBottom);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);

    m_next->setEnabled(false);
    connect(&m_watcher, &CardWatcher::cardsChanged, this, &SourcePage::showCards);
    connect(m_cards, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setSource(item->data(Qt::UserRole).toString()); });
    connect(m_folder, &QLineEdit::returnPressed, this, [this] { setSource(m_folder->text()); });
    connect(show, &QPushButton::clicked, this, [this] { setSource(m_folder->text()); });
    connect(choose, &QPushButton::clicked, this, &SourcePage::chooseFolder);
    connect(m_next, &QPushButton::clicked, this, &SourcePage::nextRequested);
    showCards(m_watcher.cards());
    m_status->setText(tr("Plug in the register's SD card, or choose a folder that holds a copy of it."));
}

void SourcePage::showCards(const QList<Card> &cards)
{
    m_cards->clear();
    for (const Card &card : cards) {
        const QString text = tr("%1 (%2)").arg(card.name, QDir::toNativeSeparators(card.rootPath));
        auto *item = new QListWidgetItem(text, m_cards);
        item->setData(Qt::UserRole, card.rootPath);
    }
    if (cards.isEmpty()) {
        auto *item = new QListWidgetItem(tr("No card is plugged in."), m_cards);
        item->setFlags(Qt::NoItemFlags);
    }
}

void SourcePage::chooseFolder()
{
    QSettings settings;
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Choose the card or a copy of it"),
                                                             settings.value(LastFolderKey, QDir::homePath()).toString());
    if (!folder.isEmpty())
        setSource(folder);
}

void SourcePage::setSource(const QString &folder)
{
    if (folder.trimmed().isEmpty())
        return;
    m_source = QDir::cleanPath(QDir::fromNativeSeparators(folder.trimmed()));
    m_folder->setText(QDir::toNativeSeparators(m_source));
    QSettings().setValue(LastFolderKey, m_source);
    clearRegisters();
    m_next->setEnabled(false);
    m_status->setText(tr("Looking at %1…").arg(QDir::toNativeSeparators(m_source)));
    app::Command command;
    command.kind = app::Command::List;
    command.source = m_source;
    // A listing that is no longer wanted ends on its own; only the last one is shown.
    auto *job = new JobThread(command, this);
    m_job = job;
    connect(job, &JobThread::cardListed, this, [this, job](const QString &source, const QList<CardListing::Register> &registers) {
        if (job == m_job)
            showListing(source, registers);
    });
    connect(job, &JobThread::errorReported, this, [this, job](const QString &, const QString &error, const QString &hint) {
        if (job != m_job)
            return;
        showError(error, hint);
        // What was shown for the folder before is no longer the choice.
        Q_EMIT sourceListed(m_source, {});
    });
    connect(job, &QThread::finished, this, [this, job] {
        if (job == m_job)
            m_job = nullptr;
        job->deleteLater();
    });
    job->start();
}

void SourcePage::showListing(const QString &source, const QList<CardListing::Register> &registers)
{
    if (registers.isEmpty()) {
        showError(tr("No register found in %1.").arg(QDir::toNativeSeparators(source)),
                  tr("Choose the card itself, its maker's folder or a register's folder."));
        Q_EMIT sourceListed(source, registers);
        return;
    }
    QStringList serials;
    for (const CardListing::Register &cashRegister : registers) {
        serials << cashRegister.serialNumber;
        m_registers->addWidget(registerView(cashRegister));
    }
    m_status->setText(tr("%1 holds the registers %2.").arg(QDir::toNativeSeparators(source), serials.join(QLatin1String(", "))));
    m_next->setEnabled(true);
    Q_EMIT sourceListed(source, registers);
}

void SourcePage::showError(const QString &error, const QString &hint)
{
    m_status->setText(tr("Error: %1\nWhat to do: %2").arg(ReportView::plainText(error), ReportView::plainText(hint)));
}

void SourcePage::clearRegisters()
{
    while (QLayoutItem *item = m_registers->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

QWidget *SourcePage::registerView(const CardListing::Register &cashRegister)
{
    auto *box = new QGroupBox(tr("Register %1").arg(cashRegister.serialNumber));
    box->setObjectName(QStringLiteral("register_%1").arg(cashRegister.serialNumber));
    auto *layout = new QVBoxLayout(box);
    if (!cashRegister.error.isEmpty()) {
        layout->addWidget(wrappingLabel(tr("A read would fail: %1\nWhat to do: %2")
                                                .arg(ReportView::plainText(cashRegister.error),
                                                     ReportView::plainText(cashRegister.hint)),
                                        box));
        return box;
    }
    const QList<QDate> months = cashRegister.dataFiles.keys();
    const QString dataFiles = months.isEmpty() ? tr("none")
                                               : tr("%1, %2 to %3").arg(months.size()).arg(monthText(months.constFirst()),
                                                                                            monthText(months.constLast()));
    layout->addWidget(wrappingLabel(tr("Backup file: %1 · Data files: %2 · Index file: %3")
                                            .arg(cashRegister.backupFileName, dataFiles,
                                                 cashRegister.indexRead ? tr("read")
                                                                        : tr("missing or unreadable, so the months "
                                                                             "cannot be judged")),
                                    box));
    layout->addWidget(new MonthCalendar(cashRegister, box));
    QStringList findings;
    for (const QPair<QString, bool> &message : cashRegister.index.getIndexMessages()) {
        const QString text = ReportView::plainText(message.first);
        findings << (message.second ? tr("Problem: %1").arg(text) : text);
    }
    // The index report judges the files that open; one that does not is there all the same.
    for (const QDate &month : cashRegister.unreadableMonths)
        findings << tr("Problem: the data file of %1 is on the card but cannot be opened; the index report above "
                       "counts it as missing, and a read leaves the month out.")
                            .arg(monthText(month));
    layout->addWidget(wrappingLabel(findings.join(QLatin1Char('\n')), box));
    return box;
}

// What the colours and marks of the calendars mean, in words.
QWidget *SourcePage::legend()
{
    auto *legend = new QWidget(this);
    auto *layout = new QGridLayout(legend);
    layout->setContentsMargins(0, 0, 0, 0);
    const QList<app::ListedMonth::State> states = MonthCalendar::states();
    for (int index = 0; index < states.size(); ++index) {
        const app::ListedMonth::State state = states.at(index);
        auto *swatch = new QLabel(MonthCalendar::stateSymbol(state), legend);
        swatch->setAlignment(Qt::AlignCenter);
        swatch->setMinimumWidth(fontMetrics().height() * 3 / 2);
        swatch->setStyleSheet(QStringLiteral("background-color: %1; color: black; border: 1px solid gray;")
                                      .arg(MonthCalendar::stateColour(state).name()));
        swatch->setAccessibleName(tr("%1: %2").arg(MonthCalendar::stateName(state), MonthCalendar::stateDescription(state)));
        auto *name = new QLabel(MonthCalendar::stateName(state), legend);
        name->setToolTip(MonthCalendar::stateDescription(state));
        const int row = index / LegendColumns;
        const int column = 2 * (index % LegendColumns);
        layout->addWidget(swatch, row, column);
        layout->addWidget(name, row, column + 1);
    }
    layout->setColumnStretch(2 * LegendColumns, 1);
    legend->setAccessibleName(tr("Legend of the month calendars"));
    return legend;
}

} // namespace fiscora::desktop
