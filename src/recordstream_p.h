#ifndef FISCORA_RECORDSTREAM_P_H
#define FISCORA_RECORDSTREAM_P_H

#include "recordwindow_p.h"

#include <QByteArray>
#include <QFile>

#include <atomic>

namespace fiscora {

class KTLCypher;

/*!
 * One pass over a stream of encrypted records: each record is decrypted, its line checked and,
 * where damaged, its readable part salvaged, and the lines are written into the table file
 * through a large buffer. Progress, line messages and failures go out as \a cypher's signals.
 *
 * \code
 * RecordStream stream(*this, m_stopRequested, skipLineCheck);
 * const bool written = stream.write(data, size, filename, header);
 * \endcode
 */
class RecordStream
{
public:
    RecordStream(KTLCypher &cypher, const std::atomic_bool &stopRequested, bool skipLineCheck);

    /*!
     * Writes \a header and then the lines of the \a size bytes of records at \a data into
     * \a filename. Returns false, after an error() pair, when the file cannot be opened or
     * written, or when a stop is requested.
     */
    bool write(const char *data, qint64 size, const QString &filename, const QByteArray &header);

private:
    bool open(const QString &filename);
    qint64 takeRecord(const char *record, qint64 remaining);
    qint64 appendLine(const char *line, int length);
    qint64 repairLine(const char *line, int length);
    void reportLine(const char *text);
    void reportProgress(qint64 position);
    bool writeOut(const char *bytes, qint64 size);
    bool flushOutput();
    bool abort();

    KTLCypher &m_cypher;
    const std::atomic_bool &m_stopRequested;
    const bool m_skipLineCheck;
    QFile m_file;
    RecordWindow m_window;
    QByteArray m_output;
    qint64 m_linesWritten = 0;
    qint64 m_lastReportedLine = -1;
    qint64 m_progressStep = 1;
    int m_lastProgress = 0;
};

} // namespace fiscora

#endif // FISCORA_RECORDSTREAM_P_H
