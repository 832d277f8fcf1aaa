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
// The period's rows go out in pieces of about this size.
constexpr int PeriodRowsWritten = 1 << 20;

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

qint64 &sumOf(std::vector<std::pair<QByteArray, qint64>> &sums, const View &key)
{
    const auto found = std::find_if(sums.begin(), sums.end(), [&](const auto &sum) { return key.equals(sum.first); });
    if (found != sums.end())
        return found->second;
    sums.emplace_back(key.bytes(), 0);
    return sums.back().second;
}

QMap<QByteArray, qint64> sumsByKey(const std::vector<std::pair<QByteArray, qint64>> &sums)
{
    QMap<QByteArray, qint64> byKey;
    for (const auto &sum : sums)
        byKey.insert(sum.first, sum.second);
    return byKey;
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

    Row(const char *bytes, int length, const TableLayout &layout, DateCache &dates);

private:
    void split(const char *bytes, int length, const TableLayout &layout);
    void judge(const TableLayout &layout, DateCache &dates);
};

JournalFacts::Row::Row(const char *bytes, int length, const TableLayout &layout, DateCache &dates)
{
    split(bytes, length, layout);
    judge(layout, dates);
}

void JournalFacts::Row::split(const char *bytes, int length, const TableLayout &layout)
{
    const std::array<int, SlotCount> columns = {layout.registerColumn, layout.lineNumberColumn, layout.dateColumn,
                                                layout.timeColumn,     layout.receiptColumn,    layout.bookingTypeColumn,
                                                layout.amountColumn,   layout.taxColumn,        layout.taxCodeColumn,
                                                layout.operatorColumn, layout.functionTypeColumn,
                                                layout.functionNameColumn};
    // Which slot each of the first columns fills, so that a field is placed with one look.
    std::array<signed char, 64> slotOf;
    slotOf.fill(-1);
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (columns[slot] >= 0 && columns[slot] < int(slotOf.size()))
            slotOf[size_t(columns[slot])] = static_cast<signed char>(slot);
    }
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
            // Fields are short: a plain loop finds their end sooner than a call of memchr.
            while (at != end && *at != layout.delimiter)
                ++at;
            stop = at;
            at = at != end ? at : nullptr;
        }
        if (fieldCount < int(slotOf.size()) && slotOf[size_t(fieldCount)] >= 0)
            fields[size_t(slotOf[size_t(fieldCount)])] = {begin, int(stop - begin)};
        if (!at) {
            ++fieldCount;
            return;
        }
        ++at;
    }
}

void JournalFacts::Row::judge(const TableLayout &layout, DateCache &dates)
{
    // Rows come day by day: the date of the row before is mostly the date of the next.
    const View &day = fields[Date];
    constexpr int DateSize = int(sizeof(dates.bytes));
    if (day.size != DateSize || std::memcmp(day.data, dates.bytes, size_t(DateSize)) != 0) {
        dates.date = dateOf(day);
        if (day.size == DateSize)
            std::memcpy(dates.bytes, day.data, size_t(DateSize));
        else
            std::fill(std::begin(dates.bytes), std::end(dates.bytes), '\0');
    }
    date = dates.date;
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
    return addDevice(file, periodTable, stop, keepFirstLine);
}

bool JournalFacts::addDevice(QIODevice &table, QIODevice *periodTable, const std::atomic_bool *stop, bool keepFirstLine)
{
    LineReader lines(&table, '\n', TableLayout::LongestRow);
    const char *line = nullptr;
    int length = 0;
    while (lines.readLine(&line, &length)) {
        if (lines.lineNumber() % RowsBetweenStopChecks == 0 && stop && *stop)
            return false;
        const bool written = keepFirstLine && lines.lineNumber() == 1
            ? write(periodTable, line, length, lines.ended())
            : addRow(line, length, periodTable, lines.ended());
        if (!written)
            return false;
    }
    if (lines.hasError()) {
        m_errorString = table.errorString();
        return false;
    }
    return finish(periodTable);
}

