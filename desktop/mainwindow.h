#ifndef FISCORA_DESKTOP_MAINWINDOW_H
#define FISCORA_DESKTOP_MAINWINDOW_H

#include <fiscora/cardlisting.h>

#include <QMainWindow>

class QActionGroup;
class QScrollArea;
class QTabWidget;

namespace fiscora::desktop {

class AuditPage;
class ExportPage;
class ReadPage;
class SourcePage;

/*!
 * The window that leads a shop owner or a tax advisor through the job, one tab per step: the
 * card, its read into backups, and the export or hand-over of a backup. A card folder or a
 * backup file dropped on the window is taken as the source; closing it while a job runs asks
 * first, then stops the job and closes once it has ended, so nothing half written is left. The
 * language follows the system or the user's choice, which is kept.
 *
 * \code
 * MainWindow window;
 * window.open(QStringLiteral("/media/me/CARD"), QStringLiteral("/home/me/Kasse"));
 * window.show();
 * \endcode
 */
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    /*!
     * Opens \a source: a card folder is listed and will be read into \a target, a backup file is
     * offered for export into \a target. An empty \a target keeps the folder used last.
     */
    void open(const QString &source, const QString &target = QString());

    QTabWidget *steps() const { return m_steps; }
    //! Shows the step of \a page, one of the pages below.
    void showStep(QWidget *page);
    QWidget *currentStep() const;
    SourcePage *sourcePage() const { return m_source; }
    ReadPage *readPage() const { return m_read; }
    ExportPage *exportPage() const { return m_export; }
    AuditPage *auditPage() const { return m_audit; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void build();
    QScrollArea *scrolling(QWidget *page);
    static QStringList backupsIn(const QString &folder);
    QWidget *currentPage(int step) const;
    void buildMenus();
    void switchLanguage(const QString &language);
    void updateTitle(const QString &source, const QList<CardListing::Register> &registers);
    void updateBusy();
    bool isBusy() const;
    void helpOnStep();
    static QString helpText(int step);
    void about();

    QTabWidget *m_steps = nullptr;
    SourcePage *m_source = nullptr;
    ReadPage *m_read = nullptr;
    ExportPage *m_export = nullptr;
    AuditPage *m_audit = nullptr;
    QActionGroup *m_languages = nullptr;
    bool m_closeWhenStopped = false;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_MAINWINDOW_H
