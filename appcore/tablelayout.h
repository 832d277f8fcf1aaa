#ifndef FISCORA_APP_TABLELAYOUT_H
#define FISCORA_APP_TABLELAYOUT_H

#include <QStringList>
#include <QtGlobal>

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
    int operatorColumn = -1;     //!< Bedienernummer
    int functionTypeColumn = -1; //!< Funktionstyp
    int functionNameColumn = -1; //!< Funktionsname
    char delimiter = ';';
    char encapsulator = '"';
    char decimalSymbol = ',';
    char digitGroupingSymbol = '.';

    //! The layout of the table files the library writes, as the index.xml it writes beside them
    //! declares them.
    static const TableLayout &ofExports();
    //! The description files the library writes beside the table, as its resources name them:
    //! "index.xml" and the DTD.
    static QStringList descriptionFiles();

    //! The amount of \a size bytes at \a value in cents; false when it is none.
    bool cents(const char *value, int size, qint64 *cents) const;
};

} // namespace fiscora::app

#endif // FISCORA_APP_TABLELAYOUT_H
