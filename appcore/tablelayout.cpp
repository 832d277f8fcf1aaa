#include "tablelayout.h"

#include "tableformat.h"

#include <fiscora/fiscora.h>

#include <QFile>
#include <QTemporaryDir>

namespace fiscora::app {

namespace {

// The description is read by the same reader that verifies exports; it needs the DTD beside it
// on disk, so both resources are copied out once.
TableLayout layoutOfLibraryExports()
{
    // The resources come with the library, which registers them when it is loaded: asking for its
    // version makes sure that it is.
    getFiscoraLibVersion();
    QTemporaryDir folder;
    for (const QString &name : TableLayout::descriptionFiles())
        QFile::copy(QStringLiteral(":/") + name, folder.filePath(name));
    QList<Finding> findings;
    const TableFormat table = TableFormat::read(folder.filePath(QStringLiteral("index.xml")), &findings).value(0);
    TableLayout layout;
    layout.columnCount = table.columns.size();
    layout.registerColumn = table.columnIndex(QStringLiteral("Kassennummer"));
    layout.lineNumberColumn = table.columnIndex(QStringLiteral("Zeilennummer"));
    layout.dateColumn = table.columnIndex(QStringLiteral("Datum"));
    layout.timeColumn = table.columnIndex(QStringLiteral("Uhrzeit"));
    layout.receiptColumn = table.columnIndex(QStringLiteral("Bonnummer"));
    layout.bookingTypeColumn = table.columnIndex(QStringLiteral("Buchungstyp"));
    layout.amountColumn = table.columnIndex(QStringLiteral("Betrag"));
    layout.taxColumn = table.columnIndex(QStringLiteral("Steuer"));
    layout.taxCodeColumn = table.columnIndex(QStringLiteral("StKz"));
    layout.operatorColumn = table.columnIndex(QStringLiteral("Bedienernummer"));
    layout.functionTypeColumn = table.columnIndex(QStringLiteral("Funktionstyp"));
    layout.functionNameColumn = table.columnIndex(QStringLiteral("Funktionsname"));
    layout.delimiter = table.columnDelimiter.toLatin1().at(0);
    layout.encapsulator = table.textEncapsulator.toLatin1().at(0);
    layout.decimalSymbol = table.decimalSymbol.toLatin1().at(0);
    layout.digitGroupingSymbol = table.digitGroupingSymbol.toLatin1().at(0);
    return layout;
}

} // namespace

const TableLayout &TableLayout::ofExports()
{
    static const TableLayout layout = layoutOfLibraryExports();
    return layout;
}

QStringList TableLayout::descriptionFiles()
{
    return {QStringLiteral("index.xml"), QStringLiteral("gdpdu-01-09-2004.dtd")};
}

// Sums are taken in cents: digits beyond the second are dropped, as the amounts are given to the
// cent. Digit grouping symbols may stand anywhere in the whole part.
bool TableLayout::cents(const char *value, int size, qint64 *cents) const
{
    const char *at = value;
    const char *const end = value + size;
    const bool negative = at != end && *at == '-';
    at += negative;
    qint64 whole = 0;
    int wholeDigits = 0;
    for (; at != end && *at != decimalSymbol; ++at) {
        if (*at == digitGroupingSymbol)
            continue;
        if (*at < '0' || *at > '9' || ++wholeDigits > 15)
            return false;
        whole = whole * 10 + (*at - '0');
    }
    if (wholeDigits == 0)
        return false;
    int fraction = 0;
    int fractionDigits = 0;
    if (at != end) {
        for (++at; at != end; ++at) {
            if (*at < '0' || *at > '9')
                return false;
            if (++fractionDigits <= 2)
                fraction = fraction * 10 + (*at - '0');
        }
        if (fractionDigits == 0)
            return false;
    }
    if (fractionDigits == 1)
        fraction *= 10;
    *cents = (negative ? -1 : 1) * (whole * 100 + fraction);
    return true;
}

} // namespace fiscora::app
