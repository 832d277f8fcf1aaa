#include "ktlcypher.h"

#include "atomicfile_p.h"
#include "exportrun_p.h"
#include "logging_p.h"
#include "recordstream_p.h"

#include <QFileInfo>
#include <QMutexLocker>

namespace fiscora {

KTLCypher::KTLCypher(QObject *parent)
    : QThread(parent)
{
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
        job = {m_sourceFile, m_targetPath, m_rawDataOnly, m_gdpduExport, m_indexInfoLine,
               m_skipLineCheck};
    }
    ExportRun exportRun(*this, job);
    if (!exportRun.prepare())
        return;
    RecordStream stream(*this, m_stopRequested, job.skipLineCheck);
    if (!exportRun.decryptRecords(stream)) {
        // A stop has been reported by the decryption already.
        if (!m_stopRequested) {
            qCWarning(lcKtlCypher, "No decrypted values for saving.");
            emit error(tr("No decrypted values for saving."),
                       tr("Check your source file for having valid data."));
        }
        return;
    }
    const QByteArray digest = exportRun.closeSource();
    if (!exportRun.placeTableFile())
        return;
    emit finishSuccessful(exportRun.tableFile(), exportRun.analyser());
    // The description files are a courtesy to the auditor: without them the export still stands.
    if (exportRun.writesDescription()) {
        if (!saveDTDFile(exportRun.exportFolder()))
            emit error(tr("DTD file couldn´t create successful!"),
                       tr("Check your write permission for the saving location."));
        if (!saveXMLFile(exportRun.exportFolder()))
            emit error(tr("XML file couldn´t create successful!"),
                       tr("Check your write permission for the saving location."));
    }
    exportRun.report(digest);
}

bool KTLCypher::decrypt(const QByteArray &data, const QString &filename, const QByteArray &header,
                        const bool skipLineCheck)
{
    AtomicFile table(filename);
    RecordStream stream(*this, m_stopRequested, skipLineCheck);
    return stream.begin(table, data.size(), header) && stream.take({data.constData(), 0, data.size(), true})
        && stream.end() && stream.commit();
}

bool KTLCypher::saveFileFromRessource(const QString &folder, const QString &fileName)
{
    if (!QFileInfo(folder).isDir()) {
        qCWarning(lcKtlCypher, "Folder %s for saving Resscource-File don´t exist.", qUtf8Printable(folder));
        return false;
    }
    QFile resource(QStringLiteral(":/") + fileName);
    if (!resource.exists()) {
        qCWarning(lcKtlCypher, "Resscource file couldn´t determine.");
        return false;
    }
    if (!resource.open(QIODevice::ReadOnly)) {
        qCWarning(lcKtlCypher, "Resscource data couldn´t open for reading.");
        return false;
    }
    const QByteArray bytes = resource.readAll();
    resource.close();

    // A description file cut short would mislead the auditor's software, so an earlier one stays
    // until the new one is complete.
    AtomicFile file(folder + fileName);
    if (!file.open()) {
        qCWarning(lcKtlCypher, "Resscource file %s couldn´t create for saving: %s", qUtf8Printable(file.fileName()),
                  qUtf8Printable(file.errorString()));
        return false;
    }
    if (!file.write(bytes.constData(), bytes.size()) || !file.finish() || !file.commit()) {
        qCWarning(lcKtlCypher, "Resscource file %s couldn´t write: %s", qUtf8Printable(file.fileName()),
                  qUtf8Printable(file.errorString()));
        return false;
    }
    emit fileSaved(file.fileName());
    return true;
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
