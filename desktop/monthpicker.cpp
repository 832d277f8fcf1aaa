#include "monthpicker.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QSpinBox>

namespace fiscora::desktop {

namespace {

// The month index of the library begins with January 2016, the year of the first journals.
constexpr int FirstYear = 2016;
constexpr int LastYear = 2099;

} // namespace

MonthPicker::MonthPicker(const QString &accessibleName, QWidget *parent)
    : QWidget(parent)
    , m_month(new QComboBox(this))
    , m_year(new QSpinBox(this))
{
    const QLocale locale;
    for (int month = 1; month <= 12; ++month)
        m_month->addItem(locale.standaloneMonthName(month), month);
    m_year->setRange(FirstYear, LastYear);
    m_month->setAccessibleName(tr("%1: month").arg(accessibleName));
    m_year->setAccessibleName(tr("%1: year").arg(accessibleName));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_month);
    layout->addWidget(m_year);
    setFocusProxy(m_month);
    setMonth(QDate(QDate::currentDate().year(), 1, 1));
    const auto changed = [this] { Q_EMIT monthChanged(month()); };
    connect(m_month, QOverload<int>::of(&QComboBox::currentIndexChanged), this, changed);
    connect(m_year, QOverload<int>::of(&QSpinBox::valueChanged), this, changed);
}

QDate MonthPicker::month() const
{
    return QDate(m_year->value(), m_month->currentIndex() + 1, 1);
}

void MonthPicker::setMonth(const QDate &month)
{
    m_year->setValue(month.year());
    m_month->setCurrentIndex(month.month() - 1);
}

void MonthPicker::setYears(int first, int last)
{
    m_year->setRange(first, last);
}

} // namespace fiscora::desktop
