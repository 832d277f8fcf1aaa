#include "journalfacts.h"

#include "linereader.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>

namespace fiscora::app {

namespace {

// Rows between two looks at the stop request.
constexpr qint64 RowsBetweenStopChecks = 4096;

struct View
{
    const char *data = nullptr;
    int size = 0;

    bool isEmpty() const { return size == 0; }
    QByteArray bytes() const { return QByteArray(data, size); }
    // An empty view may point nowhere, which memcmp must not be given.
    bool equals(const QByteArray &other) const
    {
        return size == other.size() && (size == 0 || std::memcmp(data, other.constData(), size_t(size)) == 0);
    }
};

bool digitsOnly(const char *begin, const char *end)
{
    if (begin == end)
        return false;
    for (; begin != end; ++begin) {
        if (*begin < '0' || *begin > '9')
            return false;
    }
    return true;
}

int digitsValue(const char *begin, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i)
        value = value * 10 + (begin[i] - '0');
    return value;
}

// A number of the numbering, digits only and at most 18 of them; -1 otherwise.
qint64 numberOf(const View &field)
{
    if (field.size > 18 || !digitsOnly(field.data, field.data + field.size))
        return -1;
    qint64 value = 0;
    for (int i = 0; i < field.size; ++i)
        value = value * 10 + (field.data[i] - '0');
    return value;
}

// "DD.MM.YYYY", and a day of the calendar.
QDate dateOf(const View &field)
{
    const char *d = field.data;
    if (field.size != 10 || d[2] != '.' || d[5] != '.' || !digitsOnly(d, d + 2) || !digitsOnly(d + 3, d + 5)
        || !digitsOnly(d + 6, d + 10))
        return QDate();
    return QDate(digitsValue(d + 6, 4), digitsValue(d + 3, 2), digitsValue(d, 2));
}

// "hh:mm:ss" as seconds since midnight; -1 otherwise.
int timeOf(const View &field)
{
    const char *t = field.data;
    if (field.size != 8 || t[2] != ':' || t[5] != ':' || !digitsOnly(t, t + 2) || !digitsOnly(t + 3, t + 5)
        || !digitsOnly(t + 6, t + 8))
        return -1;
    const int hours = digitsValue(t, 2);
    const int minutes = digitsValue(t + 3, 2);
    const int seconds = digitsValue(t + 6, 2);
    return hours < 24 && minutes < 60 && seconds < 60 ? (hours * 60 + minutes) * 60 + seconds : -1;
}

QDate monthOf(const QDate &date)
{
    return QDate(date.year(), date.month(), 1);
}

void widen(PeriodSums &sums, int time)
{
    if (time < 0)
        return;
    if (sums.firstTime < 0 || time < sums.firstTime)
        sums.firstTime = time;
    if (time > sums.lastTime)
        sums.lastTime = time;
}

} // namespace

// The fields of a row that the facts read, by position, as views into the row's bytes.
struct JournalFacts::Row
{
    enum Slot {
        Register, LineNumber, Date, Time, Receipt, BookingType, Betrag, Steuer, TaxCode,
        Operator, FunctionType, FunctionName, SlotCount
    };

    std::array<View, SlotCount> fields;
    int fieldCount = 0;
    QDate date;
    int time = -1;
    qint64 lineNumber = -1;
    qint64 receipt = -1;
    qint64 betragCents = 0;
    qint64 steuerCents = 0;
    bool betragRead = false;
    //! The first column that cannot be read; nullptr when the row is a record, "" for the wrong
    //! number of fields.
    const char *fault = nullptr;

    Row(const char *bytes, int length, const TableLayout &layout);

private:
    void split(const char *bytes, int length, const TableLayout &layout);
    void judge(const TableLayout &layout);
};

JournalFacts::Row::Row(const char *bytes, int length, const TableLayout &layout)
{
    split(bytes, length, layout);
    judge(layout);
}

