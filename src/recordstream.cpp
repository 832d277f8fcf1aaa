#include "recordstream_p.h"

#include "atomicfile_p.h"
#include "jobreport_p.h"
#include "linecheck_p.h"
#include "logging_p.h"
#include "recordstart_p.h"
#include "tabletap_p.h"

#include <cstring>

namespace fiscora {

namespace {

// Lines collect in memory and go to the file in few writes, each small enough that the system
// copies it while the processor's cache still holds it.
constexpr int WriteThreshold = 1 << 20;
// The most one record adds to the buffer: a whole window, or a salvaged run and "\r\n".
constexpr int LargestLine = RecordWindow::Size + 2;
// A record is taken once the window behind it is in memory too: after a damaged record the
// next one is looked at where the damaged one ended.
constexpr qint64 Lookahead = 2 * RecordWindow::Size;
constexpr int ProgressEnd = 100;
// A salvaged line is reported only if no line within this distance before it was reported.
constexpr int RepairReportDistance = 10;
// Offsets searched for a record start between two looks at the stop request.
constexpr qint64 SearchStep = 64 * 1024;

qint64 roundUpToBlock(qint64 length)
{
    return (length + AesBlockSize - 1) / AesBlockSize * AesBlockSize;
}

struct PrintableRun
{
    int begin = 0;
    int length = 0;
};

// The longest run of bytes from space to "}" that another byte ends within the line; the first
// of equally long runs wins, and a run still open at the end of the line does not count.
PrintableRun longestPrintableRun(const char *line, int length)
{
    PrintableRun longest;
    int begin = 0;
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<quint8>(line[i]);
        if (byte >= ' ' && byte <= '}')
            continue;
        if (i - begin > longest.length)
            longest = {begin, i - begin};
        begin = i + 1;
    }
    return longest;
}

} // namespace

RecordStream::RecordStream(JobReport &report, const std::atomic_bool &stopRequested, bool skipLineCheck)
    : m_report(report)
    , m_stopRequested(stopRequested)
    , m_skipLineCheck(skipLineCheck)
{
}

bool RecordStream::begin(AtomicFile &output, qint64 size, const QByteArray &header)
{
    m_file = &output;
    start(size);
    if (!output.open()) {
        qCWarning(lcKtlCypher, "Couldn't open %s: %s", qUtf8Printable(output.fileName()),
                  qUtf8Printable(output.errorString()));
        m_report.fail(tr("Couldn't init temporary space for the data."),
                      tr("Check if the file is open or if you have write permissions."));
        return false;
    }
    return writeOut(header.constData(), header.size());
}

void RecordStream::begin(TableTap &tap, qint64 size, const QByteArray &header)
{
    m_tap = &tap;
    start(size);
    writeOut(header.constData(), header.size());
}

void RecordStream::start(qint64 size)
{
    m_size = size;
    m_progressStep = qMax<qint64>(size / ProgressEnd, 1);
    m_report.progressStarted(ProgressEnd);
    m_output.reserve(int(qMin<qint64>(size, WriteThreshold)) + LargestLine);
}

bool RecordStream::take(const StreamView &view)
{
    while (canTake(view)) {
        if (m_searching)
            searchRecordStart(view);
        else
            takeRecord(view);
        if (m_output.size() >= WriteThreshold && !flushOutput())
            return false;
        reportProgress();
        if (m_stopRequested)
            return abort();
    }
    return true;
}

qint64 RecordStream::keepFrom() const
{
    // The block before a candidate tells whether it lies inside a record.
    return qMax<qint64>(0, (m_searching ? m_searchFrom : m_position) - AesBlockSize);
}

bool RecordStream::end()
{
    if (!flushOutput())
        return false;
    if (m_file && !m_file->finish())
        return writeFailed();
    if (m_repairedLines > 0 || m_unreadBytes > 0) {
        m_report.message(tr("Not all records could be read: %1 lines were repaired, %2 bytes could not be read.")
                                 .arg(m_repairedLines)
                                 .arg(m_unreadBytes),
                         true, 0);
    }
    return true;
}

