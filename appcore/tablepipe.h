#ifndef FISCORA_APP_TABLEPIPE_H
#define FISCORA_APP_TABLEPIPE_H

#include "tabletap_p.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QMutex>
#include <QQueue>
#include <QWaitCondition>

#include <functional>

namespace fiscora::app {

/*!
 * The table of an export as it is decrypted, from the export's thread to a reader in another: the
 * export writes into the pipe as into its tap, the reader reads it as a device, until the export
 * ends it. A few pieces wait at most, so that memory stays small however large the table. The
 * rows that the export's line messages name reach the reader before the bytes of those rows.
 *
 * \code
 * TablePipe pipe;
 * pipe.onRowsNamed([&](const QList<qint64> &rows) { facts.locate(rows); });
 * reader: facts.addDevice(pipe); pipe.abandon();
 * export: job.tap = &pipe; ... pipe.rowsNamed(rows); ... pipe.endWriting();
 * \endcode
 */
class TablePipe : public QIODevice, public TableTap
{
public:
    TablePipe();

    //! The export's side: the next lines of the table.
    void take(const char *data, qint64 size) override;
    //! The export's side: rows of the lines to come, or of those taken last, named by a message.
    void rowsNamed(const QList<qint64> &rows);
    //! The export's side: no more lines come; once more changes nothing.
    void endWriting();

    //! The reader's side: \a handler hears, in the reader's thread, of the rows named before the
    //! bytes it reads next.
    void onRowsNamed(std::function<void(const QList<qint64> &)> handler) { m_rowsNamed = std::move(handler); }
    //! The reader's side: it reads no more, and the export's lines go nowhere from now on.
    void abandon();

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    struct Piece
    {
        QByteArray bytes;
        QList<qint64> rowsNamed;
    };

    bool nextPiece();

    QMutex m_mutex;
    QWaitCondition m_changed;
    QQueue<Piece> m_pieces;
    bool m_ended = false;
    bool m_abandoned = false;
    // The export's rows named since its last piece; only its thread touches them.
    QList<qint64> m_namedSinceLast;
    // The piece being read, and how much of it has been; only the reader's thread touches them.
    QByteArray m_current;
    int m_readFrom = 0;
    std::function<void(const QList<qint64> &)> m_rowsNamed;
};

} // namespace fiscora::app

#endif // FISCORA_APP_TABLEPIPE_H
