#ifndef FISCORA_APP_TABLESCAN_H
#define FISCORA_APP_TABLESCAN_H

#include <fiscora/indexfileanalyser.h>

#include <QByteArray>
#include <QList>
#include <QDate>
#include <QMap>

namespace fiscora::app {

//! Where a table file of an export keeps what the applications read from its rows.
struct TableLayout
{
    //! A row may be this long and is still taken whole.
    static constexpr int LongestRow = 256 << 20;

    //! The fields of a row; one with another number of fields is no record.
    int columnCount = 0;
    int registerColumn = -1;    //!< Kassennummer
    int lineNumberColumn = -1;  //!< Zeilennummer
    int dateColumn = -1;        //!< Datum
    int timeColumn = -1;        //!< Uhrzeit
    int receiptColumn = -1;     //!< Bonnummer
    int bookingTypeColumn = -1; //!< Buchungstyp
    int amountColumn = -1;      //!< Betrag
    int taxColumn = -1;         //!< Steuer
    int taxCodeColumn = -1;     //!< StKz
    char delimiter = ';';
    char encapsulator = '"';
    char decimalSymbol = ',';
    char digitGroupingSymbol = '.';

    //! The layout of the table files the library writes, as the index.xml it writes beside them
    //! declares them.
    static const TableLayout &ofExports();

    //! The fields of \a row, a line of the table with or without its line end, when they are as
    //! many as the columns; nothing otherwise, as the row is no record that can be read.
    QList<QByteArray> fields(const QByteArray &row) const;
    //! The date in \a fields, or an invalid one when they hold none that can be read.
    QDate date(const QList<QByteArray> &fields) const;
    //! The amount in \a fields in cents; false when they hold none that can be read.
    bool amountCents(const QList<QByteArray> &fields, qint64 *cents) const;
    //! The amount of \a size bytes at \a value in cents; false when it is none.
    bool cents(const char *value, int size, qint64 *cents) const;
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
    //! Rows that are no record or whose date cannot be read; they are in no month.
    qint64 unreadableRows = 0;
    //! Records whose amount cannot be read; they count without it.
    qint64 unreadableAmounts = 0;

    //! Adds the rows of the table file \a path; false when it cannot be read.
    bool add(const QString &path, const TableLayout &layout);
    qint64 records() const;

    /*!
     * The months a report on the table lists: those from \a firstMonth to \a lastMonth when a
     * period was asked for (\a lastMonth invalid: the one month), or else those from the first to
     * the last month with records and every month that \a analyser reports a problem with.
     */
    QList<QDate> reportMonths(const IndexFileAnalyser &analyser, const QDate &firstMonth = QDate(),
                              const QDate &lastMonth = QDate()) const;
};

} // namespace fiscora::app

#endif // FISCORA_APP_TABLESCAN_H