bool RecordStream::commit()
{
    return m_file->commit() || writeFailed();
}

bool RecordStream::canTake(const StreamView &view) const
{
    if (m_searching)
        return view.atEnd || m_searchFrom + RecordWindow::Size <= view.end;
    return m_position < view.end && (view.atEnd || view.end - m_position >= Lookahead);
}

void RecordStream::takeRecord(const StreamView &view)
{
    const qint64 start = m_position;
    const int length = m_window.decryptLine(view.at(start), view.end - start);
    const char *line = m_window.line();
    const bool valid = m_skipLineCheck || checkLine(line, length) == LineVerdict::Valid;
    if (!m_skipLineCheck && (!valid || holdsNonAscii(line, line + length - 2))) {
        // A record whose line feed was lost reads on into the next record, whose blocks but the
        // first decrypt as they should, so that the line may even pass the check. Where a block
        // inside the line starts a record, the line ends there.
        const int next = recordInside(view, start, line, length);
        if (!valid || next > 0) {
            takeFailedRecord(view, next > 0 ? next : length, next > 0);
            return;
        }
        // Damage that leaves the fields whole passes the check, but the control bytes of its
        // noise, which no table line holds, tell of it.
        if (holdsControlBytes(line, line + length - 2) && m_linesWritten != m_lastReportedLine)
            reportLine(QT_TRANSLATE_NOOP("fiscora::KTLCypher", "Decryption error near line: %1"));
    }
    appendLine(line, length);
    m_position = start + roundUpToBlock(length);
}

void RecordStream::takeFailedRecord(const StreamView &view, int length, bool recordFollows)
{
    const qint64 start = m_position;
    const char *line = m_window.line();
    if (checkLine(line, length) == LineVerdict::Damaged && m_linesWritten != m_lastReportedLine)
        reportLine(QT_TRANSLATE_NOOP("fiscora::KTLCypher", "Decryption error near line: %1"));
    const bool lineEnds = line[length - 1] == '\n';
    const bool repaired = repairLine(line, length);
    // What a salvaged line was made of counts as read; what lies behind it up to the next
    // record start does not.
    m_failedAt = start;
    m_failedBytesRead = repaired ? roundUpToBlock(length) : 0;
    if (recordFollows)
        resumeAt(start + length);
    else
        resynchronise(view, lineEnds ? start + roundUpToBlock(length) : -1);
}

int RecordStream::recordInside(const StreamView &view, qint64 start, const char *line, int length)
{
    for (int offset = AesBlockSize; offset < length; offset += AesBlockSize) {
        if (startsRecordInLine(view.at(start + offset), line, offset, length))
            return offset;
    }
    return 0;
}

void RecordStream::appendLine(const char *line, int length)
{
    m_output.append(line, length);
    ++m_linesWritten;
}

bool RecordStream::repairLine(const char *line, int length)
{
    const PrintableRun run = longestPrintableRun(line, length);
    if (run.length <= length / 4)
        return false;
    m_output.append(line + run.begin, run.length).append("\r\n", 2);
    ++m_linesWritten;
    ++m_repairedLines;
    if (m_linesWritten - RepairReportDistance > m_lastReportedLine)
        reportLine(QT_TRANSLATE_NOOP("fiscora::KTLCypher", "Check decryption near line: %1"));
    return true;
}

// Damaged neighbours are each taken on their own, as the line check and the repair judge them: where
// the failed record's line ends, the next record is taken if it starts as a table line does, or
// decrypts whole. Where that is not so, the line feed was damage too, and the next record start is
// searched for. A first block that merely reads as text would not do: where the line feed was
// noise, noise follows, and noise reads as text at one offset in a few hundred.
void RecordStream::resynchronise(const StreamView &view, qint64 ownEnd)
{
    if (ownEnd >= m_size) {
        resumeAt(m_size);
    } else if (ownEnd >= 0 && startsRecord(view, ownEnd)) {
        resumeAt(ownEnd);
    } else {
        m_searching = true;
        m_searchFrom = m_failedAt + 1;
    }
}

