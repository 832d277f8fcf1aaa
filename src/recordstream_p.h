#ifndef FISCORA_RECORDSTREAM_P_H
#define FISCORA_RECORDSTREAM_P_H

#include "recordwindow_p.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <atomic>

namespace fiscora {

class AtomicFile;
class JobReport;
class TableTap;

//! A piece of a record stream as the caller holds it in memory.
struct StreamView
{
    const char *data; //!< the byte at stream offset begin
    qint64 begin;
    qint64 end;       //!< the stream offset behind the last byte held
    bool atEnd;       //!< no bytes follow end

    const char *at(qint64 offset) const { return data + (offset - begin); }
};

/*!
 * One pass over a stream of encrypted records: each record is decrypted, its line checked and,
 * where damaged, its readable part salvaged, and the lines are written into the table file.
 * Progress, line messages and failures go to \a report, in the texts of the decryptor.
 *
 * The stream may come in pieces, each starting no later than keepFrom() of the piece before:
 *
 * \code
 * RecordStream stream(report, stopRequested, skipLineCheck);
 * AtomicFile table(tableFile);
 * bool ok = stream.begin(table, size, header);
 * for (each piece, until the last) ok = ok && stream.take(piece);
 * ok = ok && stream.end() && table.commit();
 * \endcode
 *
 * After a record that fails the line check the pass looks for the next record start, so that
 * damage costs only the damaged records: first where the failed record's line ends, then at any
 * byte. What could not be read is said once, at the end of the pass.
 */
class RecordStream
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::KTLCypher)

public:
    RecordStream(JobReport &report, const std::atomic_bool &stopRequested, bool skipLineCheck);

    /*!
     * Starts a pass over \a size bytes of records into \a output, which it opens, and writes
     * \a header first. False after a failure has been reported.
     */
    bool begin(AtomicFile &output, qint64 size, const QByteArray &header);
    //! The same, the lines going to \a tap instead of a file.
    void begin(TableTap &tap, qint64 size, const QByteArray &header);

    //! Takes the records that \a view holds. False after a failure or a stop has been reported.
    bool take(const StreamView &view);

    //! The first stream offset that the next piece must hold.
    qint64 keepFrom() const;

    /*!
     * Writes out the last lines and finishes the output, then says what could not be read.
     * False after a failure has been reported.
     */
    bool end();

    //! Puts the finished output in place of its file; false after a failure has been reported.
    bool commit();

private:
    void start(qint64 size);
    bool canTake(const StreamView &view) const;
    void takeRecord(const StreamView &view);
    void takeFailedRecord(const StreamView &view, int length, bool recordFollows);
    int recordInside(const StreamView &view, qint64 start, const char *line, int length);
    void appendLine(const char *line, int length);
    bool repairLine(const char *line, int length);
    void resynchronise(const StreamView &view, qint64 ownEnd);
    bool startsRecord(const StreamView &view, qint64 offset);
    void searchRecordStart(const StreamView &view);
    bool decryptsWhole(const StreamView &view, qint64 offset);
    void resumeAt(qint64 offset);
    void reportLine(const char *text);
    void reportProgress();
    bool writeOut(const char *data, qint64 size);
    bool flushOutput();
    bool writeFailed();
    bool abort();

    JobReport &m_report;
    const std::atomic_bool &m_stopRequested;
    const bool m_skipLineCheck;
    // Where the lines go: a file, or a tap.
    AtomicFile *m_file = nullptr;
    TableTap *m_tap = nullptr;
    RecordWindow m_window;
    // Where a record might start, so that the line in m_window stays as it is.
    RecordWindow m_probe;
    QByteArray m_output;
    qint64 m_size = 0;
    qint64 m_position = 0;
    // Behind a failed record, the offsets from m_searchFrom on are searched for a record start.
    bool m_searching = false;
    qint64 m_searchFrom = 0;
    qint64 m_failedAt = 0;
    qint64 m_failedBytesRead = 0;
    qint64 m_linesWritten = 0;
    qint64 m_lastReportedLine = -1;
    qint64 m_repairedLines = 0;
    qint64 m_unreadBytes = 0;
    qint64 m_progressStep = 1;
    int m_lastProgress = 0;
};

} // namespace fiscora

#endif // FISCORA_RECORDSTREAM_P_H
