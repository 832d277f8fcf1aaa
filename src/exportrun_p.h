#ifndef FISCORA_EXPORTRUN_P_H
#define FISCORA_EXPORTRUN_P_H

#include "atomicfile_p.h"
#include "concurrentmd5_p.h"
#include "indexfileanalyser.h"
#include "recordstream_p.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <atomic>

namespace fiscora {

class ExportReport;
class TableTap;

//! The parameters of one export, as startDecryption() stored them.
struct ExportJob
{
    QString sourceFile;
    QString targetPath;
    bool rawDataOnly = false;
    bool gdpduExport = false;
    bool indexInfoLine = false;
    bool skipLineCheck = false;
    //! Takes the table in place of a file: nothing is written, and no target is needed.
    TableTap *tap = nullptr;
};

/*!
 * One export, from the source file to the hash verdict: it checks the job, decides the names on
 * disk, opens the source and reads its backup header, reads the records in pieces and has them
 * hashed while they are decrypted, puts the table file in place, writes the GDPdU description
 * files and sends the index report and the hash verdict. Everything it has to say goes to
 * \a report, in the texts of the decryptor.
 *
 * \code
 * ExportRun(report, stopRequested, job).run();
 * \endcode
 *
 * Memory stays the same whatever the size of the source: it is read in pieces of a few
 * megabytes. A table file that is not put in place leaves no temporary file behind. With a tap
 * the table goes there alone, and tableWritten() names no file.
 */
class ExportRun
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::KTLCypher)

public:
    ExportRun(ExportReport &report, const std::atomic_bool &stopRequested, const ExportJob &job);

    void run();

    /*!
     * Copies the resource \a fileName into \a folder, which ends with a separator, as a whole or
     * not at all, and announces it to \a report; false, after a warning, when it cannot.
     */
    static bool saveResource(const QString &folder, const QString &fileName, ExportReport &report);

private:
    bool prepare();
    bool createExportFolder();
    bool openSource();
    bool readHeader();
    bool decryptRecords();
    char *pieceData(int piece);
    bool readFailed();
    bool placeTableFile();
    void saveDescription();
    //! The INDEX_INFO line to head the table file, or nothing.
    QByteArray infoLine() const;
    void report(const QByteArray &digest);
    int reportIndex(bool *anyError);
    void reportHash(const QByteArray &digest, int messageCount, bool indexError);

    ExportReport &m_report;
    const std::atomic_bool &m_stopRequested;
    const ExportJob m_job;
    const bool m_gdpdu;
    QString m_exportFolder;
    QString m_tableFile;
    IndexFileAnalyser m_analyser;
    QFile m_source;
    qint64 m_sourceSize = 0;
    qint64 m_bodyOffset = 0;
    AtomicFile m_table;
    RecordStream m_stream;
    // Pieces of the source read ahead of the record stream; declared before the digest, so that
    // they outlive the thread that reads them.
    static constexpr int PiecesAhead = 4;
    QByteArray m_pieces[PiecesAhead];
    ConcurrentMd5 m_md5;
};

} // namespace fiscora

#endif // FISCORA_EXPORTRUN_P_H