bool RecordStream::startsRecord(const StreamView &view, qint64 offset)
{
    // A tail shorter than a block is decrypted as the window would: filled up with zero bytes.
    char padded[2 * AesBlockSize] = {};
    const char *record = view.at(offset);
    if (m_size - offset < AesBlockSize) {
        std::memcpy(padded, record - AesBlockSize, size_t(AesBlockSize + m_size - offset));
        record = padded + AesBlockSize;
    }
    if (continuesRecordBefore(record))
        return false;
    quint8 first[AesBlockSize];
    decryptBlocks(reinterpret_cast<const quint8 *>(record), first, 0, 1);
    return readsAsLineStart(reinterpret_cast<const char *>(first)) || decryptsWhole(view, offset);
}

// Every offset counts: a month file cut short inside a record shifts everything behind it. Noise
// reads as text often enough at one offset in a few hundred, so a record found here must pass the
// line check, or decrypt whole to a line of text.
void RecordStream::searchRecordStart(const StreamView &view)
{
    const qint64 last = view.atEnd ? m_size - AesBlockSize : view.end - RecordWindow::Size;
    const qint64 stop = qMin(last, m_searchFrom + SearchStep - 1);
    for (qint64 offset = m_searchFrom; offset <= stop; ++offset) {
        // One block tells most offsets from a line start before a whole window is decrypted.
        if (startsLine(view.at(offset), offset >= AesBlockSize) && decryptsWhole(view, offset)) {
            resumeAt(offset);
            return;
        }
    }
    m_searchFrom = stop + 1;
    if (view.atEnd && m_searchFrom > last)
        resumeAt(m_size);
}

// Whether the record at offset passes the line check or is a line of text; its line stays in the
// probe window.
bool RecordStream::decryptsWhole(const StreamView &view, qint64 offset)
{
    const int length = m_probe.decryptLine(view.at(offset), view.end - offset);
    const char *line = m_probe.line();
    return checkLine(line, length) == LineVerdict::Valid || isTextLine(line, length);
}

void RecordStream::resumeAt(qint64 offset)
{
    m_unreadBytes += qMax<qint64>(0, offset - m_failedAt - m_failedBytesRead);
    m_position = offset;
    m_searching = false;
}

void RecordStream::reportLine(const char *text)
{
    m_lastReportedLine = m_linesWritten;
    m_report.message(tr(text).arg(m_linesWritten), true, 0);
}

void RecordStream::reportProgress()
{
    const qint64 position = qMin(m_searching ? m_searchFrom : m_position, m_size);
    const int progress = int(qMin<qint64>(position / m_progressStep, ProgressEnd));
    if (progress == m_lastProgress)
        return;
    m_lastProgress = progress;
    m_report.progress(progress);
}

bool RecordStream::writeOut(const char *data, qint64 size)
{
    if (m_tap) {
        m_tap->take(data, size);
        return true;
    }
    return m_file->write(data, size) || writeFailed();
}

bool RecordStream::flushOutput()
{
    const bool written = writeOut(m_output.constData(), m_output.size());
    m_output.resize(0);
    return written;
}

bool RecordStream::writeFailed()
{
    const QString fileName = m_file->fileName();
    const QString reason = m_file->errorString();
    qCWarning(lcKtlCypher, "Couldn't write the decrypted data to %s: %s", qUtf8Printable(fileName),
              qUtf8Printable(reason));
    m_file->cancel();
    m_report.fail(tr("Couldn't write the decrypted data to %1. The error from the system is: %2").arg(fileName, reason),
                  tr("Check if there is enough free space and if you have write permissions."));
    return false;
}

bool RecordStream::abort()
{
    if (m_file)
        m_file->cancel();
    m_report.fail(tr("Process abbort by the user."), tr("Saving of the decrypted data was not successful!"));
    return false;
}

} // namespace fiscora
