#ifndef FISCORA_DESKTOP_REPORTVIEW_H
#define FISCORA_DESKTOP_REPORTVIEW_H

#include <QListWidget>

namespace fiscora::desktop {

/*!
 * What a job reports, one entry per message as it comes, each naming its register. Problems and
 * errors are marked in words ("Problem:", "Error:", with what to do), with an icon and a colour
 * beside that.
 *
 * \code
 * connect(job, &JobThread::messageReported, view, &ReportView::addMessage);
 * connect(job, &JobThread::errorReported, view, &ReportView::addError);
 * \endcode
 */
class ReportView : public QListWidget
{
    Q_OBJECT

public:
    explicit ReportView(QWidget *parent = nullptr);

    //! A message of the library; its "<br>" break the text into lines.
    void addMessage(const QString &serialNumber, const QString &text, bool isError);
    void addError(const QString &serialNumber, const QString &error, const QString &hint);
    //! A line of the window itself, such as "Stopping…".
    void addNote(const QString &text);
    //! The job's \a error when it ends as the user asked: no fault, and said as \a outcome, with the
    //! library's words beside it and without its hint, which speaks of an incomplete save.
    void addStop(const QString &serialNumber, const QString &outcome, const QString &error);

    //! The texts of the entries, as shown.
    QStringList texts() const;

    //! \a text with its "<br>" as line breaks.
    static QString plainText(const QString &text);

private:
    void addEntry(const QString &text, QStyle::StandardPixmap icon, const QColor &colour);
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_REPORTVIEW_H
