#ifndef FISCORA_DESKTOP_FOLDEROPENER_H
#define FISCORA_DESKTOP_FOLDEROPENER_H

#include <QCoreApplication>
#include <QString>

class QWidget;

namespace fiscora::desktop {

/*!
 * Shows a folder in the desktop's file manager; where none opens, a message names the folder, so
 * that the owner can go there by hand.
 *
 * \code
 * FolderOpener::open(this, backupFolder);
 * \endcode
 */
class FolderOpener
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::desktop::FolderOpener)

public:
    //! False when no file manager could be asked to show \a folder; the message has said so.
    static bool open(QWidget *parent, const QString &folder);
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_FOLDEROPENER_H
