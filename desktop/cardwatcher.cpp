#include "cardwatcher.h"

#include <fiscora/helperclass.h>

#include <QDir>
#include <QStorageInfo>

namespace fiscora::desktop {

namespace {

constexpr int RefreshMs = 2000;

} // namespace

CardWatcher::CardWatcher(QObject *parent)
    : QObject(parent)
    , m_cards(mountedCards())
{
    connect(&m_timer, &QTimer::timeout, this, &CardWatcher::refresh);
    m_timer.start(RefreshMs);
}

QList<Card> CardWatcher::mountedCards()
{
    QList<Card> cards;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        // The drive type is asked of the root in the form the system writes it ("E:\" on Windows).
        const QString root = QDir::toNativeSeparators(volume.rootPath());
        if (volume.isReady() && HelperClass::getWindowsDriveType(root) == HelperClass::DRIVETYPE_REMOVABLE)
            cards.append({volume.rootPath(), volume.displayName()});
    }
    return cards;
}

void CardWatcher::refresh()
{
    const QList<Card> cards = mountedCards();
    if (cards == m_cards)
        return;
    m_cards = cards;
    Q_EMIT cardsChanged(m_cards);
}

} // namespace fiscora::desktop
