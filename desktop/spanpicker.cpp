#include "spanpicker.h"

#include "monthpicker.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QRadioButton>

namespace fiscora::desktop {

namespace {

QString monthText(const QDate &month)
{
    return month.toString(QStringLiteral("MM/yyyy"));
}

} // namespace

SpanPicker::SpanPicker(QWidget *parent)
    : QWidget(parent)
    , m_everything(new QRadioButton(tr("E&verything"), this))
    , m_oneMonth(new QRadioButton(tr("&One month"), this))
    , m_fromTo(new QRadioButton(tr("Fro&m–to"), this))
    , m_from(new MonthPicker(tr("First month"), this))
    , m_to(new MonthPicker(tr("Last month"), this))
    , m_quick(new QComboBox(this))
{
    m_quick->setObjectName(QStringLiteral("spanQuick"));
    m_quick->setAccessibleName(tr("A year or a quarter"));
    m_quick->setToolTip(tr("Sets the span to a whole year or quarter."));
    auto *group = new QButtonGroup(this);
    for (QRadioButton *button : {m_everything, m_oneMonth, m_fromTo})
        group->addButton(button);
    m_everything->setChecked(true);
    auto *toLabel = new QLabel(tr("to"), this);
    // The choice above the months, so that the picker fits a small screen's width.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *choices = new QHBoxLayout;
    for (QWidget *widget : std::initializer_list<QWidget *>{m_everything, m_oneMonth, m_fromTo, m_quick})
        choices->addWidget(widget);
    choices->addStretch();
    auto *months = new QHBoxLayout;
    for (QWidget *widget : std::initializer_list<QWidget *>{m_from, toLabel, m_to})
        months->addWidget(widget);
    months->addStretch();
    layout->addLayout(choices);
    layout->addLayout(months);
    connect(group, QOverload<QAbstractButton *>::of(&QButtonGroup::buttonClicked), this, &SpanPicker::updateEnabled);
    connect(m_quick, QOverload<int>::of(&QComboBox::activated), this, &SpanPicker::takeQuickChoice);
    fillQuickChoice(QDate(), QDate());
    updateEnabled();
}

QDate SpanPicker::fromDate() const
{
    return choice() == Everything ? QDate() : m_from->month();
}

QDate SpanPicker::toDate() const
{
    return choice() == FromTo ? m_to->month() : QDate();
}

bool SpanPicker::isValid() const
{
    return choice() != FromTo || m_from->month() <= m_to->month();
}

SpanPicker::Choice SpanPicker::choice() const
{
    if (m_oneMonth->isChecked())
        return OneMonth;
    return m_fromTo->isChecked() ? FromTo : Everything;
}

QString SpanPicker::text() const
{
    switch (choice()) {
    case OneMonth:
        return monthText(fromDate());
    case FromTo:
        return tr("%1 to %2").arg(monthText(fromDate()), monthText(toDate()));
    case Everything:
        break;
    }
    return tr("everything");
}

void SpanPicker::setAvailable(const QDate &first, const QDate &last)
{
    for (MonthPicker *picker : {m_from, m_to})
        picker->setYears(first.year(), last.year());
    m_from->setMonth(first);
    m_to->setMonth(last);
    fillQuickChoice(first, last);
}

// Each item holds the first and the last month it stands for.
void SpanPicker::fillQuickChoice(const QDate &first, const QDate &last)
{
    m_quick->clear();
    m_quick->addItem(tr("Year or quarter…"));
    for (int year = first.year(); first.isValid() && year <= last.year(); ++year) {
        m_quick->addItem(QString::number(year), QVariantList{QDate(year, 1, 1), QDate(year, 12, 1)});
        for (int quarter = 1; quarter <= 4; ++quarter) {
            const QDate start(year, quarter * 3 - 2, 1);
            if (start.addMonths(2) >= first && start <= last)
                m_quick->addItem(tr("%1, quarter %2").arg(year).arg(quarter), QVariantList{start, start.addMonths(2)});
        }
    }
    m_quick->setEnabled(m_quick->count() > 1);
}

void SpanPicker::takeQuickChoice(int index)
{
    const QVariantList months = m_quick->itemData(index).toList();
    if (months.size() != 2)
        return;
    m_fromTo->setChecked(true);
    m_from->setMonth(months.at(0).toDate());
    m_to->setMonth(months.at(1).toDate());
    m_quick->setCurrentIndex(0);
    updateEnabled();
}

QRadioButton *SpanPicker::button(Choice choice) const
{
    switch (choice) {
    case OneMonth:
        return m_oneMonth;
    case FromTo:
        return m_fromTo;
    case Everything:
        break;
    }
    return m_everything;
}

void SpanPicker::updateEnabled()
{
    m_from->setEnabled(choice() != Everything);
    m_to->setEnabled(choice() == FromTo);
}

} // namespace fiscora::desktop
