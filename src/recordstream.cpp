#include "recordstream_p.h"

#include "ktlcypher.h"
#include "linecheck_p.h"
#include "logging_p.h"
#include "writeall_p.h"

namespace fiscora {

namespace {

// Lines collect in memory and go to the file in few large writes.
constexpr int WriteThreshold = 50000000;
// The most one record adds to the buffer: a whole window, or a salvaged run and "\r\n".
constexpr int LargestLine = RecordWindow::Size + 2;
constexpr int ProgressEnd = 100;
// A salvaged line is reported only if no line within this distance before it was reported.
constexpr int RepairReportDistance = 10;

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

RecordStream::RecordStream(KTLCypher &cypher, const std::atomic_bool &stopRequested,
                           bool skipLineCheck)
    : m_cypher(cypher)
    , m_stopRequested(stopRequested)
    , m_skipLineCheck(skipLineCheck)
{
}

bool RecordStream::write(const char *data, qint64 size, const QString &filename,
                         const QByteArray &header)
{
    m_progressStep = qMax<qint64>(size / ProgressEnd, 1);
    emit m_cypher.initProgressBar(0, ProgressEnd);

    if (!open(filename) || !writeOut(header.constData(), header.size()))
        return false;

    m_output.reserve(int(qMin<qint64>(size, WriteThreshold)) + LargestLine);
    for (qint64 position = 0; position < size;) {
        position += takeRecord(data + position, size - position);
        if (m_output.size() >= WriteThreshold) {
            qCDebug(lcKtlCypher, "50MB write file");
            if (!flushOutput())
                return false;
        }
        reportProgress(position);
        if (m_stopRequested)
            return abort();
    }
    if (!flushOutput())
        return false;
    m_file.close();
    return true;
}

bool RecordStream::open(const QString &filename)
{
    m_file.setFileName(filename);
    // The output buffer is the only buffer the lines need.
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return true;
    qCWarning(lcKtlCypher, "Couldn't open %s: %s", qUtf8Printable(filename),
              qUtf8Printable(m_file.errorString()));
    emit m_cypher.error(KTLCypher::tr("Couldn't init temporary space for the data."),
                        KTLCypher::tr("Check if the file is open or if you have write permissions."));
    return false;
}

// Returns how far the stream advances: by whole blocks behind a written line, and by the line
// and one byte more behind a rejected record, so that the next try starts right behind the damage.
qint64 RecordStream::takeRecord(const char *record, qint64 remaining)
{
    const int length = m_window.decryptLine(record, remaining);
    const char *line = m_window.line();
    if (m_skipLineCheck)
        return appendLine(line, length);
    switch (checkLine(line, length)) {
    case LineVerdict::Valid:
        return appendLine(line, length);
    case LineVerdict::Damaged:
        if (m_linesWritten != m_lastReportedLine)
            reportLine(QT_TRANSLATE_NOOP("fiscora::KTLCypher", "Decryption error near line: %1"));
        break;
    case LineVerdict::TooFewFields:
        break;
    }
    return repairLine(line, length);
}

qint64 RecordStream::appendLine(const char *line, int length)
{
    m_output.append(line, length);
    ++m_linesWritten;
    return roundUpToBlock(length);
}

qint64 RecordStream::repairLine(const char *line, int length)
{
    const PrintableRun run = longestPrintableRun(line, length);
    if (run.length <= length / 4)
        return length + 1;
    m_output.append(line + run.begin, run.length).append("\r\n", 2);
    ++m_linesWritten;
    if (m_linesWritten - RepairReportDistance > m_lastReportedLine)
        reportLine(QT_TRANSLATE_NOOP("fiscora::KTLCypher", "Check decryption near line: %1"));
    // The record is taken to end with the salvaged text.
    return roundUpToBlock(run.length);
}

void RecordStream::reportLine(const char *text)
{
    m_lastReportedLine = m_linesWritten;
    emit m_cypher.processMessages(KTLCypher::tr(text).arg(m_linesWritten), true, 0);
}

void RecordStream::reportProgress(qint64 position)
{
    const int progress = int(qMin<qint64>(position / m_progressStep, ProgressEnd));
    if (progress == m_lastProgress)
        return;
    m_lastProgress = progress;
    emit m_cypher.updateProgressBar(progress);
}

bool RecordStream::writeOut(const char *bytes, qint64 size)
{
    if (writeAll(m_file, bytes, size))
        return true;
    const QString reason = m_file.errorString();
    qCWarning(lcKtlCypher, "Couldn't write the decrypted data to %s: %s", qUtf8Printable(m_file.fileName()),
              qUtf8Printable(reason));
    m_file.close();
    emit m_cypher.error(
            KTLCypher::tr("Couldn't write the decrypted data to %1. The error from the system is: %2")
                    .arg(m_file.fileName(), reason),
            KTLCypher::tr("Check if there is enough free space and if you have write permissions."));
    return false;
}

bool RecordStream::flushOutput()
{
    const bool written = writeOut(m_output.constData(), m_output.size());
    m_output.resize(0);
    return written;
}

bool RecordStream::abort()
{
    m_file.close();
    emit m_cypher.error(KTLCypher::tr("Process abbort by the user."),
                        KTLCypher::tr("Saving of the decrypted data was not successful!"));
    return false;
}

} // namespace fiscora
