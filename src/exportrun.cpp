#include "exportrun_p.h"

#include "helperclass.h"
#include "jobreport_p.h"
#include "logging_p.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstring>

namespace fiscora {

namespace {

// The records are read in pieces of this size, some pieces ahead of the record stream; the room
// before a piece takes what the stream still needs of the piece before.
constexpr qint64 PieceSize = 2 * 1024 * 1024;
constexpr qint64 PieceRoom = 1024;

QString folderOf(const ExportJob &job, bool gdpdu)
{
    const QString folder = job.targetPath + QLatin1Char('/');
    if (!gdpdu)
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

QString tableFileOf(const ExportJob &job, bool gdpdu, const QString &exportFolder)
{
    if (gdpdu)
        return exportFolder + QLatin1String("gobd.csv");
    return exportFolder + QFileInfo(job.sourceFile).baseName() + QLatin1String(".csv");
}

qint64 readFully(QFile &file, char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 read = file.read(data + done, size - done);
        if (read <= 0)
            break;
        done += read;
    }
    return done;
}

QByteArray indexInfoLineOf(const IndexFileAnalyser &analyser)
{
    const QStringList fields = {
        QStringLiteral("INDEX_INFO"),
        analyser.getCurrenIndexSourceAsString(),
        QString::number(static_cast<quint8>(analyser.getHeaderVersion().at(0))),
        headerFieldText(analyser.getCRFirmwareVersion()),
        headerFieldText(analyser.getCRSerialnumber()),
        HelperClass::convertToFormattedHexValue(analyser.getMD5Value()),
    };
    return (fields.join(QLatin1Char(';')) + QLatin1String("\r\n")).toUtf8();
}

} // namespace

ExportRun::ExportRun(ExportReport &report, const std::atomic_bool &stopRequested, const ExportJob &job)
    : m_report(report)
    , m_stopRequested(stopRequested)
    , m_job(job)
    , m_gdpdu(job.gdpduExport && !job.rawDataOnly)
    , m_exportFolder(folderOf(job, m_gdpdu))
    , m_tableFile(tableFileOf(job, m_gdpdu, m_exportFolder))
    , m_source(job.sourceFile)
    , m_table(m_tableFile)
    , m_stream(report, stopRequested, job.skipLineCheck)
{
}

void ExportRun::run()
{
    if (!prepare())
        return;
    if (!decryptRecords()) {
        // A stop has been reported by the record stream already.
        if (!m_stopRequested) {
            qCWarning(lcKtlCypher, "No decrypted values for saving.");
            m_report.fail(tr("No decrypted values for saving."), tr("Check your source file for having valid data."));
        }
        return;
    }
    const QByteArray digest = m_md5.result();
    m_source.close();
    if (m_job.tap) {
        m_report.tableWritten(QString(), m_analyser);
        report(digest);
        return;
    }
    if (!placeTableFile())
        return;
    m_report.tableWritten(m_tableFile, m_analyser);
    if (m_gdpdu)
        saveDescription();
    report(digest);
}

bool ExportRun::prepare()
{
    if (!QFile::exists(m_job.sourceFile)) {
        qCWarning(lcKtlCypher, "Encrypted source file don´t exist");
        m_report.fail(tr("Encrypted source file don´t exist"), tr("Check your source file selection!"));
        return false;
    }
    if (m_job.targetPath.isEmpty() && !m_job.tap) {
        qCWarning(lcKtlCypher, "The target folder is not valid");
        m_report.fail(tr("The target folder is not valid"), tr("Check the saving location for the decryption folder."));
        return false;
    }
    return createExportFolder() && openSource() && readHeader();
}

bool ExportRun::createExportFolder()
{
    if (!m_gdpdu || m_job.tap || QFileInfo(m_exportFolder).isDir() || QDir().mkpath(m_exportFolder))
        return true;
    qCWarning(lcKtlCypher, "Folder for saving decrypted Files couldn't create: %s", qUtf8Printable(m_exportFolder));
    m_report.fail(tr("Folder %1 for saving decrypted files couldn't create.").arg(m_exportFolder),
                  tr("Check your create permision for the saving location."));
    return false;
}

bool ExportRun::openSource()
{
    // A pipe or a device has no end to read up to, and opening a FIFO waits for a writer.
    if (QFileInfo(m_job.sourceFile).isFile() && m_source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_sourceSize = m_source.size();
        return true;
    }
    qCWarning(lcKtlCypher, "Encrypted source file %s couldn´t open for decryption. (%s)",
              qUtf8Printable(m_job.sourceFile), qUtf8Printable(m_source.errorString()));
    m_report.fail(tr("Encrypted source file %1 couldn´t open for decryption.").arg(m_job.sourceFile),
                  tr("Check your source file selection and be sure you have read permissions."));
    return false;
}

bool ExportRun::readHeader()
{
    if (m_job.rawDataOnly)
        return true;
    const qint64 headerBytes = qMin<qint64>(m_sourceSize, LongestBackupHeader);
    const QByteArray start = m_source.read(headerBytes);
    if (start.size() != headerBytes)
        return readFailed();
    m_bodyOffset = m_analyser.readCompressIndex(start);
    return m_source.seek(m_bodyOffset) || readFailed();
}

// A few pieces are read ahead of the record stream and handed to the digest, so that the digest,
// which takes longest, goes on while a write to the table file waits for the disk.
bool ExportRun::decryptRecords()
{
    const qint64 size = m_sourceSize - m_bodyOffset;
    if (m_job.tap)
        m_stream.begin(*m_job.tap, size, infoLine());
    else if (!m_stream.begin(m_table, size, infoLine()))
        return false;
    const int pieceCount = int(qMax<qint64>(1, (size + PieceSize - 1) / PieceSize));
    for (QByteArray &piece : m_pieces)
        piece.resize(int(PieceRoom + qMin(PieceSize, size)));
    qint64 keptFrom = 0;
    for (int taken = 0, read = 0; taken < pieceCount; ++taken) {
        for (; read < pieceCount && read < taken + PiecesAhead; ++read) {
            // The buffer's earlier piece has been taken by the stream; it must be hashed too.
            m_md5.waitForSpans(read - PiecesAhead + 1);
            char *piece = pieceData(read);
            const qint64 length = qMin(PieceSize, size - read * PieceSize);
            if (readFully(m_source, piece, length) != length)
                return readFailed();
            m_md5.addData(piece, length);
        }
        const qint64 end = qMin(size, (taken + 1) * PieceSize);
        const qint64 begin = taken * PieceSize;
        const StreamView view{pieceData(taken) - (begin - keptFrom), keptFrom, end, end == size};
        if (!m_stream.take(view))
            return false;
        if (view.atEnd)
            break;
        // What the stream still needs goes in front of the next piece, before its buffer
        // takes a piece read ahead.
        keptFrom = m_stream.keepFrom();
        std::memcpy(pieceData(taken + 1) - (end - keptFrom), view.at(keptFrom), size_t(end - keptFrom));
    }
    return m_stream.end();
}

char *ExportRun::pieceData(int piece)
{
    return m_pieces[piece % PiecesAhead].data() + PieceRoom;
}

bool ExportRun::readFailed()
{
    const QString reason = m_source.error() != QFileDevice::NoError
        ? m_source.errorString()
        : tr("Only %1 of its %2 bytes could be read.").arg(m_source.pos()).arg(m_sourceSize);
    qCWarning(lcKtlCypher, "Encrypted source file %s couldn't be read completely: %s",
              qUtf8Printable(m_job.sourceFile), qUtf8Printable(reason));
    m_report.fail(tr("Encrypted source file %1 couldn't be read completely. The error from the system is: %2")
                          .arg(m_job.sourceFile, reason),
                  tr("Check that the medium holding the file is still connected."));
    return false;
}

// The new table replaces an earlier one in one rename, so that the export folder never holds a
// table file that is not complete.
bool ExportRun::placeTableFile()
{
    if (m_table.commit()) {
        qCDebug(lcKtlCypher, "File successful decrypted and saved: %s", qUtf8Printable(m_tableFile));
        return true;
    }
    if (QFileInfo::exists(m_tableFile)) {
        qCWarning(lcKtlCypher, "A file with the name %s already exist and can't overwritten: %s",
                  qUtf8Printable(m_tableFile), qUtf8Printable(m_table.errorString()));
        m_report.fail(tr("A file with the name %1 already exist and can't overwritten.").arg(m_tableFile),
                      tr("Check if the file is open or if you have write permissions."));
    } else {
        qCWarning(lcKtlCypher, "File %s couldn´t create for saving data: %s", qUtf8Printable(m_tableFile),
                  qUtf8Printable(m_table.errorString()));
        m_report.fail(tr("File %1 couldn´t create for saving data.").arg(m_tableFile),
                      tr("Check if the file is open or if you have write permissions."));
    }
    return false;
}

// The description files are a courtesy to the auditor: without them the export still stands.
void ExportRun::saveDescription()
{
    if (!saveResource(m_exportFolder, QStringLiteral("gdpdu-01-09-2004.dtd"), m_report))
        m_report.fail(tr("DTD file couldn´t create successful!"), tr("Check your write permission for the saving location."));
    if (!saveResource(m_exportFolder, QStringLiteral("index.xml"), m_report))
        m_report.fail(tr("XML file couldn´t create successful!"), tr("Check your write permission for the saving location."));
}

bool ExportRun::saveResource(const QString &folder, const QString &fileName, ExportReport &report)
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
    report.fileSaved(file.fileName());
    return true;
}

