// The desktop window driven as a user drives it, through whole jobs on sample cards.

#include "auditpage.h"
#include "chartview.h"
#include "exportpage.h"
#include "fixtures.h"
#include "mainwindow.h"
#include "monthcalendar.h"
#include "monthpicker.h"
#include "protocoldialog.h"
#include "readpage.h"
#include "reportview.h"
#include "samplecard.h"
#include "sourcepage.h"
#include "spanpicker.h"
#include "translation.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QListWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QScreen>
#include <QtTest>

#include <functional>

using namespace fiscora::desktop;

namespace {

// Only a hung job ends a test this way; no result depends on speed.
constexpr int HangGuardMs = 5 * 60 * 1000;

bool makeCard(const QString &folder, const QStringList &options)
{
    QProcess process;
    process.start(QStringLiteral(FISCORA_MKCARD), QStringList(options) << folder);
    if (!process.waitForFinished(HangGuardMs) || process.exitCode() != 0) {
        qWarning("fiscora-mkcard failed: %s", process.readAllStandardError().constData());
        return false;
    }
    return true;
}

// Sparse files cost neither time nor disk to make, but the reader takes a while to copy them,
// so a read of the card is still running when the test acts on it.
bool makeSlowCard(const QString &folder)
{
    if (!makeCard(folder, {"--lines", "1"}))
        return false;
    for (int month = 2; month <= 12; ++month) {
        QFile data(folder + QString("/KORVANE/12345678/2019/19%1.a03").arg(month, 2, 10, QLatin1Char('0')));
        if (!data.resize(64 << 20))
            return false;
    }
    return true;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A picture of the window at a step of a job, for people to look at.
void saveShot(QWidget *widget, const QString &name)
{
    QDir().mkpath(QStringLiteral(FISCORA_SCREENSHOTS));
    widget->grab().save(QStringLiteral(FISCORA_SCREENSHOTS "/%1.png").arg(name));
}

/*
 * Acts on the next modal window once it is shown. A message box or a dialog runs an event loop
 * of its own until it is answered, so it is answered from a timer that looks for it.
 */
class ModalAnswer : public QObject
{
public:
    explicit ModalAnswer(std::function<void(QWidget *)> answer)
        : m_answer(std::move(answer))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswer::look);
        m_timer.start(20);
    }

    bool answered() const { return m_answered; }
    QString text() const { return m_text; }

    //! Clicks \a button of the next message box.
    static std::function<void(QWidget *)> click(QMessageBox::StandardButton button)
    {
        return [button](QWidget *modal) { qobject_cast<QMessageBox *>(modal)->button(button)->click(); };
    }

private:
    void look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        m_timer.stop();
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            m_text = box->text();
        m_answer(modal);
        m_answered = true;
    }

    std::function<void(QWidget *)> m_answer;
    QTimer m_timer;
    QString m_text;
    bool m_answered = false;
};

template <typename T>
T *child(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QLatin1String(name));
    if (!widget)
        qWarning("no widget %s", name);
    return widget;
}

void typeInto(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QStringList column(QTreeWidget *tree, int column)
{
    QStringList texts;
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
        texts << tree->topLevelItem(row)->text(column);
    return texts;
}

// What a cell of a register's calendar tells a screen reader.
QString monthWords(QWidget *window, const QString &serialNumber, const QDate &month)
{
    auto *box = window->findChild<QGroupBox *>("register_" + serialNumber);
    auto *calendar = box ? box->findChild<MonthCalendar *>() : nullptr;
    if (!calendar)
        return "<no calendar>";
    for (int row = 0; row < calendar->rowCount(); ++row) {
        if (calendar->verticalHeaderItem(row)->text() == QString::number(month.year()))
            return calendar->item(row, month.month() - 1)->data(Qt::AccessibleTextRole).toString();
    }
    return "<no row>";
}

void setMonth(MonthPicker *picker, const QDate &month)
{
    picker->monthBox()->setCurrentIndex(month.month() - 1);
    picker->yearBox()->setValue(month.year());
}

// The texts of page's visible labels that show less than their text needs.
QStringList cutLabels(QWidget *page)
{
    QStringList cut;
    for (QLabel *label : page->findChildren<QLabel *>()) {
        const bool shortOfRoom = label->wordWrap() ? label->height() < label->heightForWidth(label->width())
                                                   : label->width() < label->minimumSizeHint().width();
        if (label->isVisibleTo(page) && !label->text().isEmpty() && shortOfRoom)
            cut << label->text();
    }
    return cut;
}

// The Alt key of a text: the character after a single "&", lower case; none without one.
QChar altKey(const QString &text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (text.at(i + 1) != QLatin1Char('&'))
                return text.at(i + 1).toLower();
            ++i;
        }
    }
    return QChar();
}

