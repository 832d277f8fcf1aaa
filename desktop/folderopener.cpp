#include "folderopener.h"

#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QUrl>

namespace fiscora::desktop {

bool FolderOpener::open(QWidget *parent, const QString &folder)
{
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        return true;
    QMessageBox message(QMessageBox::Information, tr("No file manager opened"),
                        tr("No file manager could be opened to show the folder. It is:\n%1")
                                .arg(QDir::toNativeSeparators(folder)),
                        QMessageBox::Ok, parent);
    // The path can be selected and copied.
    message.setTextInteractionFlags(Qt::TextSelectableByMouse);
    message.exec();
    return false;
}

} // namespace fiscora::desktop
