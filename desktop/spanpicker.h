#ifndef FISCORA_DESKTOP_SPANPICKER_H
#define FISCORA_DESKTOP_SPANPICKER_H

#include <QDate>
#include <QWidget>

class QComboBox;
class QRadioButton;

namespace fiscora::desktop {

class MonthPicker;

/*!
 * The months a job covers: everything, one month, or a span from one month to another, told as
 * a command takes them (only fromDate: one month; both: a span; neither: everything).
 *
 * \code
 * auto *span = new SpanPicker(this);
 * span->setAvailable(QDate(2019, 1, 1), QDate(2019, 12, 1));
 * command.fromDate = span->fromDate();
 * command.toDate = span->toDate();
 * \endcode
 */
class SpanPicker : public QWidget
{
    Q_OBJECT

public:
    enum Choice { Everything, OneMonth, FromTo };

    explicit SpanPicker(QWidget *parent = nullptr);

    //! The first day of the first month, invalid for everything.
    QDate fromDate() const;
    //! The first day of the last month of a span, invalid otherwise.
    QDate toDate() const;
    Choice choice() const;
    //! False when the last month of a span lies before its first.
    bool isValid() const;
    //! The span in words: "everything", "03/2019" or "01/2019 to 12/2019".
    QString text() const;

    //! Sets the pickers to the months there are, from \a first to \a last, their years to those
    //! years, and offers each of those years and quarters as a quick choice.
    void setAvailable(const QDate &first, const QDate &last);
    //! The quick choices of a year or a quarter.
    QComboBox *quickChoice() const { return m_quick; }

    QRadioButton *button(Choice choice) const;
    MonthPicker *fromPicker() const { return m_from; }
    MonthPicker *toPicker() const { return m_to; }

private:
    void updateEnabled();
    void fillQuickChoice(const QDate &first, const QDate &last);
    void takeQuickChoice(int index);

    QRadioButton *m_everything;
    QRadioButton *m_oneMonth;
    QRadioButton *m_fromTo;
    MonthPicker *m_from;
    MonthPicker *m_to;
    QComboBox *m_quick;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_SPANPICKER_H
