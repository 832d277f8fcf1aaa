#ifndef FISCORA_EXPORTRUN_P_H
#define FISCORA_EXPORTRUN_P_H

#include "atomicfile_p.h"
#include "concurrentmd5_p.h"
#include "indexfileanalyser.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace fiscora {

class KTLCypher;
class RecordStream;

//! The parameters of one export, as startDecryption() stored them.
struct ExportJob
{
    QString sourceFile;
    QString targetPath;
    bool rawDataOnly = false;
    bool gdpduExport = false;
    bool indexInfoLine = false;
    bool skipLineCheck = false;
};

/*!
 * What the decryptor's thread body does around the record decryption: it checks the job,
 * decides the names on disk, opens the source, reads the backup header, reads the records in
 * pieces and has them hashed while they are decrypted, puts the table file in place and sends
 * the index report and the hash verdict. Failures go out as \a cypher's error() pairs.
 *
 * \code
 * ExportRun exportRun(cypher, job);
 * if (!exportRun.prepare())
 *     return;
 * RecordStream stream(cypher, stopRequested, job.skipLineCheck);
 * if (!exportRun.decryptRecords(stream))
 *     return;
 * const QByteArray digest = exportRun.closeSource();
 * if (exportRun.placeTableFile())
 *     exportRun.report(digest);
 * \endcode
 *
 * Memory stays the same whatever the size of the source: it is read in pieces of a few
 * megabytes. A table file that is not put in place leaves no temporary file behind.
 */
class ExportRun
{
public:
    ExportRun(KTLCypher &cypher, const ExportJob &job);

    //! Checks source and target, creates the export folder, opens the source and reads its
    //! header; false after the failure's error() pair.
    bool prepare();

    /*!
     * Decrypts the records behind the header into the temporary table file through \a stream,
     * hashing them on the way; false after the failure's error() pair.
     */
    bool decryptRecords(RecordStream &stream);

    //! Waits for the MD5 digest of the records, returns it and closes the source.
    QByteArray closeSource();

    //! Replaces the table file by the temporary file; false after the failure's error() pair.
    bool placeTableFile();

    //! Whether the GDPdU description files belong into the export folder.
    bool writesDescription() const { return m_job.gdpduExport && !m_job.rawDataOnly; }
    QString exportFolder() const { return m_exportFolder; }
    QString tableFile() const { return m_tableFile; }
    const IndexFileAnalyser &analyser() const { return m_analyser; }

    //! Sends the index report, numbered from 1, and the hash verdict for \a digest.
    void report(const QByteArray &digest);

private:
    bool createExportFolder();
    bool openSource();
    bool readHeader();
    bool readFailed();
    char *pieceData(int piece);
    //! The INDEX_INFO line to head the table file, or nothing.
    QByteArray infoLine() const;
    int reportIndex(bool *anyError);
    void reportHash(const QByteArray &digest, int messageCount, bool indexError);

    KTLCypher &m_cypher;
    const ExportJob m_job;
    QString m_exportFolder;
    QString m_tableFile;
    IndexFileAnalyser m_analyser;
    QFile m_source;
    qint64 m_sourceSize = 0;
    qint64 m_bodyOffset = 0;
    AtomicFile m_table;
    // Pieces of the source read ahead of the record stream; declared before the digest, so that
    // they outlive the thread that reads them.
    static constexpr int PiecesAhead = 4;
    QByteArray m_pieces[PiecesAhead];
    ConcurrentMd5 m_md5;
};

} // namespace fiscora

#endif // FISCORA_EXPORTRUN_P_H