// The Alt keys that work while page is shown: the menus', the tabs' and those of the page's visible
// buttons, boxes and labelled fields, each with what it belongs to.
QMultiMap<QChar, QString> altKeys(QMainWindow *window, QWidget *page)
{
    QMultiMap<QChar, QString> keys;
    const auto add = [&](const QString &text) {
        if (!altKey(text).isNull())
            keys.insert(altKey(text), text);
    };
    for (QAction *menu : window->menuBar()->actions())
        add(menu->text());
    auto *tabs = window->findChild<QTabWidget *>();
    for (int tab = 0; tab < tabs->count(); ++tab)
        add(tabs->tabText(tab));
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window))
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            add(button->text());
        else if (auto *box = qobject_cast<QGroupBox *>(widget))
            add(box->title());
        else if (auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
            add(label->text());
    }
    return keys;
}

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void wholeJob();
    void calendarStates_data();
    void calendarStates();
    void replaceBackups_data();
    void replaceBackups();
    void cancelRead();
    void closeDuringRead_data();
    void closeDuringRead();
    void damagedMonth();
    void unwritableTarget_data();
    void unwritableTarget();
    void drop_data();
    void drop();
    void switchLanguage();
    void uniqueAltKeys_data();
    void uniqueAltKeys();
    void calendarIsOneTabStop();
    void resultsBelongToTheirInputs();
    void hintsSpeakOfTheWindow();
    void openFolderWithoutFileManager();
    void quickChoiceOfAYearOrQuarter();
    void cardInAFolderWithARegistersName();
    void packageSpeaksOfItsPeriod();
    void packageEveryRegister();
    void beforeTheAudit_data();
    void beforeTheAudit();
    void checkEveryRegister();
    void cancelWhileVerifying();
    void unreadableDataFile();
    void helpOnEachStep_data();
    void helpOnEachStep();

private:
    void showSource(MainWindow &window, const QString &card);
    void startRead(MainWindow &window, const QString &target);
    void read(MainWindow &window, const QString &target);
    void runExport(MainWindow &window, const char *button, const QString &target);

    QTemporaryDir m_settings;
};

void DesktopTest::initTestCase()
{
    QVERIFY(m_settings.isValid());
    // The library's own lines would bury the test's.
    QLoggingCategory::setFilterRules("sdcardreader=false\nktlcypher=false\nindexfileanalyser=false");
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    QApplication::setOrganizationName("Fiscora");
    QApplication::setApplicationName("tst_desktop");
}

// Each test starts as on a first run, in English.
void DesktopTest::init()
{
    QSettings().clear();
    QSettings().setValue("language", "en");
    fiscora::app::installTranslation("en");
}

void DesktopTest::showSource(MainWindow &window, const QString &card)
{
    window.steps()->setCurrentIndex(0);
    auto *folder = child<QLineEdit>(&window, "sourceFolder");
    typeInto(folder, card);
    QTest::keyClick(folder, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!window.findChildren<MonthCalendar *>().isEmpty()
                                 || child<QLabel>(&window, "sourceStatus")->text().startsWith("Error"),
                             HangGuardMs);
}

void DesktopTest::startRead(MainWindow &window, const QString &target)
{
    window.showStep(window.readPage());
    typeInto(child<QLineEdit>(&window, "readTarget"), target);
    QTest::mouseClick(child<QPushButton>(&window, "read"), Qt::LeftButton);
}

void DesktopTest::read(MainWindow &window, const QString &target)
{
    startRead(window, target);
    QTRY_VERIFY_WITH_TIMEOUT(!window.readPage()->isBusy(), HangGuardMs);
}

void DesktopTest::runExport(MainWindow &window, const char *button, const QString &target)
{
    window.showStep(window.exportPage());
    typeInto(child<QLineEdit>(&window, "exportTarget"), target);
    QTest::mouseClick(child<QPushButton>(&window, button), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.exportPage()->isBusy(), HangGuardMs);
}

