#ifndef FISCORA_APP_FILECOMPARISON_H
#define FISCORA_APP_FILECOMPARISON_H

#include <QByteArray>
#include <QFile>
#include <QIODevice>

namespace fiscora::app {

/*!
 * Compares what is written to it with a file, piece by piece, and tells at which line the two
 * part: only the line feeds before the first difference are counted, lines are never split.
 * Writing never fails, so that the writer goes on to its end whatever is found.
 *
 * \code
 * FileComparison comparison(folder + "/gobd.csv");
 * facts.addDevice(table, &comparison);
 * const qint64 line = comparison.firstDifference();
 * \endcode
 */
class FileComparison : public QIODevice
{
public:
    //! Compares with \a fileName; a file that cannot be read differs from the first byte on.
    explicit FileComparison(const QString &fileName);

    /*!
     * The line of the file at which it and the bytes written part, counted from 1; 0 when the
     * file cannot be read, -1 when they are the same.
     */
    qint64 firstDifference();

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    //! Compares what was written since the last time.
    void compare();

    QFile m_file;
    QByteArray m_written;
    QByteArray m_piece;
    qint64 m_lineFeeds = 0;
    bool m_parted = false;
};

} // namespace fiscora::app

#endif // FISCORA_APP_FILECOMPARISON_H
