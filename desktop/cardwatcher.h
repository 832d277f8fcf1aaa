#ifndef FISCORA_DESKTOP_CARDWATCHER_H
#define FISCORA_DESKTOP_CARDWATCHER_H

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

namespace fiscora::desktop {

//! A removable drive that is mounted, such as a card in a card reader.
struct Card
{
    QString rootPath;
    QString name;

    bool operator==(const Card &other) const { return rootPath == other.rootPath && name == other.name; }
};

/*!
 * Tells which removable drives are mounted, and when a card comes or goes.
 *
 * It looks at the mounted volumes every two seconds. Cards are mounted below different folders
 * on each system and desktop (/media/USER, /run/media/USER, /Volumes, drive letters), and the
 * mount table is a file that a file-system watcher is not told about; reading it is cheap.
 *
 * \code
 * CardWatcher watcher;
 * connect(&watcher, &CardWatcher::cardsChanged, this, &SourcePage::showCards);
 * showCards(watcher.cards());
 * \endcode
 */
class CardWatcher : public QObject
{
    Q_OBJECT

public:
    explicit CardWatcher(QObject *parent = nullptr);

    QList<Card> cards() const { return m_cards; }

    //! The removable drives mounted now.
    static QList<Card> mountedCards();

Q_SIGNALS:
    void cardsChanged(const QList<fiscora::desktop::Card> &cards);

private:
    void refresh();

    QTimer m_timer;
    QList<Card> m_cards;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_CARDWATCHER_H