// From the card to a hand-over archive, step by step, as a shop owner goes.
void DesktopTest::wholeJob()
{
    QTemporaryDir dir;
    const QString card = dir.filePath("card");
    QVERIFY(makeCard(card, {"--registers", "2", "--from", "2019-01", "--to", "2019-12", "--lines", "5"}));
    MainWindow window;
    window.show();

    showSource(window, card);
    QCOMPARE(window.windowTitle(), card + " – registers 12345678, 12345679 – Fiscora");
    QCOMPARE(monthWords(&window, "12345679", QDate(2019, 4, 1)),
             "April 2019: Announced – the data file is there, as the index file announces; its records are checked when "
             "the card is read.");
    QCOMPARE(child<QLabel>(&window, "sourceStatus")->text(), card + " holds the registers 12345678, 12345679.");
    saveShot(&window, "wholejob-1-source");

    QTest::mouseClick(child<QPushButton>(&window, "sourceNext"), Qt::LeftButton);
    QCOMPARE(window.currentStep(), static_cast<QWidget *>(window.readPage()));
    read(window, dir.filePath("backups"));
    auto *results = child<QTreeWidget>(&window, "readResults");
    QCOMPARE(column(results, 0), QStringList({"12345678", "12345679"}));
    QCOMPARE(column(results, 1), QStringList({"Backup_CR#12345678_complete.enc", "Backup_CR#12345679_complete.enc"}));
    QCOMPARE(column(results, 2), QStringList({"01/2019 to 12/2019", "01/2019 to 12/2019"}));
    QCOMPARE(column(results, 3), QStringList({"Backed up; the index is correct.", "Backed up; the index is correct."}));
    QCOMPARE(entries(dir.filePath("backups")),
             QStringList({"Backup_CR#12345678_complete.enc", "Backup_CR#12345679_complete.enc"}));
    QVERIFY(child<ReportView>(&window, "readMessages")->texts().contains(
            "CR#12345678: The data index is correct, no issues recognised."));
    QCOMPARE(window.readPage()->findChildren<QProgressBar *>().first()->value(), 12);
    saveShot(&window, "wholejob-2-read");

    QTest::mouseClick(child<QPushButton>(&window, "readNext"), Qt::LeftButton);
    QCOMPARE(window.currentStep(), static_cast<QWidget *>(window.exportPage()));
    auto *summary = child<QLabel>(&window, "backupSummary");
    QTRY_VERIFY_WITH_TIMEOUT(summary->text().startsWith("Register"), HangGuardMs);
    QCOMPARE(summary->text(), "Register 12345678 · 01/2019 to 12/2019 · 60 records · read from SD card or backup "
                              "folder · its data matches the MD5 value of its header.");
    auto *span = window.exportPage()->findChild<SpanPicker *>();
    QTest::mouseClick(span->button(SpanPicker::OneMonth), Qt::LeftButton);
    setMonth(span->fromPicker(), QDate(2019, 4, 1));
    runExport(window, "export", dir.filePath("export"));
    QCOMPARE(child<QLabel>(&window, "verdictTitle")->text(), "Done: the export is complete and proven.");
    QCOMPARE(child<QLabel>(&window, "verdict")->text(),
             "MD5 proof: the exported data matches the MD5 value in the backup's header.\n"
             "Every record passed the line check: none were repaired and none were lost.\n"
             "Where: " + dir.filePath("export/CR#12345678/201904"));
    QCOMPARE(entries(dir.filePath("export/CR#12345678/201904")),
             QStringList({"gdpdu-01-09-2004.dtd", "gobd.csv", "index.xml"}));
    QVERIFY(child<QPushButton>(&window, "openFolder")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "viewProtocol")->isEnabled());
    saveShot(&window, "wholejob-3-export");

    QTest::mouseClick(span->button(SpanPicker::FromTo), Qt::LeftButton);
    setMonth(span->fromPicker(), QDate(2019, 1, 1));
    setMonth(span->toPicker(), QDate(2019, 3, 1));
    runExport(window, "package", dir.filePath("handover"));
    QCOMPARE(child<QLabel>(&window, "verdictTitle")->text(), "Done: the hand-over archive is written.");
    const QStringList verdict = child<QLabel>(&window, "verdict")->text().split('\n');
    const QString archive = dir.filePath("handover/CR#12345678_201901_201903.zip");
    QCOMPARE(verdict.size(), 7);
    QVERIFY2(verdict.at(0).startsWith("MD5 proof: the backup's data matches the value in its header, "), qPrintable(verdict.at(0)));
    // It names the one file to hand over, and what is left to do.
    QCOMPARE(verdict.mid(1), QStringList({"Records in the table file: 15.",
                                          "Every record passed the line check: none were repaired and none were lost.",
                                          "The protocol protokoll.pdf in the archive states all of this.",
                                          "Give the tax office this file: CR#12345678_201901_201903.zip ("
                                              + QLocale().formattedDataSize(QFileInfo(archive).size()) + ").",
                                          "Before that, print the protocol (View protocol shows it), check it and sign "
                                          "it: the signed protocol with its SHA-256 values vouches for the data.",
                                          "Where: " + dir.filePath("handover")}));
    QCOMPARE(entries(dir.filePath("handover")), QStringList({"CR#12345678_201901_201903.zip"}));
    QTest::mouseClick(child<QPushButton>(&window, "copyPath"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), archive);
    saveShot(&window, "wholejob-4-package");

    QString protocol;
    QRect protocolFrame;
    ModalAnswer viewer([&](QWidget *modal) {
        protocol = qobject_cast<ProtocolDialog *>(modal)->document()->toPlainText();
        protocolFrame = modal->frameGeometry();
        saveShot(modal, "wholejob-5-protocol");
        qobject_cast<QDialog *>(modal)->reject();
    });
    QTest::mouseClick(child<QPushButton>(&window, "viewProtocol"), Qt::LeftButton);
    QVERIFY(viewer.answered());
    // The dialog fits the screen it opens on, its Close button included.
    QVERIFY2(window.screen()->availableGeometry().contains(protocolFrame),
             qPrintable(QStringLiteral("%1x%2 at %3,%4").arg(protocolFrame.width()).arg(protocolFrame.height())
                                .arg(protocolFrame.x()).arg(protocolFrame.y())));
    QVERIFY2(protocol.startsWith("Hand-over protocol\nGoBD/GDPdU export of the cash register 12345678\n"), qPrintable(protocol));
    QVERIFY2(protocol.contains("January 2019 to March 2019"), qPrintable(protocol));

    // On a small screen every page scrolls rather than cutting a text short.
    window.showStep(window.exportPage());
    window.resize(800, 600);
    for (QWidget *page : {static_cast<QWidget *>(window.sourcePage()), static_cast<QWidget *>(window.readPage()),
                          static_cast<QWidget *>(window.exportPage())}) {
        window.showStep(page);
        QApplication::processEvents();
        QCOMPARE(window.size(), QSize(800, 600));
        // Up and down only: the page is as wide as the room the scroll area gives it.
        QCOMPARE(page->width(), page->parentWidget()->width());
        QCOMPARE(cutLabels(page), QStringList());
    }
    saveShot(&window, "wholejob-6-small-screen");
}

