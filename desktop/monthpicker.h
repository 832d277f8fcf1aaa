#ifndef FISCORA_DESKTOP_MONTHPICKER_H
#define FISCORA_DESKTOP_MONTHPICKER_H

#include <QDate>
#include <QWidget>

class QComboBox;
class QSpinBox;

namespace fiscora::desktop {

/*!
 * A month of a year, chosen from a list of months and a year field that takes only years, so that
 * no date has to be typed or can be mistyped.
 *
 * \code
 * auto *from = new MonthPicker(tr("First month"), this);
 * from->setMonth(QDate(2019, 1, 1));
 * command.fromDate = from->month();
 * \endcode
 */
class MonthPicker : public QWidget
{
    Q_OBJECT

public:
    //! \a accessibleName names the picker for a screen reader: "First month".
    explicit MonthPicker(const QString &accessibleName, QWidget *parent = nullptr);

    //! The first day of the month chosen.
    QDate month() const;
    void setMonth(const QDate &month);
    //! The years that can be chosen, from \a first to \a last.
    void setYears(int first, int last);

    QComboBox *monthBox() const { return m_month; }
    QSpinBox *yearBox() const { return m_year; }

Q_SIGNALS:
    void monthChanged(const QDate &month);

private:
    QComboBox *m_month;
    QSpinBox *m_year;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_MONTHPICKER_H
