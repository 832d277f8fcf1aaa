#ifndef FISCORA_DESKTOP_SOURCEPAGE_H
#define FISCORA_DESKTOP_SOURCEPAGE_H

#include "cardwatcher.h"

#include <fiscora/cardlisting.h>

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace fiscora::desktop {

class JobThread;

/*!
 * The first step: the card to read. It offers the cards that are plugged in and a folder of
 * one's choice (a copy of a card), and shows, for the chosen one, the registers on it and their
 * months as a read would find them, listed in a thread of their own.
 */
class SourcePage : public QWidget
{
    Q_OBJECT

public:
    explicit SourcePage(QWidget *parent = nullptr);

    //! Lists the card or folder \a folder.
    void setSource(const QString &folder);
    QString source() const { return m_source; }

Q_SIGNALS:
    //! The card was listed; \a registers is empty when it holds none.
    void sourceListed(const QString &source, const QList<fiscora::CardListing::Register> &registers);
    void nextRequested();

private:
    void showCards(const QList<Card> &cards);
    void chooseFolder();
    void showListing(const QString &source, const QList<CardListing::Register> &registers);
    void showError(const QString &error, const QString &hint);
    void clearRegisters();
    QWidget *registerView(const CardListing::Register &cashRegister);
    QWidget *legend();

    CardWatcher m_watcher;
    QListWidget *m_cards;
    QLineEdit *m_folder;
    QLabel *m_status;
    QVBoxLayout *m_registers;
    QPushButton *m_next;
    QString m_source;
    QPointer<JobThread> m_job;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_SOURCEPAGE_H
