#include "tablescan.h"

#include "tablerow.h"

#include <QFile>

namespace fiscora::app {

namespace {

constexpr qint64 PieceSize = 1024 * 1024;

QByteArray rowWithout(const QByteArray &line)
{
    int end = line.size();
    while (end > 0 && (line.at(end - 1) == '\n' || line.at(end - 1) == '\r'))
        --end;
    return line.left(end);
}

bool allDigits(const QByteArray &text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return !text.isEmpty();
}

} // namespace

TableLayout TableLayout::ofExports()
{
    TableLayout layout;
    layout.dateColumn = 3;
    layout.amountColumn = 17;
    return layout;
}

QDate TableLayout::date(const QByteArray &row) const
{
    const QByteArray field = splitRow(rowWithout(row), delimiter, encapsulator).value(dateColumn);
    return QDate::fromString(QString::fromLatin1(field), QStringLiteral("dd.MM.yyyy"));
}

bool TableLayout::amountCents(const QByteArray &row, qint64 *cents) const
{
    QByteArray field = splitRow(rowWithout(row), delimiter, encapsulator).value(amountColumn);
    const bool negative = field.startsWith('-');
    field = field.mid(negative ? 1 : 0).replace(digitGroupingSymbol, QByteArray());
    const int decimal = field.indexOf(decimalSymbol);
    const QByteArray whole = decimal < 0 ? field : field.left(decimal);
    const QByteArray fraction = decimal < 0 ? QByteArray() : field.mid(decimal + 1);
    // Sums in cents: digits beyond the second are dropped, as the amounts are given to the cent.
    if (!allDigits(whole) || (decimal >= 0 && !allDigits(fraction)) || whole.size() > 15)
        return false;
    const qint64 value = whole.toLongLong() * 100 + fraction.left(2).leftJustified(2, '0').toLongLong();
    *cents = negative ? -value : value;
    return true;
}

bool forEachLine(QIODevice &device, const std::function<bool(const QByteArray &line)> &take)
{
    QByteArray rest;
    while (!device.atEnd()) {
        const QByteArray piece = device.read(PieceSize);
        if (piece.isEmpty())
            return false;
        rest += piece;
        int start = 0;
        for (int end = rest.indexOf('\n'); end >= 0; start = end + 1, end = rest.indexOf('\n', start)) {
            if (!take(rest.mid(start, end + 1 - start)))
                return true;
        }
        rest.remove(0, start);
    }
    // A last line without its line feed is a line all the same.
    if (!rest.isEmpty())
        take(rest);
    return true;
}

bool TableTotals::add(const QString &path, const TableLayout &layout)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return forEachLine(file, [&](const QByteArray &line) {
        const QDate date = layout.date(line);
        if (!date.isValid()) {
            ++undatedRows;
            return true;
        }
        MonthTotals &month = months[QDate(date.year(), date.month(), 1)];
        ++month.records;
        qint64 cents = 0;
        if (layout.amountCents(line, &cents))
            month.amountCents += cents;
        else
            ++unreadableAmounts;
        return true;
    });
}

qint64 TableTotals::records() const
{
    qint64 records = 0;
    for (const MonthTotals &month : months)
        records += month.records;
    return records;
}

} // namespace fiscora::app