void JournalFacts::Row::split(const char *bytes, int length, const TableLayout &layout)
{
    const std::array<int, SlotCount> columns = {layout.registerColumn, layout.lineNumberColumn, layout.dateColumn,
                                                layout.timeColumn,     layout.receiptColumn,    layout.bookingTypeColumn,
                                                layout.amountColumn,   layout.taxColumn,        layout.taxCodeColumn,
                                                layout.operatorColumn, layout.functionTypeColumn,
                                                layout.functionNameColumn};
    const char *const end = bytes + length;
    const char *at = bytes;
    for (;; ++fieldCount) {
        const char *begin = at;
        const char *stop = nullptr;
        if (at != end && *at == layout.encapsulator) {
            // Up to the closing encapsulator; a doubled one stands for one and stays in the view.
            const char *close = at + 1;
            while ((close = static_cast<const char *>(std::memchr(close, layout.encapsulator, size_t(end - close))))
                   && close + 1 != end && close[1] == layout.encapsulator)
                close += 2;
            begin = at + 1;
            stop = close ? close : end;
            at = close ? close + 1 : end;
            at = static_cast<const char *>(std::memchr(at, layout.delimiter, size_t(end - at)));
        } else {
            at = static_cast<const char *>(std::memchr(at, layout.delimiter, size_t(end - at)));
            stop = at ? at : end;
        }
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (columns[slot] == fieldCount)
                fields[slot] = {begin, int(stop - begin)};
        }
        if (!at) {
            ++fieldCount;
            return;
        }
        ++at;
    }
}

void JournalFacts::Row::judge(const TableLayout &layout)
{
    date = dateOf(fields[Date]);
    time = timeOf(fields[Time]);
    lineNumber = numberOf(fields[LineNumber]);
    receipt = numberOf(fields[Receipt]);
    betragRead = layout.cents(fields[Betrag].data, fields[Betrag].size, &betragCents);
    const bool steuerRead = layout.cents(fields[Steuer].data, fields[Steuer].size, &steuerCents);
    if (fieldCount != layout.columnCount)
        fault = "";
    else if (!date.isValid())
        fault = "Datum";
    else if (lineNumber < 0)
        fault = "Zeilennummer";
    else if (!fields[Time].isEmpty() && time < 0)
        fault = "Uhrzeit";
    else if (!fields[Betrag].isEmpty() && !betragRead)
        fault = "Betrag";
    else if (!fields[Steuer].isEmpty() && !steuerRead)
        fault = "Steuer";
}

JournalFacts::JournalFacts(const TableLayout &layout, const QDate &firstMonth, const QDate &lastMonth)
    : m_layout(layout)
    , m_first(firstMonth.isValid() ? monthOf(firstMonth) : QDate())
    , m_end(firstMonth.isValid() ? monthOf(lastMonth.isValid() ? lastMonth : firstMonth).addMonths(1) : QDate())
{
}

bool JournalFacts::addFile(const QString &path, QIODevice *periodTable, const std::atomic_bool *stop, bool keepFirstLine)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errorString = file.errorString();
        return false;
    }
    LineReader lines(&file, '\n', TableLayout::LongestRow);
    QByteArray line;
    while (lines.readLine(&line)) {
        if (lines.lineNumber() % RowsBetweenStopChecks == 0 && stop && *stop)
            return false;
        const bool written = keepFirstLine && lines.lineNumber() == 1
            ? write(periodTable, line.constData(), line.size(), lines.ended())
            : addRow(line.constData(), line.size(), periodTable, lines.ended());
        if (!written)
            return false;
    }
    if (lines.hasError()) {
        m_errorString = file.errorString();
        return false;
    }
    return finish(periodTable);
}

bool JournalFacts::addRow(const char *line, int length, QIODevice *out, bool lineEnd)
{
    // A row of the table ends with "\r\n"; the carriage return is no part of its last field.
    const Row row(line, length - int(length > 0 && line[length - 1] == '\r'), m_layout);
    if (row.date.isValid()) {
        if (!settleWaiting(inPeriod(row.date), out))
            return false;
        m_lastDate = row.date;
    } else if (!m_lastDate.isValid()) {
        m_waiting.append(QByteArray(line, length) + (lineEnd ? "\n" : ""));
        return true;
    }
    count(row);
    return !m_lastInPeriod || write(out, line, length, lineEnd);
}

void JournalFacts::locate(QList<qint64> sourceRows)
{
    std::sort(sourceRows.begin(), sourceRows.end());
    sourceRows.erase(std::unique(sourceRows.begin(), sourceRows.end()), sourceRows.end());
    m_locate = sourceRows;
    m_nextLocated = 0;
}

bool JournalFacts::finish(QIODevice *out)
{
    // Rows of which none has a date lie in no period but the whole table.
    return settleWaiting(!hasPeriod(), out);
}

// Rows before the first row with a date go where it goes.
bool JournalFacts::settleWaiting(bool inPeriod, QIODevice *out)
{
    m_lastInPeriod = inPeriod;
    const QByteArrayList waiting = m_waiting;
    m_waiting.clear();
    for (const QByteArray &bytes : waiting) {
        const bool lineEnd = bytes.endsWith('\n');
        const int length = bytes.size() - int(lineEnd);
        count(Row(bytes.constData(), length - int(length > 0 && bytes.at(length - 1) == '\r'), m_layout));
        if (inPeriod && !write(out, bytes.constData(), length, lineEnd))
            return false;
    }
    return true;
}

