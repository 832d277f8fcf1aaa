#ifndef FISCORA_DESKTOP_PROTOCOLDIALOG_H
#define FISCORA_DESKTOP_PROTOCOLDIALOG_H

#include "handoverprotocol.h"

#include <QDialog>

class QTextBrowser;

namespace fiscora::desktop {

/*!
 * The protocol of a hand-over archive, shown in the window as the same document that the
 * archive's PDF is laid out from, so that what is read here is what the auditor gets.
 *
 * \code
 * ProtocolDialog(job->handover(), this).exec();
 * \endcode
 */
class ProtocolDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProtocolDialog(const app::HandoverFacts &facts, QWidget *parent = nullptr);

    QTextBrowser *document() const { return m_document; }

private:
    QTextBrowser *m_document;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_PROTOCOLDIALOG_H
