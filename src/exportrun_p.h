#ifndef FISCORA_EXPORTRUN_P_H
#define FISCORA_EXPORTRUN_P_H

#include "concurrentmd5_p.h"
#include "indexfileanalyser.h"

#include <QFile>
#include <QString>

namespace fiscora {

class KTLCypher;

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
 * decides the names on disk, maps the source, reads the backup header, has the records hashed
 * while they are decrypted, puts the table file in place and sends the index report and the
 * hash verdict. Failures go out as \a cypher's error() pairs.
 *
 * \code
 * ExportRun exportRun(cypher, job);
 * if (!exportRun.prepare())
 *     return;
 * decrypt(exportRun.records(), exportRun.recordsSize(), exportRun.temporaryFile(), ...);
 * const QByteArray digest = exportRun.closeSource();
 * if (exportRun.placeTableFile())
 *     exportRun.report(digest);
 * \endcode
 *
 * The source stays mapped, and is hashed in a thread of its own, until closeSource() or the
 * end of the run.
 */
class ExportRun
{
public:
    ExportRun(KTLCypher &cypher, const ExportJob &job);

    //! Checks source and target, creates the export folder, maps the source, reads its header
    //! and starts hashing the records; false after the failure's error() pair.
    bool prepare();

    const char *records() const { return m_records; }
    qint64 recordsSize() const { return m_recordsSize; }
    //! The INDEX_INFO line to head the table file, or nothing.
    QByteArray infoLine() const;

    //! Waits for the MD5 digest of the records, returns it and releases the source.
    QByteArray closeSource();

    //! Replaces the table file by the temporary file; false after the failure's error() pair.
    bool placeTableFile();

    //! Whether the GDPdU description files belong into the export folder.
    bool writesDescription() const { return m_job.gdpduExport && !m_job.rawDataOnly; }
    QString exportFolder() const { return m_exportFolder; }
    QString tableFile() const { return m_tableFile; }
    QString temporaryFile() const;
    const IndexFileAnalyser &analyser() const { return m_analyser; }

    //! Sends the index report, numbered from 1, and the hash verdict for \a digest.
    void report(const QByteArray &digest);

private:
    bool createExportFolder();
    bool openSource();
    int reportIndex(bool *anyError);
    void reportHash(const QByteArray &digest, int messageCount, bool indexError);

    KTLCypher &m_cypher;
    const ExportJob m_job;
    QString m_exportFolder;
    QString m_tableFile;
    IndexFileAnalyser m_analyser;
    // Declared before the hash, so that the mapping outlives the thread that reads it.
    QFile m_source;
    const char *m_records = nullptr;
    qint64 m_recordsSize = 0;
    ConcurrentMd5 m_md5;
};

} // namespace fiscora

#endif // FISCORA_EXPORTRUN_P_H