void JournalFacts::count(const Row &row)
{
    ++m_rowsRead;
    RowPlace place;
    place.sourceRow = m_rowsRead;
    place.date = row.date;
    place.time = row.time;
    place.inPeriod = m_lastInPeriod;
    PeriodSums &sums = place.inPeriod ? m_total : m_outside;
    place.row = place.inPeriod ? sums.rows + 1 : m_rowsRead;
    // Rows come in their order, and so do the rows asked for.
    while (m_nextLocated < m_locate.size() && m_locate.at(m_nextLocated) < m_rowsRead)
        ++m_nextLocated;
    if (m_nextLocated < m_locate.size() && m_locate.at(m_nextLocated) == m_rowsRead)
        m_located.insert(m_rowsRead, place);
    const QByteArray registerNumber = row.fields[Row::Register].bytes();
    if (row.lineNumber >= 0)
        m_lines[registerNumber].add(row.lineNumber, place);
    if (row.receipt >= 0)
        m_receipts[registerNumber].add(row.receipt, place);
    const bool newReceipt = !row.fields[Row::Receipt].equals(m_lastReceipt);
    if (newReceipt)
        m_lastReceipt = row.fields[Row::Receipt].bytes();
    addTo(sums, row, place, newReceipt);
    if (!place.inPeriod)
        return;
    addTo(m_months[monthOf(m_lastDate)], row, place, newReceipt);
    if (row.date.isValid())
        addTo(m_days[row.date], row, place, newReceipt);
    if (row.fault && m_damaged.size() < DamagedRowsKept)
        m_damaged.append({place, row.lineNumber, QLatin1String(row.fault)});
    if (row.fault)
        return;
    m_betragByType[row.fields[Row::BookingType].bytes()] += row.betragCents;
    m_steuerByTaxCode[row.fields[Row::TaxCode].bytes()] += row.steuerCents;
    if (m_sink)
        m_sink->take(sunk(row));
}

JournalRow JournalFacts::sunk(const Row &row) const
{
    const auto view = [&](Row::Slot slot) { return FieldView{row.fields[slot].data, row.fields[slot].size}; };
    JournalRow sunk;
    sunk.bookingType = view(Row::BookingType);
    sunk.functionType = view(Row::FunctionType);
    sunk.functionName = view(Row::FunctionName);
    sunk.operatorNumber = view(Row::Operator);
    sunk.taxCode = view(Row::TaxCode);
    sunk.date = row.date;
    sunk.time = row.time;
    sunk.lineNumber = row.lineNumber;
    sunk.receipt = row.receipt;
    sunk.betragCents = row.betragCents;
    sunk.betragRead = row.betragRead;
    sunk.steuerCents = row.steuerCents;
    return sunk;
}

void JournalFacts::addTo(PeriodSums &sums, const Row &row, const RowPlace &place, bool newReceipt) const
{
    ++sums.rows;
    sums.damagedRows += row.fault != nullptr;
    sums.receipts += newReceipt;
    if (row.betragRead)
        sums.betragCents += row.betragCents;
    else
        ++sums.unreadableAmounts;
    sums.steuerCents += row.steuerCents;
    widen(sums, place.time);
}

bool JournalFacts::inPeriod(const QDate &date) const
{
    return !hasPeriod() || (date >= m_first && date < m_end);
}

bool JournalFacts::write(QIODevice *out, const char *bytes, int length, bool lineEnd)
{
    if (!out || (out->write(bytes, length) == length && (!lineEnd || out->putChar('\n'))))
        return true;
    m_errorString = out->errorString();
    return false;
}

QMap<QByteArray, Numbering> JournalFacts::lineNumbers() const
{
    QMap<QByteArray, Numbering> numberings;
    for (const auto &numbers : m_lines)
        numberings.insert(numbers.first, numbers.second.numbering(true));
    return numberings;
}

QMap<QByteArray, Numbering> JournalFacts::receiptNumbers() const
{
    QMap<QByteArray, Numbering> numberings;
    for (const auto &numbers : m_receipts)
        numberings.insert(numbers.first, numbers.second.numbering(false));
    return numberings;
}

qint64 JournalFacts::missingLines(bool edges) const
{
    qint64 missing = 0;
    for (const Numbering &numbering : lineNumbers())
        missing += numbering.missing(edges);
    return missing;
}

} // namespace fiscora::app