QByteArray ExportRun::infoLine() const
{
    if (!m_job.indexInfoLine || m_job.rawDataOnly)
        return QByteArray();
    return indexInfoLineOf(m_analyser);
}

void ExportRun::report(const QByteArray &digest)
{
    bool indexError = false;
    const int messageCount = m_job.rawDataOnly ? 0 : reportIndex(&indexError);
    reportHash(digest, messageCount, indexError);
}

int ExportRun::reportIndex(bool *anyError)
{
    const QQueue<QPair<QString, bool>> messages = m_analyser.getIndexMessages();
    int messageCount = 0;
    for (const QPair<QString, bool> &message : messages) {
        *anyError = *anyError || message.second;
        m_report.message(message.first, message.second, ++messageCount);
    }
    return messageCount;
}

void ExportRun::reportHash(const QByteArray &digest, int messageCount, bool indexError)
{
    const QString formatted = HelperClass::convertToFormattedHexValue(digest);
    qCDebug(lcKtlCypher, "CALC MD5: %s", qUtf8Printable(formatted));
    if (m_job.rawDataOnly) {
        qCDebug(lcKtlCypher, "No indey value because only RAW data validation.");
        m_report.message(tr("Calculated hash value: %1").arg(formatted), false, messageCount + 1);
        return;
    }
    const QByteArray expected = m_analyser.getMD5Value();
    qCDebug(lcKtlCypher, "INDEX MD5: %s", qUtf8Printable(HelperClass::convertToFormattedHexValue(expected)));
    const QLatin1String lineBreak("<br>");
    if (digest == expected) {
        // After an index error the data is not vouched for, even though it is unaltered.
        const QString assurance = indexError ? QString() : tr("The data seems not corrupted!");
        m_report.message(tr("Hash value: OK") + lineBreak + assurance, false, messageCount + 1);
    } else {
        m_report.message(tr("Hash value: INVALID") + lineBreak + tr("The data could be corrupted!"), true,
                         messageCount + 1);
    }
}

} // namespace fiscora
