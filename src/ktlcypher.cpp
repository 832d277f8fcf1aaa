#include "ktlcypher.h"

#include "atomicfile_p.h"
#include "exportrun_p.h"
#include "logging_p.h"
#include "recordstream_p.h"
#include "workerreport_p.h"

#include <QMutexLocker>

namespace fiscora {

KTLCypher::KTLCypher(QObject *parent)
    : QThread(parent)
{
    // Qt 5 looks the type of a queued argument up by its name when the signal is emitted through
    // an automatic connection, and does not ask the meta-call to register it. Registered with the
    // first decryptor, the analyser is known in time for every connection to one.
    qRegisterMetaType<IndexFileAnalyser>();
}

KTLCypher::~KTLCypher() = default;

bool KTLCypher::startDecryption(const QString sourceFile, const QString targetPath,
                                const bool rawDataOnly, const bool gdpduExport,
                                const bool indexInfoLine, const bool skipLineCheck)
{
    if (isRunning()) {
        qCDebug(lcKtlCypher, "GoBD Decryption already running!");
        return false;
    }
    qCInfo(lcKtlCypher, "Start GoBD Decryption");
    {
        const QMutexLocker locker(&m_mutex);
        m_sourceFile = sourceFile;
        m_targetPath = targetPath;
        m_rawDataOnly = rawDataOnly;
        m_gdpduExport = gdpduExport;
        m_indexInfoLine = indexInfoLine;
        m_skipLineCheck = skipLineCheck;
        m_stopRequested = false;
    }
    start(QThread::InheritPriority);
    return true;
}

void KTLCypher::stopProcess()
{
    if (!isRunning())
        return;
    qCInfo(lcKtlCypher, "Stop GoBD Decryption");
    const QMutexLocker locker(&m_mutex);
    m_stopRequested = true;
}

bool KTLCypher::dencryptByteArray(const QByteArray &data, QString filename)
{
    return decrypt(data, filename, QByteArray(), false);
}

void KTLCypher::run()
{
    ExportJob job;
    {
        const QMutexLocker locker(&m_mutex);
        job = {m_sourceFile, m_targetPath, m_rawDataOnly, m_gdpduExport, m_indexInfoLine, m_skipLineCheck};
    }
    // What the export and the record stream report goes out as the decryptor's signals.
    WorkerReport<KTLCypher> report(*this);
    ExportRun(report, m_stopRequested, job).run();
}

bool KTLCypher::decrypt(const QByteArray &data, const QString &filename, const QByteArray &header,
                        const bool skipLineCheck)
{
    WorkerReport<KTLCypher> report(*this);
    AtomicFile table(filename);
    RecordStream stream(report, m_stopRequested, skipLineCheck);
    return stream.begin(table, data.size(), header) && stream.take({data.constData(), 0, data.size(), true})
        && stream.end() && stream.commit();
}

bool KTLCypher::saveFileFromRessource(const QString &folder, const QString &fileName)
{
    WorkerReport<KTLCypher> report(*this);
    return ExportRun::saveResource(folder, fileName, report);
}

bool KTLCypher::saveDTDFile(const QString &folder)
{
    return saveFileFromRessource(folder, QStringLiteral("gdpdu-01-09-2004.dtd"));
}

bool KTLCypher::saveXMLFile(const QString &folder)
{
    return saveFileFromRessource(folder, QStringLiteral("index.xml"));
}

} // namespace fiscora