void DesktopTest::calendarStates_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QDate>("month");
    QTest::addColumn<QString>("words");

    const QStringList year{"--from", "2019-01", "--to", "2019-12", "--lines", "2"};
    QTest::newRow("announced") << year << QDate(2019, 5, 1)
                               << "May 2019: Announced – the data file is there, as the index file announces; its "
                                  "records are checked when the card is read.";
    QTest::newRow("data file missing")
        << (QStringList(year) << "--missing-month" << "2019-03") << QDate(2019, 3, 1)
        << "March 2019: Data file missing – the index file announces data, but the data file is not on the card.";
    QTest::newRow("no index file") << (QStringList(year) << "--no-index-file") << QDate(2019, 7, 1)
                                   << "July 2019: No index file – a data file is there, but without an index file "
                                      "it cannot be checked.";
    QTest::newRow("nothing") << QStringList{"--from", "2019-01", "--to", "2019-06", "--lines", "2"} << QDate(2019, 8, 1)
                             << "August 2019: Nothing – neither a data file nor announced.";
}

void DesktopTest::calendarStates()
{
    QFETCH(QStringList, options);
    QFETCH(QDate, month);
    QFETCH(QString, words);

    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), options));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    QCOMPARE(monthWords(&window, "12345678", month), words);
    saveShot(&window, QString("calendar-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
}

void DesktopTest::replaceBackups_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QString>("status");

    QTest::newRow("keep") << int(QMessageBox::No) << false << QString();
    QTest::newRow("replace") << int(QMessageBox::Yes) << true << "Backed up; the index is correct.";
}

// A backup in the way is replaced only when the user says so.
void DesktopTest::replaceBackups()
{
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    QFETCH(QString, status);

    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "2"}));
    const QString backup = dir.filePath("backups/Backup_CR#12345678_complete.enc");
    QVERIFY_DONE(writeFile(backup, "an earlier backup"));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));

    ModalAnswer question(ModalAnswer::click(QMessageBox::StandardButton(answer)));
    read(window, dir.filePath("backups"));
    QTRY_VERIFY_WITH_TIMEOUT(question.answered() && !window.readPage()->isBusy(), HangGuardMs);
    QCOMPARE(question.text(), "These backups are already in the target folder:\n" + backup +
                                      "\n\nReplace them with a new read of the card?");
    QCOMPARE(fileBytes(backup) != "an earlier backup", replaced);
    QCOMPARE(column(child<QTreeWidget>(&window, "readResults"), 3), replaced ? QStringList{status} : QStringList());
    if (!replaced)
        QCOMPARE(child<ReportView>(&window, "readMessages")->texts().constLast(),
                 "Nothing was read: the backups already there were kept.");
    // Kept or replaced, the backup is there for the next step.
    QVERIFY(child<QPushButton>(&window, "readNext")->isEnabled());
    QCOMPARE(child<QComboBox>(&window, "backup")->currentData().toString(), backup);

    // And so it is after a restart.
    MainWindow again;
    QCOMPARE(child<QComboBox>(&again, "backup")->currentData().toString(), backup);
}

// A stopped read leaves no backup behind, not even a partial one.
void DesktopTest::cancelRead()
{
    QTemporaryDir dir;
    QVERIFY(makeSlowCard(dir.filePath("card")));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    startRead(window, dir.filePath("backups"));
    QTRY_VERIFY_WITH_TIMEOUT(!window.readPage()->findChildren<QProgressBar *>().isEmpty()
                                 && window.readPage()->findChildren<QProgressBar *>().first()->value() >= 1,
                             HangGuardMs);
    saveShot(&window, "cancel-1-running");
    QTest::mouseClick(child<QPushButton>(&window, "readStop"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.readPage()->isBusy(), HangGuardMs);

    QCOMPARE(column(child<QTreeWidget>(&window, "readResults"), 3), QStringList{"Stopped: no backup was written."});
    const QStringList messages = child<ReportView>(&window, "readMessages")->texts();
    QVERIFY(messages.contains("Stopping: waiting for the running job to end…"));
    // A stop is no error, and nothing speaks of saved data that are not complete.
    QCOMPARE(messages.constLast(), "CR#12345678: Stopped as you asked: no backup was written. (Process abbort by the user.)");
    QCOMPARE(entries(dir.filePath("backups")), QStringList());
    saveShot(&window, "cancel-2-stopped");
}

void DesktopTest::closeDuringRead_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");

    QTest::newRow("stop and close") << int(QMessageBox::Yes) << true;
    QTest::newRow("keep reading") << int(QMessageBox::No) << false;
}

// Closing the window asks first; a stop it asks for ends the job before the window goes.
void DesktopTest::closeDuringRead()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);

    QTemporaryDir dir;
    QVERIFY(makeSlowCard(dir.filePath("card")));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    startRead(window, dir.filePath("backups"));
    QVERIFY(window.readPage()->isBusy());

    ModalAnswer question(ModalAnswer::click(QMessageBox::StandardButton(answer)));
    window.close();
    QVERIFY(question.answered());
    QCOMPARE(question.text(), "A job is still running. Stop it and close the window?\n\nThe job stops cleanly: "
                              "nothing half written is left behind.");
    if (closed) {
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), HangGuardMs);
        QVERIFY(!window.readPage()->isBusy());
        QCOMPARE(entries(dir.filePath("backups")), QStringList());
        return;
    }
    QVERIFY(window.isVisible());
    QVERIFY(window.readPage()->isBusy());
    window.readPage()->stop();
    QTRY_VERIFY_WITH_TIMEOUT(!window.readPage()->isBusy(), HangGuardMs);
}

