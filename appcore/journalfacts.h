#ifndef FISCORA_APP_JOURNALFACTS_H
#define FISCORA_APP_JOURNALFACTS_H

#include "numberset.h"
#include "rowsink.h"
#include "tablelayout.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

#include <atomic>
#include <map>
#include <utility>
#include <vector>

class QIODevice;

namespace fiscora::app {

//! A row that is no record an auditor's import reads whole.
struct DamagedRow
{
    RowPlace place;
    //! The row's Zeilennummer, or -1 when it cannot be read.
    qint64 lineNumber = -1;
    //! The first column whose value cannot be read; nothing when the row has the wrong number of fields.
    QString column;
};

//! What the rows of a month, a day or a whole period hold.
struct PeriodSums
{
    qint64 rows = 0;
    qint64 damagedRows = 0;
    qint64 betragCents = 0;
    qint64 steuerCents = 0;
    //! Rows whose Betrag cannot be read: betragCents leaves them out.
    qint64 unreadableAmounts = 0;
    //! Receipts begun: rows whose Bonnummer differs from that of the row before.
    qint64 receipts = 0;
    //! Seconds since midnight of the earliest and the latest row with a time; -1 without one.
    int firstTime = -1;
    int lastTime = -1;
};

/*!
 * The journal's facts, in one pass over the rows of a table file: per month and day the rows, the
 * damaged ones and the sums of Betrag and Steuer, the numbering of lines and receipts with its
 * gaps, repeats and backward steps, and sums per Buchungstyp and StKz. With a period, only its
 * rows count towards the figures; those outside are summed up apart, and the period's rows can be
 * copied into a table of their own on the way. A row without a date of its own belongs where the
 * row before it belongs (at the start, where the first row with a date belongs). The numbering is
 * taken over every row read, so that a gap at the edge of the period shows as one.
 *
 * Rows are read as bytes, their fields by position, dates and numbers parsed by hand, so that the
 * pass keeps up with the disk.
 *
 * \code
 * JournalFacts facts(TableLayout::ofExports(), QDate(2019, 1, 1), QDate(2019, 3, 1));
 * if (!facts.addFile(table, &periodTable, &stop))
 *     fail(facts.errorString());
 * report(facts.months(), facts.lineNumbers());
 * \endcode
 */
class JournalFacts
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::app::JournalFacts)

public:
    //! Damaged rows kept with their places; the others are only counted.
    static constexpr int DamagedRowsKept = 100;

    //! The rows of the months from \a firstMonth to \a lastMonth (invalid: that one month);
    //! without \a firstMonth every row.
    explicit JournalFacts(const TableLayout &layout = TableLayout::ofExports(), const QDate &firstMonth = QDate(),
                          const QDate &lastMonth = QDate());

    /*!
     * Reads the table file \a path. With \a periodTable, the rows of the period go there as they
     * stand, and with \a keepFirstLine the file's first line whatever its date (the INDEX_INFO
     * line, which is no row). Returns false when a file cannot be read or written, errorString()
     * saying why, or once \a stop is set.
     */
    bool addFile(const QString &path, QIODevice *periodTable = nullptr, const std::atomic_bool *stop = nullptr,
                 bool keepFirstLine = false);
    //! The same for the table that \a table reads, which is open.
    bool addDevice(QIODevice &table, QIODevice *periodTable = nullptr, const std::atomic_bool *stop = nullptr,
                   bool keepFirstLine = false);
    /*!
     * Asks for the places of the rows \a sourceRows of the table read (counted from 1, without
     * the INDEX_INFO line), beside those asked for before, before the rows are read; located()
     * gives them after.
     */
    void locate(const QList<qint64> &sourceRows);
    QMap<qint64, RowPlace> located() const { return m_located; }
    //! Hands every record of the period to \a sink as well, from the next row on; nullptr for none.
    void setRowSink(RowSink *sink) { m_sink = sink; }

    bool hasPeriod() const { return m_first.isValid(); }
    QDate firstMonth() const { return m_first; }
    //! The first day of the period's last month.
    QDate lastMonth() const { return m_end.addMonths(-1); }

    //! The rows read, in the period and outside.
    qint64 rowsRead() const { return m_rowsRead; }
    //! The rows of the period.
    const PeriodSums &total() const { return m_total; }
    //! The rows outside the period.
    const PeriodSums &outside() const { return m_outside; }
    const QMap<QDate, PeriodSums> &months() const { return m_months; }
    const QMap<QDate, PeriodSums> &days() const { return m_days; }
    //! The first damaged rows of the period; total().damagedRows counts them all.
    const QList<DamagedRow> &damagedRows() const { return m_damaged; }
    //! The numbering of the rows (Zeilennummer) and of the receipts (Bonnummer), register by register.
    QMap<QByteArray, Numbering> lineNumbers() const;
    QMap<QByteArray, Numbering> receiptNumbers() const;
    //! The numbers missing from the rows of the period, of every register, with \a edges those
    //! at its edges too.
    qint64 missingLines(bool edges = false) const;
    //! Sums of Betrag per Buchungstyp and of Steuer per StKz, over the period's rows.
    QMap<QByteArray, qint64> betragByBookingType() const;
    QMap<QByteArray, qint64> steuerByTaxCode() const;

    QString errorString() const { return m_errorString; }

