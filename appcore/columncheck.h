#ifndef FISCORA_APP_COLUMNCHECK_H
#define FISCORA_APP_COLUMNCHECK_H

#include "tableformat.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QTextCodec;

namespace fiscora::app {

/*!
 * Whether the values of one column are written as its declaration in index.xml says, strictly
 * but as an auditor's import reads them. Values are the bytes of the table file.
 *
 * - An empty value is no value and fits every column: tables leave fields empty that have nothing
 *   to say, and an import takes them as empty.
 * - AlphaNumeric takes anything.
 * - Numeric: an optional '-' and digits, in groups of three separated by the digit grouping symbol
 *   or not grouped at all. An accuracy of n > 0 adds the decimal symbol and exactly n digits, so
 *   that "37,5" is no amount of two decimals; with accuracy 0 there is no decimal symbol. With an
 *   implied accuracy the value is digits only, the last n of them the decimals.
 * - Date: the format with its DD, MM and YYYY or YY written as digits, and a day of the calendar;
 *   a two-digit year below the table's epoch is one of the 2000s, any other one of the 1900s.
 *
 * \code
 * const ColumnCheck betrag(table, table.columnIndex(QStringLiteral("Betrag")), codec);
 * const ColumnCheck::Fault fault = betrag.check("37,5");  // ColumnCheck::Fault::NotANumber
 * betrag.describe(fault, "37,5");                         // "\"37,5\" is not a number with 2 decimals."
 * \endcode
 */
class ColumnCheck
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::ColumnCheck)

public:
    enum class Fault { None, NotANumber, NotInDateFormat, NoSuchDay };

    //! Checks the values of \a column of \a table, a table file in the encoding of \a codec.
    ColumnCheck(const TableFormat &table, int column, const QTextCodec *codec);

    //! False for a date format that does not say a day, a month and a year, once each.
    bool isSupported() const;
    Fault check(const char *begin, const char *end) const;
    Fault check(const QByteArray &value) const { return check(value.constBegin(), value.constEnd()); }
    //! What is wrong with \a value, which check() found at fault.
    QString describe(Fault fault, const QByteArray &value) const;

private:
    bool isNumber(const char *begin, const char *end) const;
    bool isInteger(const char *begin, const char *end) const;
    Fault checkDate(const char *begin, const char *end) const;

    const TableFormat::Column m_column;
    const QTextCodec *const m_codec;
    const QByteArray m_decimalSymbol;
    const QByteArray m_digitGroupingSymbol;
    const int m_epoch;
    // The date format with the digits of the day, the month and the year marked.
    QByteArray m_datePattern;
    int m_yearDigits = 0;
    bool m_supported = true;
};

} // namespace fiscora::app

#endif // FISCORA_APP_COLUMNCHECK_H
