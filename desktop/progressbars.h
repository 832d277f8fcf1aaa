#ifndef FISCORA_DESKTOP_PROGRESSBARS_H
#define FISCORA_DESKTOP_PROGRESSBARS_H

#include <QCoreApplication>
#include <QProgressBar>

namespace fiscora::desktop {

//! A job's progress bar while none runs says so, rather than standing there as an empty box.
inline void showIdle(QProgressBar *bar)
{
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->setFormat(QCoreApplication::translate("fiscora::desktop::ProgressBars", "No job running"));
}

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_PROGRESSBARS_H