bool JournalFacts::addRow(const char *line, int length, QIODevice *out, bool lineEnd)
{
    // A row of the table ends with "\r\n"; the carriage return is no part of its last field.
    const Row row(line, length - int(length > 0 && line[length - 1] == '\r'), m_layout, m_dates);
    if (row.date.isValid()) {
        // The rows waiting for a date take this one's month.
        m_lastDate = row.date;
        if (!settleWaiting(inPeriod(row.date), out))
            return false;
    } else if (!m_lastDate.isValid()) {
        m_waiting.append(QByteArray(line, length) + (lineEnd ? "\n" : ""));
        return true;
    }
    count(row);
    return !m_lastInPeriod || write(out, line, length, lineEnd);
}

void JournalFacts::locate(const QList<qint64> &sourceRows)
{
    m_locate += sourceRows;
    std::sort(m_locate.begin(), m_locate.end());
    m_locate.erase(std::unique(m_locate.begin(), m_locate.end()), m_locate.end());
    m_nextLocated = 0;
}

bool JournalFacts::finish(QIODevice *out)
{
    // Rows of which none has a date lie in no period but the whole table.
    return settleWaiting(!hasPeriod(), out) && flush(out);
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
        count(Row(bytes.constData(), length - int(length > 0 && bytes.at(length - 1) == '\r'), m_layout, m_dates));
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
    const View &registerNumber = row.fields[Row::Register];
    if (!m_last.lines || !registerNumber.equals(m_last.registerNumber)) {
        m_last.registerNumber = registerNumber.bytes();
        m_last.lines = &m_lines[m_last.registerNumber];
        m_last.receipts = &m_receipts[m_last.registerNumber];
    }
    if (row.lineNumber >= 0)
        m_last.lines->add(row.lineNumber, place);
    if (row.receipt >= 0)
        m_last.receipts->add(row.receipt, place);
    const bool newReceipt = !row.fields[Row::Receipt].equals(m_lastReceipt);
    if (newReceipt) {
        // Reserved room is kept, so that a receipt number costs no allocation.
        const View &receipt = row.fields[Row::Receipt];
        m_lastReceipt.reserve(receipt.size);
        m_lastReceipt.resize(receipt.size);
        if (receipt.size > 0)
            std::memcpy(m_lastReceipt.data(), receipt.data, size_t(receipt.size));
    }
    addTo(sums, row, place, newReceipt);
    if (!place.inPeriod)
        return;
    if (!m_last.month || m_last.date != m_lastDate) {
        // The maps' entries stay where they are while others are added.
        m_last.date = m_lastDate;
        m_last.month = &m_months[monthOf(m_lastDate)];
        m_last.day = nullptr;
    }
    addTo(*m_last.month, row, place, newReceipt);
    if (row.date.isValid()) {
        if (!m_last.day)
            m_last.day = &m_days[row.date];
        addTo(*m_last.day, row, place, newReceipt);
    }
    if (row.fault && m_damaged.size() < DamagedRowsKept)
        m_damaged.append({place, row.lineNumber, QLatin1String(row.fault)});
    if (row.fault)
        return;
    sumOf(m_betragByType, row.fields[Row::BookingType]) += row.betragCents;
    sumOf(m_steuerByTaxCode, row.fields[Row::TaxCode]) += row.steuerCents;
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
    if (!out)
        return true;
    m_periodRows.append(bytes, length);
    if (lineEnd)
        m_periodRows.append('\n');
    return m_periodRows.size() < PeriodRowsWritten || flush(out);
}

bool JournalFacts::flush(QIODevice *out)
{
    const bool written = !out || out->write(m_periodRows) == m_periodRows.size();
    if (!written)
        m_errorString = out->errorString();
    m_periodRows.resize(0);
    return written;
}

QMap<QByteArray, qint64> JournalFacts::betragByBookingType() const
{
    return sumsByKey(m_betragByType);
}

QMap<QByteArray, qint64> JournalFacts::steuerByTaxCode() const
{
    return sumsByKey(m_steuerByTaxCode);
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