// A damaged record costs only itself, and the verdict says so.
void DesktopTest::damagedMonth()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--from", "2019-01", "--to", "2019-03", "--lines", "20", "--damage",
                                            "random-block@2019-02"}));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    read(window, dir.filePath("backups"));
    QCOMPARE(column(child<QTreeWidget>(&window, "readResults"), 3), QStringList{"Backed up; the index is correct."});
    window.showStep(window.exportPage());
    QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>(&window, "backupSummary")->text().startsWith("Register"), HangGuardMs);
    runExport(window, "export", dir.filePath("export"));

    // Not "complete" beside a record that could not be read.
    QCOMPARE(child<QLabel>(&window, "verdictTitle")->text(), "Done, with findings: the export is written and its data "
                                                             "proven; the lines below say what is missing or damaged.");
    const QStringList verdict = child<QLabel>(&window, "verdict")->text().split('\n');
    QCOMPARE(verdict.size(), 3);
    QCOMPARE(verdict.at(0), "MD5 proof: the exported data matches the MD5 value in the backup's header.");
    QCOMPARE(verdict.at(1), "Decryption error near line: 30 — row 31 of this table, 15.02.2019 18:16:35");
    QCOMPARE(verdict.at(2), "Where: " + dir.filePath("export/CR#12345678/complete"));
    QVERIFY(child<ReportView>(&window, "exportMessages")->texts().contains("CR#12345678: Problem: " + verdict.at(1)));
    saveShot(&window, "damaged-month");
}

void DesktopTest::unwritableTarget_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("read") << "read";
    QTest::newRow("package") << "package";
}

// A target below a regular file cannot be created, whoever runs the test.
void DesktopTest::unwritableTarget()
{
    QFETCH(QString, step);

    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "2"}));
    QVERIFY_DONE(writeFile(dir.filePath("file"), "not a folder"));
    const QString target = dir.filePath("file/target");
    const QString error = "Error: Cannot create the target folder " + target +
                          ".\nWhat to do: Check the path and your write permission for its parent folder.";
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    if (step == "read") {
        read(window, target);
        QCOMPARE(column(child<QTreeWidget>(&window, "readResults"), 3),
                 QStringList{"Not backed up: Cannot create the target folder " + target + "."});
        QCOMPARE(child<ReportView>(&window, "readMessages")->texts().constLast(), error);
    } else {
        read(window, dir.filePath("backups"));
        window.showStep(window.exportPage());
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>(&window, "backupSummary")->text().startsWith("Register"), HangGuardMs);
        runExport(window, "package", target);
        QCOMPARE(child<QLabel>(&window, "verdictTitle")->text(), "Failed: nothing was written.");
        QCOMPARE(child<QLabel>(&window, "verdict")->text(),
                 error.mid(int(qstrlen("Error: "))) + "\nThe target folder is as it was: no export and no archive was put there.");
        QVERIFY(!child<QPushButton>(&window, "openFolder")->isEnabled());
    }
    saveShot(&window, "unwritable-" + step);
}

void DesktopTest::drop_data()
{
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<int>("step");
    QTest::newRow("card folder") << "card" << 0;
    QTest::newRow("backup file") << "backups/Backup_CR#12345678_complete.enc" << 2;
}

void DesktopTest::drop()
{
    QFETCH(QString, dropped);
    QFETCH(int, step);

    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "2"}));
    QVERIFY_DONE(writeFile(dir.filePath("backups/Backup_CR#12345678_complete.enc"), "a backup"));
    MainWindow window;
    window.show();
    window.steps()->setCurrentIndex(1);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.filePath(dropped))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);

    QCOMPARE(window.steps()->currentIndex(), step);
    if (step == 0) {
        QTRY_COMPARE_WITH_TIMEOUT(window.findChildren<MonthCalendar *>().size(), 1, HangGuardMs);
        QCOMPARE(window.sourcePage()->source(), dir.filePath("card"));
    } else {
        QCOMPARE(window.exportPage()->backup(), dir.filePath(dropped));
    }
}

// The window changes its language at once, keeps the choice, and the library speaks it too.
void DesktopTest::switchLanguage()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "2", "--missing-month", "2019-03"}));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    QAction *german = nullptr;
    for (QAction *action : window.menuBar()->findChildren<QAction *>()) {
        if (action->text() == "&Deutsch")
            german = action;
    }
    QVERIFY(german);
    german->trigger();

    QCOMPARE(QSettings().value("language").toString(), "de");
    QCOMPARE(QLocale().language(), QLocale::German);
    QTRY_VERIFY_WITH_TIMEOUT(!window.findChildren<MonthCalendar *>().isEmpty(), HangGuardMs);
    auto *box = window.findChild<QGroupBox *>("register_12345678");
    QStringList texts;
    for (QLabel *label : box->findChildren<QLabel *>())
        texts << label->text().split('\n');
    QVERIFY2(texts.contains("Seriennummer der Kasse: 12345678"), qPrintable(texts.join('|')));
    QCOMPARE(window.findChild<MonthCalendar *>()->horizontalHeaderItem(2)->text(), QLocale().standaloneMonthName(3, QLocale::ShortFormat));
    saveShot(&window, "german-1-source");

    MainWindow again;
    QVERIFY(again.menuBar()->actions().size() == 3);
    for (QAction *action : again.menuBar()->findChildren<QAction *>()) {
        if (action->text() == "&Deutsch")
            QVERIFY(action->isChecked());
    }
}

