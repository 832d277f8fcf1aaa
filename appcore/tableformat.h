#ifndef FISCORA_APP_TABLEFORMAT_H
#define FISCORA_APP_TABLEFORMAT_H

#include "finding.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <climits>

namespace fiscora::app {

/*!
 * How one table of a GDPdU export is written, as its index.xml describes it. read() takes every
 * table of an index.xml that is valid against the DTD its DOCTYPE names; a member that index.xml
 * leaves out has the default that the DTD states.
 *
 * \code
 * QList<Finding> findings;
 * const QList<TableFormat> tables = TableFormat::read(folder + QStringLiteral("/index.xml"), &findings);
 * for (const TableFormat &table : tables)
 *     qDebug() << table.url << table.columns.size() << table.columnIndex(QStringLiteral("Betrag"));
 * \endcode
 */
struct TableFormat
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::TableFormat)

public:
    enum class Layout { VariableLength, FixedLength };
    enum class Encoding { Ansi, Macintosh, Oem, Utf16, Utf7, Utf8 };

    struct Column
    {
        enum class Kind { AlphaNumeric, Numeric, Date };

        QString name;
        Kind kind = Kind::AlphaNumeric;
        //! Numeric: the decimals, written after the decimal symbol or, when implied, the last digits.
        int accuracy = 0;
        bool accuracyImplied = false;
        //! Date: how it is written, with DD, MM and YYYY or YY standing for its digits.
        QString dateFormat = QStringLiteral("DD.MM.YYYY");
    };

    //! The table file, relative to the folder of index.xml.
    QString url;
    QString name;
    //! Where the table is described in index.xml.
    qint64 line = 0;
    Encoding encoding = Encoding::Ansi;
    QString decimalSymbol = QStringLiteral(",");
    QString digitGroupingSymbol = QStringLiteral(".");
    //! Bytes at the start of the file that are no part of the table.
    int skipNumBytes = 0;
    //! The rows that belong to the table, counted from 1: all of them unless index.xml says otherwise.
    int firstRow = 1;
    int lastRow = INT_MAX;
    //! A two-digit year below it is one of the 2000s, any other one of the 1900s.
    int epoch = 30;
    Layout layout = Layout::VariableLength;
    QString columnDelimiter = QStringLiteral(";");
    QString recordDelimiter = QStringLiteral("\r\n");
    QString textEncapsulator = QStringLiteral("\"");
    //! The primary key columns first, then the others. For a fixed-length table without their positions.
    QList<Column> columns;

    //! The position of the column called \a name in columns, or -1.
    int columnIndex(const QString &name) const;

    /*!
     * The tables that the index.xml at \a indexXmlPath describes, when it is valid against the DTD
     * its DOCTYPE names, looked up beside it, and its numbers are numbers. Otherwise no table, and
     * \a findings says why: a missing index.xml or DTD, a number that is none, or what libxml2
     * found, in its own words with the file and line it names. The files are relative to the
     * folder of index.xml. The DTD is never fetched from the network.
     */
    static QList<TableFormat> read(const QString &indexXmlPath, QList<Finding> *findings);
};

} // namespace fiscora::app

#endif // FISCORA_APP_TABLEFORMAT_H
