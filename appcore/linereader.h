#ifndef FISCORA_APP_LINEREADER_H
#define FISCORA_APP_LINEREADER_H

#include <QByteArray>

class QIODevice;

namespace fiscora::app {

/*!
 * The lines of a device, read in chunks, so that a table file of gigabytes takes no more memory
 * than a chunk and its longest line. A line ends with the line end byte, which is no part of it;
 * the last line may lack it. Of a line longer than the longest one kept, the first bytes come back
 * and the rest is skipped.
 *
 * \code
 * LineReader lines(&file, '\n', 1 << 20);
 * QByteArray line;
 * while (lines.readLine(&line))
 *     check(line, lines.lineNumber(), lines.ended());
 * if (lines.hasError())
 *     qWarning() << file.errorString();
 * \endcode
 */
class LineReader
{
public:
    static constexpr int DefaultChunkSize = 1 << 20;

    //! Reads \a device, which stays open while the reader reads it, in chunks of \a chunkSize.
    LineReader(QIODevice *device, char lineEnd, int longestLine, int chunkSize = DefaultChunkSize);
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    /*!
     * The next line in \a line, its bytes valid until the next call; false at the end of the device
     * and when reading failed.
     */
    bool readLine(QByteArray *line);
    //! The same, the line as \a size bytes at \a data, without even the cost of a QByteArray.
    bool readLine(const char **data, int *size);
    //! The number of the line last read, counted from 1.
    qint64 lineNumber() const;
    //! Whether the line last read ended with the line end byte; the last line of a device may not.
    bool ended() const;
    //! Whether the line last read was longer than the longest line kept, and is only its start.
    bool truncated() const;
    //! Whether the device failed to give its bytes; its errorString() says why.
    bool hasError() const;

private:
    bool fill();
    void keep(const char *begin, const char *end);
    void handOutPending(const char **data, int *size) const;

    QIODevice *const m_device;
    const char m_lineEnd;
    const int m_longestLine;
    QByteArray m_chunk;
    const char *m_at = nullptr;
    const char *m_end = nullptr;
    // A line that runs beyond the chunk, gathered over the chunks it spans.
    QByteArray m_pending;
    qint64 m_lineNumber = 0;
    bool m_ended = false;
    bool m_truncated = false;
    bool m_error = false;
};

} // namespace fiscora::app

#endif // FISCORA_APP_LINEREADER_H
