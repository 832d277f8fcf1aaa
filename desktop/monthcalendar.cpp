#include "monthcalendar.h"

#include <QHeaderView>
#include <QLocale>

namespace fiscora::desktop {

using app::ListedMonth;

MonthCalendar::MonthCalendar(const CardListing::Register &cashRegister, QWidget *parent)
    : QTableWidget(parent)
{
    const QList<int> years = ListedMonth::years(cashRegister);
    setRowCount(years.size());
    setColumnCount(12);
    const QLocale locale;
    QStringList months;
    for (int month = 1; month <= 12; ++month)
        months << locale.standaloneMonthName(month, QLocale::ShortFormat);
    setHorizontalHeaderLabels(months);
    for (int row = 0; row < years.size(); ++row)
        fillYear(row, years.at(row), cashRegister);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    // One Tab stop for the whole calendar; the arrow keys move between its months.
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Every year shows whole, so the calendar never scrolls inside the page.
    setSizeAdjustPolicy(AdjustToContents);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(tr("Months of the register %1").arg(cashRegister.serialNumber));
    setAccessibleDescription(tr("A row per year, a column per month; each cell tells what a read would find."));
}

void MonthCalendar::fillYear(int row, int year, const CardListing::Register &cashRegister)
{
    const QLocale locale;
    setVerticalHeaderItem(row, new QTableWidgetItem(QString::number(year)));
    for (int month = 1; month <= 12; ++month) {
        const QDate date(year, month, 1);
        const ListedMonth::State state = ListedMonth::of(cashRegister, date);
        auto *cell = new QTableWidgetItem(stateSymbol(state));
        const QString words = tr("%1: %2 – %3")
                                      .arg(locale.toString(date, QStringLiteral("MMMM yyyy")), stateName(state),
                                           stateDescription(state));
        cell->setToolTip(words);
        cell->setData(Qt::AccessibleTextRole, words);
        cell->setBackground(stateColour(state));
        cell->setForeground(QColor(Qt::black));
        cell->setTextAlignment(Qt::AlignCenter);
        setItem(row, month - 1, cell);
    }
}

QString MonthCalendar::stateName(ListedMonth::State state)
{
    switch (state) {
    case ListedMonth::Announced:
        // Not "OK": the records are judged only when they are read.
        return tr("Announced");
    case ListedMonth::Missing:
        return tr("Data file missing");
    case ListedMonth::NotAnnounced:
        return tr("Not announced");
    case ListedMonth::Unreadable:
        return tr("Cannot be opened");
    case ListedMonth::NotJudged:
        return tr("No index file");
    case ListedMonth::Nothing:
        break;
    }
    return tr("Nothing");
}

QString MonthCalendar::stateDescription(ListedMonth::State state)
{
    switch (state) {
    case ListedMonth::Announced:
        return tr("the data file is there, as the index file announces; its records are checked when the card is read.");
    case ListedMonth::Missing:
        return tr("the index file announces data, but the data file is not on the card.");
    case ListedMonth::NotAnnounced:
        return tr("a data file is there that the index file does not announce.");
    case ListedMonth::Unreadable:
        return tr("the data file is there but cannot be opened; a read leaves the month out.");
    case ListedMonth::NotJudged:
        return tr("a data file is there, but without an index file it cannot be checked.");
    case ListedMonth::Nothing:
        break;
    }
    return tr("neither a data file nor announced.");
}

// Light tones, so that the black symbols stay readable on each of them.
QColor MonthCalendar::stateColour(ListedMonth::State state)
{
    switch (state) {
    case ListedMonth::Announced:
        return QColor(0xa5, 0xd6, 0xa7);
    case ListedMonth::Missing:
        return QColor(0xef, 0x9a, 0x9a);
    case ListedMonth::NotAnnounced:
        return QColor(0xff, 0xcc, 0x80);
    case ListedMonth::Unreadable:
        return QColor(0xce, 0x93, 0xd8);
    case ListedMonth::NotJudged:
        return QColor(0xff, 0xf5, 0x9d);
    case ListedMonth::Nothing:
        break;
    }
    return QColor(0xee, 0xee, 0xee);
}

QString MonthCalendar::stateSymbol(ListedMonth::State state)
{
    switch (state) {
    case ListedMonth::Announced:
        return QStringLiteral("\u2713");
    case ListedMonth::Missing:
        return QStringLiteral("\u2717");
    case ListedMonth::NotAnnounced:
        return QStringLiteral("+");
    case ListedMonth::Unreadable:
        return QStringLiteral("!");
    case ListedMonth::NotJudged:
        return QStringLiteral("?");
    case ListedMonth::Nothing:
        break;
    }
    return QStringLiteral("\u2013");
}

QList<ListedMonth::State> MonthCalendar::states()
{
    return {ListedMonth::Announced,  ListedMonth::Missing,   ListedMonth::NotAnnounced,
            ListedMonth::Unreadable, ListedMonth::NotJudged, ListedMonth::Nothing};
}

} // namespace fiscora::desktop
