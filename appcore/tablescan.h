#ifndef FISCORA_APP_TABLESCAN_H
#define FISCORA_APP_TABLESCAN_H

#include <QByteArray>
#include <QDate>
#include <QMap>

namespace fiscora::app {

//! Where a table file of an export keeps what the applications read from its rows.
struct TableLayout
{
    //! A row may be this long and is still taken whole.
    static constexpr int LongestRow = 256 << 20;

    int dateColumn = -1;
    int amountColumn = -1;
    char delimiter = ';';
    char encapsulator = '"';
    char decimalSymbol = ',';
    char digitGroupingSymbol = '.';

    //! The layout of the table files the library writes, as the index.xml it writes beside them
    //! declares them.
    static const TableLayout &ofExports();

    //! The date of \a row, or an invalid one when it holds none that can be read.
    QDate date(const QByteArray &row) const;
    //! The amount of \a row in cents; false when it holds none that can be read.
    bool amountCents(const QByteArray &row, qint64 *cents) const;
};

//! The records of a month and the sum of their amounts, in cents.
struct MonthTotals
{
    qint64 records = 0;
    qint64 amountCents = 0;
};

//! Records and amounts of a table file, month by month.
struct TableTotals
{
    QMap<QDate, MonthTotals> months;
    //! Rows whose date cannot be read, and rows whose amount cannot be read.
    qint64 undatedRows = 0;
    qint64 unreadableAmounts = 0;

    //! Adds the rows of the table file \a path; false when it cannot be read.
    bool add(const QString &path, const TableLayout &layout);
    qint64 records() const;
};

} // namespace fiscora::app

#endif // FISCORA_APP_TABLESCAN_H