void DesktopTest::uniqueAltKeys_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en";
    QTest::newRow("German") << "de";
}

// Alt and a letter presses one button or goes to one field on every page, in either language.
void DesktopTest::uniqueAltKeys()
{
    QFETCH(QString, language);
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "2"}));
    QSettings().setValue("language", language);
    fiscora::app::installTranslation(language);
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    QStringList clashes;
    for (int page = 0; page < window.steps()->count(); ++page) {
        window.steps()->setCurrentIndex(page);
        const QMultiMap<QChar, QString> keys = altKeys(&window, window.steps()->widget(page));
        for (const QChar &key : keys.uniqueKeys()) {
            if (keys.count(key) > 1)
                clashes << QStringLiteral("%1: Alt+%2: %3").arg(window.steps()->tabText(page), key,
                                                                QStringList(keys.values(key)).join(QLatin1String(", ")));
        }
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("\n")));
}

// Tab leaves a calendar at once, as it leaves any other field; the arrow keys move inside it.
void DesktopTest::calendarIsOneTabStop()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--lines", "1", "--registers", "2"}));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    showSource(window, dir.filePath("card"));
    MonthCalendar *calendar = window.findChildren<MonthCalendar *>().constFirst();
    calendar->setFocus();
    calendar->setCurrentCell(0, 0);
    QTest::keyClick(calendar, Qt::Key_Right);
    QCOMPARE(calendar->currentColumn(), 1);
    QTest::keyClick(calendar, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != calendar);
}

// What a page shows is for the card, backup and period chosen: another choice clears the results
// of the one before, and the title names the card chosen now.
void DesktopTest::resultsBelongToTheirInputs()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--registers", "2", "--lines", "2"}));
    QVERIFY(makeCard(dir.filePath("other"), {"--lines", "2"}));
    QVERIFY(QDir(dir.path()).mkdir("notacard"));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    read(window, dir.filePath("backups"));
    runExport(window, "export", dir.filePath("export"));
    QVERIFY(child<QLabel>(&window, "verdictTitle")->isVisibleTo(&window));

    auto *backups = child<QComboBox>(&window, "backup");
    QCOMPARE(backups->count(), 2);
    backups->setCurrentIndex(1 - backups->currentIndex());
    QVERIFY(!child<QLabel>(&window, "verdictTitle")->isVisibleTo(&window));
    QCOMPARE(child<ReportView>(&window, "exportMessages")->texts(), QStringList());
    QCOMPARE(window.exportPage()->findChild<QProgressBar *>()->text(), "No job running");

    showSource(window, dir.filePath("other"));
    QCOMPARE(window.windowTitle(), dir.filePath("other") + " – registers 12345678 – Fiscora");
    QCOMPARE(child<QTreeWidget>(&window, "readResults")->topLevelItemCount(), 0);
    QCOMPARE(child<ReportView>(&window, "readMessages")->texts(), QStringList());
    QVERIFY(!child<QPushButton>(&window, "readNext")->isEnabled());

    showSource(window, dir.filePath("notacard"));
    QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(), dir.filePath("notacard") + " – no register – Fiscora", HangGuardMs);
    QVERIFY(!child<QPushButton>(&window, "read")->isEnabled());
}

// What to do is said in the window's terms, not in commands and options of the command line.
void DesktopTest::hintsSpeakOfTheWindow()
{
    QTemporaryDir dir;
    const QString notABackup = dir.filePath("notes.enc");
    QVERIFY_DONE(writeFile(notABackup, "no backup"));
    MainWindow window;
    window.show();
    window.exportPage()->addBackups({notABackup});
    window.showStep(window.exportPage());
    auto *summary = child<QLabel>(&window, "backupSummary");
    QTRY_VERIFY_WITH_TIMEOUT(summary->text().startsWith("Error"), HangGuardMs);
    QCOMPARE(summary->text(), "Error: " + notABackup + " is not a backup file: it does not start with a backup header.\n"
                              "What to do: Choose a backup file that a read of the card wrote, named like "
                              "Backup_CR#12345678_complete.enc.");
}

