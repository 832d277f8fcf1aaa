#include "exportrun_p.h"

#include "helperclass.h"
#include "ktlcypher.h"
#include "logging_p.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace fiscora {

namespace {

// readCompressIndex never looks further: two length bytes and at most 65535 header bytes.
constexpr qint64 LongestHeader = 2 + 65535;

QString folderOf(const ExportJob &job)
{
    const QString folder = job.targetPath + QLatin1Char('/');
    if (!job.gdpduExport || job.rawDataOnly)
        return folder;
    // A backup's base name is "Backup", the serial number and the report label, joined by "_";
    // a label of two months has a "_" of its own.
    const QString baseName = QFileInfo(job.sourceFile).baseName();
    const QStringList parts = baseName.split(QLatin1Char('_'));
    if (parts.size() == 1)
        return folder + baseName + QLatin1Char('/');
    QString subFolder = parts.at(1) + QLatin1Char('/');
    if (parts.size() >= 3)
        subFolder += parts.at(2);
    if (parts.size() >= 4)
        subFolder += QLatin1Char('_') + parts.at(3);
    return folder + subFolder + QLatin1Char('/');
}

QString tableFileOf(const ExportJob &job, const QString &exportFolder)
{
    if (job.gdpduExport && !job.rawDataOnly)
        return exportFolder + QLatin1String("gobd.csv");
    return exportFolder + QFileInfo(job.sourceFile).baseName() + QLatin1String(".csv");
}

// Serial number and firmware version are filled up with zero bytes.
QString textUpToZero(const QByteArray &bytes)
{
    const int zero = bytes.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero)).trimmed();
}

QByteArray indexInfoLineOf(const IndexFileAnalyser &analyser)
{
    const QStringList fields = {
        QStringLiteral("INDEX_INFO"),
        analyser.getCurrenIndexSourceAsString(),
        QString::number(static_cast<quint8>(analyser.getHeaderVersion().at(0))),
        textUpToZero(analyser.getCRFirmwareVersion()),
        textUpToZero(analyser.getCRSerialnumber()),
        HelperClass::convertToFormattedHexValue(analyser.getMD5Value()),
    };
    return (fields.join(QLatin1Char(';')) + QLatin1String("\r\n")).toUtf8();
}

} // namespace

ExportRun::ExportRun(KTLCypher &cypher, const ExportJob &job)
    : m_cypher(cypher)
    , m_job(job)
    , m_exportFolder(folderOf(job))
    , m_tableFile(tableFileOf(job, m_exportFolder))
    , m_source(job.sourceFile)
{
}

bool ExportRun::prepare()
{
    if (!QFile::exists(m_job.sourceFile)) {
        qCWarning(lcKtlCypher, "Encrypted source file don´t exist");
        emit m_cypher.error(KTLCypher::tr("Encrypted source file don´t exist"),
                            KTLCypher::tr("Check your source file selection!"));
        return false;
    }
    if (m_job.targetPath.isEmpty()) {
        qCWarning(lcKtlCypher, "The target folder is not valid");
        emit m_cypher.error(KTLCypher::tr("The target folder is not valid"),
                            KTLCypher::tr("Check the saving location for the decryption folder."));
        return false;
    }
    if (!createExportFolder() || !openSource())
        return false;
    if (!m_job.rawDataOnly) {
        const auto headerSize = m_analyser.readCompressIndex(
                QByteArray::fromRawData(m_records, int(qMin(m_recordsSize, LongestHeader))));
        m_records += headerSize;
        m_recordsSize -= headerSize;
    }
    m_md5.addData(m_records, m_recordsSize);
    return true;
}

bool ExportRun::createExportFolder()
{
    if (!writesDescription() || QFileInfo(m_exportFolder).isDir() || QDir().mkpath(m_exportFolder))
        return true;
    qCWarning(lcKtlCypher, "Folder for saving decrypted Files couldn't create: %s",
              qUtf8Printable(m_exportFolder));
    emit m_cypher.error(KTLCypher::tr("Folder %1 for saving decrypted files couldn't create.").arg(m_exportFolder),
                        KTLCypher::tr("Check your create permision for the saving location."));
    return false;
}