private:
    struct Row;
    //! The last date field read, and its date.
    struct DateCache
    {
        char bytes[10] = {};
        QDate date;
    };

    /*!
     * Takes the row \a line of \a length bytes, without its line feed; into \a out, followed by
     * a line feed with \a lineEnd, when it lies in the period. False when \a out cannot take it.
     */
    bool addRow(const char *line, int length, QIODevice *out, bool lineEnd);
    //! Settles the rows that wait for a date, and writes out what the period's rows left.
    bool finish(QIODevice *out);
    bool settleWaiting(bool inPeriod, QIODevice *out);
    void count(const Row &row);
    JournalRow sunk(const Row &row) const;
    void addTo(PeriodSums &sums, const Row &row, const RowPlace &place, bool newReceipt) const;
    bool inPeriod(const QDate &date) const;
    bool write(QIODevice *out, const char *bytes, int length, bool lineEnd);
    bool flush(QIODevice *out);

    const TableLayout m_layout;
    const QDate m_first;
    const QDate m_end;
    qint64 m_rowsRead = 0;
    PeriodSums m_total;
    PeriodSums m_outside;
    QMap<QDate, PeriodSums> m_months;
    QMap<QDate, PeriodSums> m_days;
    QList<DamagedRow> m_damaged;
    std::map<QByteArray, NumberSet> m_lines;
    std::map<QByteArray, NumberSet> m_receipts;
    //! Few kinds each: looked up by their bytes, without a key made for every row.
    std::vector<std::pair<QByteArray, qint64>> m_betragByType;
    std::vector<std::pair<QByteArray, qint64>> m_steuerByTaxCode;
    //! The last row with a date: a row without one goes where it went.
    QDate m_lastDate;
    bool m_lastInPeriod = false;
    //! Rows before the first row with a date, with their line feed; they wait for it to tell
    //! their period.
    QByteArrayList m_waiting;
    QByteArray m_lastReceipt;
    DateCache m_dates;
    //! Where the rows of the last day and of the last register went, so that the next rows of
    //! the same go there without a look-up. A copy of the facts looks them up in its own maps.
    struct LastEntries
    {
        QDate date;
        PeriodSums *month = nullptr;
        PeriodSums *day = nullptr;
        QByteArray registerNumber;
        NumberSet *lines = nullptr;
        NumberSet *receipts = nullptr;

        LastEntries() = default;
        LastEntries(const LastEntries &) {}
        LastEntries &operator=(const LastEntries &)
        {
            month = day = nullptr;
            lines = receipts = nullptr;
            return *this;
        }
    };
    LastEntries m_last;
    //! The rows asked for, in their order, and the next of them to come.
    QList<qint64> m_locate;
    int m_nextLocated = 0;
    QMap<qint64, RowPlace> m_located;
    RowSink *m_sink = nullptr;
    //! The period's rows, gathered for a write of their own: rows one by one would cost a call each.
    QByteArray m_periodRows;
    QString m_errorString;
};

} // namespace fiscora::app

#endif // FISCORA_APP_JOURNALFACTS_H
