#ifndef FISCORA_KTLCYPHER_H
#define FISCORA_KTLCYPHER_H

#include "fiscora.h"
#include "indexfileanalyser.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QThread>

#include <atomic>

namespace fiscora {

/*!
 * The decryptor: turns a backup file (or any file of encrypted records) into the table file of
 * an export, in a thread of its own.
 *
 * The table file is "gobd.csv" in the export folder target/serial/label/ (with \c gdpduExport,
 * beside "index.xml" and "gdpdu-01-09-2004.dtd"), or the source's base name with ".csv" directly
 * under the target folder. Every line is checked and, where damaged, its readable part salvaged;
 * at the end the data is checked against the MD5 value of the backup header.
 *
 * \code
 * auto *cypher = new KTLCypher(this);
 * connect(cypher, &KTLCypher::error, this, &Window::showError);
 * connect(cypher, &KTLCypher::updateProgressBar, progressBar, &QProgressBar::setValue);
 * connect(cypher, &KTLCypher::finishSuccessful, this, &Window::showExport);
 * cypher->startDecryption(backupFile, targetFolder, false, true, true, false);
 * // ... later, before the worker is destroyed:
 * cypher->stopProcess();
 * cypher->wait();
 * \endcode
 *
 * All signals of a job are emitted from the worker's thread, so receivers in other threads get
 * them queued. Every failure is one error() pair; when the decryption itself fails, its pair is
 * followed by the run's "No decrypted values for saving.". The worker must not be destroyed
 * while its thread runs: ask it to stop and wait for it first.
 */
class FISCORA_EXPORT KTLCypher : public QThread
{
    Q_OBJECT

public:
    //! A worker that does nothing until startDecryption() is called.
    explicit KTLCypher(QObject *parent = nullptr);
    //! Neither stops nor waits for a running job.
    ~KTLCypher() override;

    /*!
     * Starts exporting \a sourceFile under \a targetPath in the worker's thread; returns false,
     * and changes nothing, while a job is running.
     *
     * \a rawDataOnly: the whole file is records, without a backup header; the table file is
     * named after the source and the hash is reported, not compared. \a gdpduExport: the export
     * goes to target/serial/label/gobd.csv with the GDPdU description files beside it.
     * \a indexInfoLine: the table file starts with the INDEX_INFO line of the backup header.
     * \a skipLineCheck: lines are written as they decrypt, without check and repair.
     */
    bool startDecryption(const QString sourceFile, const QString targetPath, const bool rawDataOnly,
                         const bool gdpduExport, const bool indexInfoLine, const bool skipLineCheck);

    /*!
     * Asks a running job to stop after its current record; returns at once. The job then ends
     * with the error "Process abbort by the user.". Ignored while no job runs.
     */
    void stopProcess();

    /*!
     * Decrypts the encrypted records in \a data into the table file \a filename (created or
     * replaced), in the calling thread, with line check and repair. Returns false, after an
     * error() pair, when the file cannot be written or a stop is pending.
     */
    bool dencryptByteArray(const QByteArray &data, QString filename);

Q_SIGNALS:
    //! The table file \a filename is in place; \a analyse holds what the backup header said.
    void finishSuccessful(const QString &filename, const fiscora::IndexFileAnalyser &analyse);
    /*!
     * A report for the user, \a isError marking a problem. Line messages carry \a messageCount
     * 0; the index report is numbered from 1, followed by the hash verdict.
     */
    void processMessages(const QString &message, bool isError, int messageCount = 0);
    //! A failure: what went wrong (\a error) and what the user can check (\a hint).
    void error(const QString &error, const QString &hint);
    //! Always 0 and 100, once at the start of the decryption.
    void initProgressBar(int startValue, int endValue);
    //! Progress of the decryption, 0 to 100.
    void updateProgressBar(int currenValue);
    //! A GDPdU description file was written to \a filename.
    void fileSaved(const QString &filename);

private:
    void run() override;
    bool decrypt(const QByteArray &data, const QString &filename, const QByteArray &header,
                 const bool skipLineCheck);
    bool saveFileFromRessource(const QString &folder, const QString &fileName);
    bool saveDTDFile(const QString &folder);
    bool saveXMLFile(const QString &folder);

    QMutex m_mutex;
    QString m_sourceFile;
    QString m_targetPath;
    std::atomic_bool m_stopRequested{false};
    bool m_rawDataOnly = false;
    bool m_gdpduExport = false;
    bool m_indexInfoLine = false;
    bool m_skipLineCheck = false;
};

} // namespace fiscora

#endif // FISCORA_KTLCYPHER_H