bool ExportRun::openSource()
{
    if (m_source.open(QIODevice::ReadOnly)) {
        m_recordsSize = m_source.size();
        // An empty file cannot be mapped, and needs no mapping.
        if (m_recordsSize == 0)
            return true;
        // The mapping spares a private copy of the whole backup, which could be larger than a
        // QByteArray can hold.
        m_records = reinterpret_cast<const char *>(m_source.map(0, m_recordsSize));
        if (m_records)
            return true;
    }
    qCWarning(lcKtlCypher, "Encrypted source file %s couldn´t open for decryption. (%s)",
              qUtf8Printable(m_job.sourceFile), qUtf8Printable(m_source.errorString()));
    emit m_cypher.error(
            KTLCypher::tr("Encrypted source file %1 couldn´t open for decryption.").arg(m_job.sourceFile),
            KTLCypher::tr("Check your source file selection and be sure you have read permissions."));
    return false;
}

QByteArray ExportRun::infoLine() const
{
    if (!m_job.indexInfoLine || m_job.rawDataOnly)
        return QByteArray();
    return indexInfoLineOf(m_analyser);
}

QString ExportRun::temporaryFile() const
{
    return m_tableFile + QLatin1String(".~tmp");
}

QByteArray ExportRun::closeSource()
{
    const QByteArray digest = m_md5.result();
    m_source.close();
    return digest;
}

bool ExportRun::placeTableFile()
{
    if (QFile::exists(m_tableFile) && !QFile::remove(m_tableFile)) {
        qCWarning(lcKtlCypher, "A file with the name %s already exist and can't overwritten.",
                  qUtf8Printable(m_tableFile));
        emit m_cypher.error(
                KTLCypher::tr("A file with the name %1 already exist and can't overwritten.").arg(m_tableFile),
                KTLCypher::tr("Check if the file is open or if you have write permissions."));
        return false;
    }
    if (!QFile::rename(temporaryFile(), m_tableFile)) {
        qCWarning(lcKtlCypher, "File %s couldn´t create for saving data.", qUtf8Printable(m_tableFile));
        emit m_cypher.error(KTLCypher::tr("File %1 couldn´t create for saving data.").arg(m_tableFile),
                            KTLCypher::tr("Check if the file is open or if you have write permissions."));
        return false;
    }
    qCDebug(lcKtlCypher, "File successful decrypted and saved: %s", qUtf8Printable(m_tableFile));
    return true;
}

void ExportRun::report(const QByteArray &digest)
{
    bool indexError = false;
    const int messageCount = m_job.rawDataOnly ? 0 : reportIndex(&indexError);
    reportHash(digest, messageCount, indexError);
}

int ExportRun::reportIndex(bool *anyError)
{
    QQueue<QPair<QString, bool>> messages = m_analyser.getIndexMessages();
    int messageCount = 0;
    while (!messages.isEmpty()) {
        const QPair<QString, bool> message = messages.dequeue();
        *anyError = *anyError || message.second;
        emit m_cypher.processMessages(message.first, message.second, ++messageCount);
    }
    return messageCount;
}

void ExportRun::reportHash(const QByteArray &digest, int messageCount, bool indexError)
{
    const QString formatted = HelperClass::convertToFormattedHexValue(digest);
    qCDebug(lcKtlCypher, "CALC MD5: %s", qUtf8Printable(formatted));
    if (m_job.rawDataOnly) {
        qCDebug(lcKtlCypher, "No indey value because only RAW data validation.");
        emit m_cypher.processMessages(KTLCypher::tr("Calculated hash value: %1").arg(formatted), false,
                                      messageCount + 1);
        return;
    }
    const QByteArray expected = m_analyser.getMD5Value();
    qCDebug(lcKtlCypher, "INDEX MD5: %s",
            qUtf8Printable(HelperClass::convertToFormattedHexValue(expected)));
    const QLatin1String lineBreak("<br>");
    if (digest == expected) {
        // After an index error the data is not vouched for, even though it is unaltered.
        const QString assurance = indexError ? QString() : KTLCypher::tr("The data seems not corrupted!");
        emit m_cypher.processMessages(KTLCypher::tr("Hash value: OK") + lineBreak + assurance, false,
                                      messageCount + 1);
    } else {
        emit m_cypher.processMessages(KTLCypher::tr("Hash value: INVALID") + lineBreak
                                              + KTLCypher::tr("The data could be corrupted!"),
                                      true, messageCount + 1);
    }
}

} // namespace fiscora
