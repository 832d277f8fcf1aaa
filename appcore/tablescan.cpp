#include "tablescan.h"

#include "linereader.h"
#include "tableformat.h"
#include "tablerow.h"

#include <QFile>
#include <QTemporaryDir>

namespace fiscora::app {

namespace {

QByteArray rowWithout(const QByteArray &line)
{
    int end = line.size();
    while (end > 0 && (line.at(end - 1) == '\n' || line.at(end - 1) == '\r'))
        --end;
    return line.left(end);
}

// The description is read by the same reader that verifies exports; it needs the DTD beside it
// on disk, so both resources are copied out once.
TableLayout layoutOfLibraryExports()
{
    QTemporaryDir folder;
    for (const char *name : {"index.xml", "gdpdu-01-09-2004.dtd"})
        QFile::copy(QStringLiteral(":/") + QLatin1String(name), folder.filePath(QLatin1String(name)));
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

QList<QByteArray> TableLayout::fields(const QByteArray &row) const
{
    const QList<QByteArray> fields = splitRow(rowWithout(row), delimiter, encapsulator);
    return fields.size() == columnCount ? fields : QList<QByteArray>();
}

QDate TableLayout::date(const QList<QByteArray> &fields) const
{
    return QDate::fromString(QString::fromLatin1(fields.value(dateColumn)), QStringLiteral("dd.MM.yyyy"));
}

bool TableLayout::amountCents(const QList<QByteArray> &fields, qint64 *cents) const
{
    const QByteArray field = fields.value(amountColumn);
    return this->cents(field.constData(), field.size(), cents);
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

bool TableTotals::add(const QString &path, const TableLayout &layout)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    LineReader lines(&file, '\n', TableLayout::LongestRow);
    QByteArray line;
    while (lines.readLine(&line)) {
        const QList<QByteArray> fields = layout.fields(line);
        const QDate date = layout.date(fields);
        if (!date.isValid()) {
            ++unreadableRows;
            continue;
        }
        MonthTotals &month = months[QDate(date.year(), date.month(), 1)];
        ++month.records;
        qint64 cents = 0;
        if (layout.amountCents(fields, &cents))
            month.amountCents += cents;
        else
            ++unreadableAmounts;
    }
    return !lines.hasError();
}

qint64 TableTotals::records() const
{
    qint64 records = 0;
    for (const MonthTotals &month : months)
        records += month.records;
    return records;
}

QList<QDate> TableTotals::reportMonths(const IndexFileAnalyser &analyser, const QDate &firstMonth,
                                       const QDate &lastMonth) const
{
    const bool period = firstMonth.isValid();
    QDate first = firstMonth;
    QDate last = lastMonth.isValid() ? lastMonth : firstMonth;
    if (!period && !months.isEmpty()) {
        first = months.firstKey();
        last = months.lastKey();
    }
    QList<QDate> shown;
    for (QDate month = first; month.isValid() && month <= last; month = month.addMonths(1))
        shown.append(month);
    const QMap<QDate, IndexFileAnalyser::IndexStatus> indexMap = analyser.getIndexMap();
    for (auto month = indexMap.cbegin(); !period && month != indexMap.cend(); ++month) {
        const bool problem = *month == IndexFileAnalyser::INDEX_ERROR_FILE_MISSING
            || *month == IndexFileAnalyser::INDEX_ERROR_FILE_EXIST;
        if (problem && !shown.contains(month.key()))
            shown.append(month.key());
    }
    std::sort(shown.begin(), shown.end());
    return shown;
}

} // namespace fiscora::app
