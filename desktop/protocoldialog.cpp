#include "protocoldialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace fiscora::desktop {

ProtocolDialog::ProtocolDialog(const app::HandoverFacts &facts, QWidget *parent)
    : QDialog(parent)
    , m_document(new QTextBrowser(this))
{
    setWindowTitle(tr("Protocol of the hand-over of the register %1").arg(facts.serialNumber));
    m_document->setHtml(app::HandoverProtocol().html(facts));
    m_document->setAccessibleName(tr("Hand-over protocol"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_document);
    layout->addWidget(buttons);
    // As tall as a page, where the screen it opens on has the room.
    const QRect screen = (parent ? parent->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    resize(qMin(720, screen.width() * 17 / 20), qMin(800, screen.height() * 17 / 20));
}

} // namespace fiscora::desktop