// Where no file manager opens, the window says so and names the folder.
void DesktopTest::openFolderWithoutFileManager()
{
    QTemporaryDir dir;
    MainWindow window;
    window.show();
    window.showStep(window.readPage());
    typeInto(child<QLineEdit>(&window, "readTarget"), dir.path());
    ModalAnswer message(ModalAnswer::click(QMessageBox::Ok));
    QTest::mouseClick(child<QPushButton>(&window, "readOpenFolder"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(message.answered(), HangGuardMs);
    QCOMPARE(message.text(), "No file manager could be opened to show the folder. It is:\n" + dir.path());
}

// A year or a quarter in one choice, of those the backup has; the years go no further.
void DesktopTest::quickChoiceOfAYearOrQuarter()
{
    SpanPicker span;
    span.setAvailable(QDate(2019, 5, 1), QDate(2020, 2, 1));
    QComboBox *quick = span.quickChoice();
    QStringList items;
    for (int i = 0; i < quick->count(); ++i)
        items << quick->itemText(i);
    QCOMPARE(items, QStringList({"Year or quarter…", "2019", "2019, quarter 2", "2019, quarter 3", "2019, quarter 4",
                                 "2020", "2020, quarter 1"}));
    Q_EMIT quick->activated(items.indexOf("2019, quarter 3"));
    QCOMPARE(span.choice(), SpanPicker::FromTo);
    QCOMPARE(span.fromDate(), QDate(2019, 7, 1));
    QCOMPARE(span.toDate(), QDate(2019, 9, 1));
    QCOMPARE(span.text(), "07/2019 to 09/2019");
    for (MonthPicker *picker : {span.fromPicker(), span.toPicker()}) {
        auto *year = picker->findChild<QSpinBox *>();
        QCOMPARE(year->minimum(), 2019);
        QCOMPARE(year->maximum(), 2020);
    }
}

// A copy of a card in "SD-Karte" shows and reads the registers it holds, not one named after it.
void DesktopTest::cardInAFolderWithARegistersName()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("SD-Karte"), {"--lines", "2"}));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("SD-Karte"));
    QCOMPARE(child<QLabel>(&window, "sourceStatus")->text(), dir.filePath("SD-Karte") + " holds the registers 12345678.");
    read(window, dir.filePath("backups"));
    QCOMPARE(column(child<QTreeWidget>(&window, "readResults"), 3), QStringList{"Backed up; the index is correct."});
    QCOMPARE(entries(dir.filePath("backups")), QStringList{"Backup_CR#12345678_complete.enc"});
}

// Damage in May does not make a package of January to March one "with findings".
void DesktopTest::packageSpeaksOfItsPeriod()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--from", "2019-01", "--to", "2019-06", "--lines", "8", "--damage",
                                            "random-block@2019-05"}));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    read(window, dir.filePath("backups"));
    window.showStep(window.exportPage());
    QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>(&window, "backupSummary")->text().startsWith("Register"), HangGuardMs);
    auto *span = window.exportPage()->findChild<SpanPicker *>();
    Q_EMIT span->quickChoice()->activated(span->quickChoice()->findText("2019, quarter 1"));
    runExport(window, "package", dir.filePath("handover"));
    QCOMPARE(child<QLabel>(&window, "verdictTitle")->text(), "Done: the hand-over archive is written.");
    QVERIFY2(child<QLabel>(&window, "verdict")->text().contains(
                     "Every record passed the line check: none were repaired and none were lost."),
             qPrintable(child<QLabel>(&window, "verdict")->text()));
}

void DesktopTest::helpOnEachStep_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("start");
    QTest::newRow("card") << "en" << 0 << "Put the register's SD card into a card reader";
    QTest::newRow("read") << "en" << 1 << "Reading copies the months of each register";
    QTest::newRow("export") << "en" << 2 << "Choose a backup and a period. \"Package for hand-over\" makes the one file";
    QTest::newRow("export, German") << "de" << 2 << "Wählen Sie eine Sicherung und einen Zeitraum.";
}

// F1 explains the step shown, in the window's language.
void DesktopTest::helpOnEachStep()
{
    QFETCH(QString, language);
    QFETCH(int, step);
    QFETCH(QString, start);
    QSettings().setValue("language", language);
    fiscora::app::installTranslation(language);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.steps()->setCurrentIndex(step);
    ModalAnswer help(ModalAnswer::click(QMessageBox::Ok));
    QTest::keyClick(&window, Qt::Key_F1);
    QTRY_VERIFY_WITH_TIMEOUT(help.answered(), HangGuardMs);
    QVERIFY2(help.text().startsWith(start), qPrintable(help.text()));
}

// Every register of a card in one go: an archive each, and one verdict that sums them up.
void DesktopTest::packageEveryRegister()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--registers", "2", "--to", "2019-03", "--lines", "2"}));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    read(window, dir.filePath("backups"));
    runExport(window, "packageAll", dir.filePath("handover"));
    QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>(&window, "verdictTitle")->isVisibleTo(&window), HangGuardMs);
    QCOMPARE(child<QLabel>(&window, "verdictTitle")->text(), "Done: an archive for each register is written.");
    QCOMPARE(child<QLabel>(&window, "verdict")->text().split('\n'),
             QStringList({"Backup_CR#12345678_complete.enc: Done: the hand-over archive is written. "
                              + dir.filePath("handover/CR#12345678_complete.zip"),
                          "Backup_CR#12345679_complete.enc: Done: the hand-over archive is written. "
                              + dir.filePath("handover/CR#12345679_complete.zip"),
                          "Each archive is one register's file for the tax office, with its own protocol to sign."}));
    QCOMPARE(entries(dir.filePath("handover")), QStringList({"CR#12345678_complete.zip", "CR#12345679_complete.zip"}));
    saveShot(&window, "package-every-register");
}

