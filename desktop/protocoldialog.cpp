#include "protocoldialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
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
    resize(720, 800);
}

} // namespace fiscora::desktop