// A data file that does not open is "!" in the calendar, and the words say so beside the index
// report, which counts it as missing.
void DesktopTest::unreadableDataFile()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--to", "2019-04", "--lines", "1"}));
    const QString unreadable = dir.filePath("card/KORVANE/12345678/2019/1903.a03");
    QVERIFY(QFile::remove(unreadable) && QFile::link("/proc/sys/vm/drop_caches", unreadable));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    QCOMPARE(monthWords(&window, "12345678", QDate(2019, 3, 1)),
             "March 2019: Cannot be opened – the data file is there but cannot be opened; a read leaves the month out.");
    QStringList texts;
    for (QLabel *label : window.findChild<QGroupBox *>("register_12345678")->findChildren<QLabel *>())
        texts << label->text().split('\n');
    QVERIFY2(texts.contains("Problem: the data file of 03/2019 is on the card but cannot be opened; the index report "
                            "above counts it as missing, and a read leaves the month out."),
             qPrintable(texts.join('|')));
}

void DesktopTest::beforeTheAudit_data()
{
    QTest::addColumn<QString>("manipulation");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("an honest year") << QString() << "No test flags this journal";
    QTest::newRow("a month of made-up takings") << "invent-takings@2019-03" << "Flagged by an auditor's tests: ";
}

// The fourth step shows what an auditor's analysis will see in the backup and period of the
// export step, with its charts, and keeps the report as a PDF.
void DesktopTest::beforeTheAudit()
{
    QFETCH(QString, manipulation);
    QFETCH(QString, verdict);
    QTemporaryDir dir;
    QStringList card{"--shop", "--from", "2019-01", "--to", "2019-12"};
    if (!manipulation.isEmpty())
        card << "--manipulate" << manipulation;
    QVERIFY(makeCard(dir.filePath("card"), card));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    read(window, dir.filePath("backups"));
    window.showStep(window.exportPage());
    QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>(&window, "backupSummary")->text().startsWith("Register"), HangGuardMs);
    window.showStep(window.auditPage());
    QTest::mouseClick(child<QPushButton>(&window, "auditCheck"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.auditPage()->isBusy() && !child<QLabel>(&window, "auditVerdict")->text().isEmpty(),
                             HangGuardMs);
    const QString said = child<QLabel>(&window, "auditVerdict")->text();
    QVERIFY2(said.startsWith(verdict) && said.contains(" to 31.12.2019"), qPrintable(said));
    auto *findings = child<QListWidget>(&window, "auditFindings");
    QVERIFY(findings->count() > 5);
    // What is flagged leads.
    QVERIFY2(findings->item(0)->text().startsWith(manipulation.isEmpty() ? "" : "Flagged – "),
             qPrintable(findings->item(0)->text()));
    QVERIFY(window.auditPage()->findChildren<ChartView *>().size() >= 4);
    saveShot(&window, "audit-" + QString(QTest::currentDataTag()).replace(' ', '-'));
    QVERIFY(window.auditPage()->writeReport(dir.filePath("check.pdf")));
    QVERIFY(fileBytes(dir.filePath("check.pdf")).startsWith("%PDF-"));
}

// Every register checked in one go, each with its own line in one summary.
void DesktopTest::checkEveryRegister()
{
    QTemporaryDir dir;
    QVERIFY(makeCard(dir.filePath("card"), {"--shop", "--registers", "2", "--from", "2019-01", "--to", "2019-06"}));
    MainWindow window;
    window.show();
    showSource(window, dir.filePath("card"));
    read(window, dir.filePath("backups"));
    window.showStep(window.auditPage());
    QTest::mouseClick(child<QPushButton>(&window, "auditCheckAll"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.auditPage()->isBusy()
                                 && child<QLabel>(&window, "auditVerdict")->text().count('\n') == 1, HangGuardMs);
    const QStringList lines = child<QLabel>(&window, "auditVerdict")->text().split('\n');
    QVERIFY2(lines.at(0).startsWith("Backup_CR#12345678_complete.enc: ") && lines.at(1).startsWith("Backup_CR#12345679_complete.enc: "),
             qPrintable(lines.join('|')));
    QVERIFY(child<QListWidget>(&window, "auditFindings")->item(0)->text().startsWith("Backup_CR#1234567"));
    QVERIFY(window.auditPage()->findChildren<ChartView *>().isEmpty());
}

// Cancel while a large export is verified ends the job at once, and nothing is written.
void DesktopTest::cancelWhileVerifying()
{
    QTemporaryDir dir;
    const QString backup = dir.filePath("Backup_CR#12345678_complete.enc");
    QVERIFY(fiscora::sample::writeLargeBackup(backup, 192 << 20));
    MainWindow window;
    window.show();
    window.exportPage()->addBackups({backup});
    window.showStep(window.exportPage());
    typeInto(child<QLineEdit>(&window, "exportTarget"), dir.filePath("handover"));
    QTest::mouseClick(child<QPushButton>(&window, "package"), Qt::LeftButton);
    auto *messages = child<ReportView>(&window, "exportMessages");
    QTRY_VERIFY_WITH_TIMEOUT(messages->texts().contains("CR#12345678: Verifying the export ..."), HangGuardMs);
    QTest::mouseClick(child<QPushButton>(&window, "exportStop"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.exportPage()->isBusy(), HangGuardMs);
    QCOMPARE(child<QLabel>(&window, "verdictTitle")->text(), "Stopped: nothing was written.");
    QCOMPARE(entries(dir.filePath("handover")), QStringList());
}

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
