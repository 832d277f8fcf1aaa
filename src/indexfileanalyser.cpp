#include "indexfileanalyser.h"

#include "aes_p.h"
#include "helperclass.h"
#include "logging_p.h"
#include "reading_p.h"

#include <QObject>

#include <algorithm>
#include <cstring>

namespace fiscora {

namespace {

constexpr int FixedFieldLength = 20;
constexpr int HeaderLengthFieldSize = 2;
constexpr int MaxHeaderLength = 0xFFFF;
constexpr int MaxRunLength = 255;
constexpr char EndOfMap = char(0xFF);
// Without a readable index file the check covers as many months as 256 bytes of index would.
constexpr int MissingIndexBytes = 256;
// The register encrypts its index file in pieces of this size, each chain starting anew.
constexpr int IndexPieceSize = 256;
// Months after December 9999 are not read: an index or a header that reaches beyond is damaged,
// and its months would cost time and memory without bound.
constexpr int MaxIndexMonths = (10000 - 2016) * 12;
// The file is read in whole blocks: a block cut short would decrypt to noise in place of the last
// months' bits.
constexpr int MaxIndexFileBytes = (MaxIndexMonths / 8 + AesBlockSize - 1) / AesBlockSize * AesBlockSize;

// The first month of every index: month 0 of the register's index file and of the backup header.
QDate firstIndexMonth()
{
    return QDate(2016, 1, 1);
}

// The register's index file, read whole; false when it is missing or cannot be read.
bool readIndexFile(const QString &path, QByteArray &contents)
{
    if (!QFile::exists(path)) {
        qCDebug(lcIndexFileAnalyser) << "NO INDEX-FILE FOUND";
        return false;
    }
    QFile file(path);
    // A FIFO would keep the job waiting for a writer, and a device such as /dev/zero never ends.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        qCDebug(lcIndexFileAnalyser) << "INDEX-FILE COULD NOT OPEN FOR READ.";
        return false;
    }
    // An index read in part would leave the months behind the break unjudged, as if the register
    // had written nothing then. Files such as those below /proc tell no size, so the reading
    // goes on to the end of the file or of the months that are read.
    contents = file.read(MaxIndexFileBytes);
    if (file.error() != QFileDevice::NoError || contents.size() < qMin<qint64>(file.size(), MaxIndexFileBytes)) {
        qCDebug(lcIndexFileAnalyser) << "INDEX-FILE COULD NOT READ:" << file.errorString();
        return false;
    }
    return true;
}

// The data file in which the register keeps the month, beside its index file in folder.
QString expectedDataFile(const QString &folder, const QDate &month)
{
    return folder + QString::number(month.year()) + QLatin1Char('/')
        + QStringLiteral("%1%2.a03")
              .arg(month.year() - 2000, 2, 10, QLatin1Char('0'))
              .arg(month.month(), 2, 10, QLatin1Char('0'));
}

// QFileInfo's equality also pairs two paths that both do not exist (their canonical paths are
// both empty), so a listed data file that has gone since would vouch for every missing month.
bool isListed(const QList<QFileInfo> &fileList, const QString &path)
{
    const QFileInfo expected(path);
    const bool exists = expected.exists();
    return std::any_of(fileList.cbegin(), fileList.cend(), [&](const QFileInfo &entry) {
        return entry.filePath() == expected.filePath() || (exists && entry == expected);
    });
}

// The verdict on one month of an index file that could be read.
struct MonthCheck
{
    QString folder; // the index file's folder, with "/" behind it
    const QList<QFileInfo> &fileList;
    QDate fromDate;
    QDate toDate;

    IndexFileAnalyser::IndexStatus status(const QDate &month, bool announced, quint16 counter) const
    {
        if (!isInDateSpan(month, fromDate, toDate)) {
            qCDebug(lcIndexFileAnalyser) << "C:" << counter << "INDEX_OK: " << month.month() << "/" << month.year();
            return IndexFileAnalyser::INDEX_OK;
        }
        const QString path = expectedDataFile(folder, month);
        const bool found = isListed(fileList, path);
        if (announced && found) {
            qCDebug(lcIndexFileAnalyser) << "C:" << counter << "INDEX_OK: " << path;
            return IndexFileAnalyser::INDEX_OK;
        }
        if (announced) {
            qCDebug(lcIndexFileAnalyser) << "C:" << counter << "INDEX_ERROR_FILE_MISSING: " << path;
            return IndexFileAnalyser::INDEX_ERROR_FILE_MISSING;
        }
        if (found) {
            qCDebug(lcIndexFileAnalyser) << "C:" << counter << "INDEX_ERROR_FILE_EXIST: " << path;
            return IndexFileAnalyser::INDEX_ERROR_FILE_EXIST;
        }
        qCDebug(lcIndexFileAnalyser) << "C:" << counter << "INDEX_OK: " << month.month() << "/" << month.year();
        return IndexFileAnalyser::INDEX_OK;
    }
};

// Calls take(count, status) for each run of a compressed index map, up to its end mark. A lone
// count byte at the end of an odd-length map has no status and is ignored.
template <typename Take>
void forEachRun(const QByteArray &map, Take take)
{
    for (int position = 0; position + 1 < map.size(); position += 2) {
        if (map.at(position + 1) == EndOfMap)
            return;
        // Older writers wrote a run of 256 months or more with its length modulo 256.
        const int count = static_cast<quint8>(map.at(position));
        take(count == 0 ? MaxRunLength : count,
             static_cast<IndexFileAnalyser::IndexStatus>(static_cast<qint8>(map.at(position + 1))));
    }
}

bool endsBeforeYear10000(const QByteArray &map)
{
    qint64 months = 0;
    forEachRun(map, [&months](int count, IndexFileAnalyser::IndexStatus) { months += count; });
    return months <= MaxIndexMonths;
}

} // namespace

IndexFileAnalyser::IndexFileAnalyser()
    : m_indexSource(SOURCE_UNKNOWN)
    , m_MD5Value(16, '\0')
    , m_headerVersion(1, '\x02')
    , m_CRSerialnumber(FixedFieldLength, '\0')
    , m_CRFirmwareVersion(FixedFieldLength, '\0')
{
}

IndexFileAnalyser::IndexFileAnalyser(const IndexFileAnalyser &other) = default;
IndexFileAnalyser &IndexFileAnalyser::operator=(const IndexFileAnalyser &other) = default;
IndexFileAnalyser::~IndexFileAnalyser() = default;

bool IndexFileAnalyser::checkA00IndexFile(const QString &indexFilePath, const QList<QFileInfo> &fileList,
                                          const QDate fromDate, const QDate toDate, const IndexSource source)
{
    qCDebug(lcIndexFileAnalyser).noquote() << "Check index file: " << indexFilePath;
    m_indexMap.clear();
    m_indexSource = source;

    QByteArray contents;
    const bool indexRead = readIndexFile(indexFilePath, contents);
    const QByteArray bitmap = decryptIndexFile(contents);
    const int monthCount = qMin(8 * (indexRead ? bitmap.size() : MissingIndexBytes), MaxIndexMonths);
    const MonthCheck check{QFileInfo(indexFilePath).path() + QLatin1Char('/'), fileList, fromDate, toDate};
    QDate month = firstIndexMonth();
    quint16 counter = 1;
    for (int number = 0; number < monthCount; ++number, month = month.addMonths(1), ++counter) {
        if (!indexRead) {
            qCDebug(lcIndexFileAnalyser) << "C:" << counter << "INDEX_ERROR_INDEXFILE_MISSING";
            m_indexMap.insert(month, INDEX_ERROR_INDEXFILE_MISSING);
            continue;
        }
        // Bit j of byte i stands for month 8 * i + j, the least significant bit first.
        const bool announced = (static_cast<quint8>(bitmap.at(number / 8)) >> (number % 8)) & 1;
        m_indexMap.insert(month, check.status(month, announced, counter));
    }
    return indexRead;
}

QByteArray IndexFileAnalyser::decryptIndexFile(const QByteArray &data)
{
    QByteArray bitmap;
    for (int position = 0; position < data.size();) {
        quint8 window[IndexPieceSize] = {};
        const int length = qMin(IndexPieceSize, data.size() - position);
        std::memcpy(window, data.constData() + position, static_cast<size_t>(length));
        // A tail of fewer than 16 bytes is completed with the window's zero bytes to one block.
        const int decrypted = decryptBuffer(window, length);
        bitmap.append(reinterpret_cast<const char *>(window), decrypted);
        position += decrypted;
    }
    return bitmap;
}

QByteArray IndexFileAnalyser::getCompessIndex() const
{
    QByteArray header = m_headerVersion;
    header.append(static_cast<char>(m_indexSource & 0xFF));
    header.append(m_MD5Value);
    header.append(m_CRSerialnumber);
    header.append(m_CRFirmwareVersion);
    if (!m_indexMap.isEmpty())
        header.append(compressIndexMap());
    // A length that does not fit the 16-bit field would make readers cut the header at the
    // wrong place, so such a header is not built at all.
    if (header.size() > MaxHeaderLength)
        return QByteArray();
    header.prepend(HelperClass::convertIntToByteArray(header.size()));
    return header;
}

QByteArray IndexFileAnalyser::compressIndexMap() const
{
    QByteArray map;
    // A count byte holds at most 255 months, so a longer run is split into runs of 255 and a
    // remainder; a count of 0 is never written.
    const auto appendRun = [&map](int length, IndexStatus status) {
        for (; length > 0; length -= MaxRunLength) {
            map.append(static_cast<char>(qMin(length, MaxRunLength)));
            map.append(static_cast<char>(status & 0xFF));
        }
    };

    int runLength = 0;
    IndexStatus runStatus = INDEX_OK;
    // The keys are not written: the n-th entry stands for the n-th month from January 2016.
    for (auto it = m_indexMap.cbegin(); it != m_indexMap.cend(); ++it) {
        qCDebug(lcIndexFileAnalyser).nospace() << "Date: " << it.key() << " Status: " << int(it.value());
        if (runLength > 0 && it.value() == runStatus) {
            ++runLength;
            continue;
        }
        appendRun(runLength, runStatus);
        runLength = 1;
        runStatus = it.value();
    }
    appendRun(runLength, runStatus);
    return map;
}

int IndexFileAnalyser::readCompressIndex(const QByteArray &data)
{
    const int length = HelperClass::convertByteArrayToInt(data.left(HeaderLengthFieldSize));
    const int headerSize = length + HeaderLengthFieldSize;
    return setIndexMap(data.left(headerSize)) ? headerSize : 0;
}

bool IndexFileAnalyser::setIndexMap(QByteArray header)
{
    // A header ends no sooner than behind its source byte.
    if (header.size() < 4)
        return false;
    if (HelperClass::convertByteArrayToInt(header.left(HeaderLengthFieldSize)) != header.size() - HeaderLengthFieldSize)
        return false;
    const char version = header.at(2);
    if ((version == 1 || version == 2) && !endsBeforeYear10000(header.mid(version == 1 ? 20 : 60)))
        return false;

    m_headerVersion = header.mid(2, 1);
    m_indexSource = static_cast<IndexSource>(static_cast<qint8>(header.at(3)));
    m_MD5Value = header.mid(4, 16);

    switch (m_headerVersion.at(0)) {
    case 1:
        m_indexMap = decompressIndexMap(header.mid(20));
        return true;
    case 2:
        m_CRSerialnumber = header.mid(20, FixedFieldLength);
        m_CRFirmwareVersion = header.mid(40, FixedFieldLength);
        m_indexMap = decompressIndexMap(header.mid(60));
        return true;
    default:
        return false;
    }
}

QMap<QDate, IndexFileAnalyser::IndexStatus> IndexFileAnalyser::decompressIndexMap(QByteArray map)
{
    QMap<QDate, IndexStatus> result;
    QDate month = firstIndexMonth();
    forEachRun(map, [&](int count, IndexStatus status) {
        // The months come in order, so each goes to the end of the map at once.
        for (; count > 0; --count, month = month.addMonths(1))
            result.insert(result.cend(), month, status);
    });
    return result;
}

QQueue<QPair<QString, bool>> IndexFileAnalyser::getIndexMessages() const
{
    QQueue<QPair<QString, bool>> messages;
    switch (m_indexSource) {
    case SOURCE_SD:
        messages.enqueue({QObject::tr("The data was created by reading from SD-Card or Backup."), false});
        break;
    case SOURCE_SERIAL:
        messages.enqueue({QObject::tr("The data was reading from the cash register over serial communication."), false});
        break;
    case SOURCE_LAN:
        messages.enqueue({QObject::tr("The data was reading from the cash register over LAN."), false});
        break;
    case SOURCE_UNKNOWN:
        messages.enqueue({QObject::tr("Source of the data couldn´t determine."), true});
        break;
    }

    // Both texts end at their first zero byte.
    const QString serialNumber = QString::fromLatin1(m_CRSerialnumber.constData());
    if (!serialNumber.isEmpty())
        messages.enqueue({QObject::tr("Serialnumber of the cash register: %1").arg(serialNumber), false});
    const QString firmwareVersion = QString::fromLatin1(m_CRFirmwareVersion.constData());
    if (!firmwareVersion.isEmpty())
        messages.enqueue({QObject::tr("Firmwareversion of the cash register: %1").arg(firmwareVersion), false});

    // Only an SD card or backup folder comes with an index to vouch for the data.
    if (m_indexSource != SOURCE_SD)
        return messages;
    if (m_indexMap.isEmpty()) {
        messages.enqueue({QObject::tr("For the data was not Index file written, so the validity can't determine."), true});
        return messages;
    }

    bool fileMissing = false;
    bool indexFileMissing = false;
    for (auto it = m_indexMap.cbegin(); it != m_indexMap.cend(); ++it) {
        if (it.value() == INDEX_ERROR_FILE_MISSING) {
            fileMissing = true;
            messages.enqueue({QObject::tr("INDEX ERROR: The file for the date %1 is missing.")
                                  .arg(it.key().toString(QStringLiteral("MM/yyyy"))),
                              true});
        } else if (it.value() == INDEX_ERROR_INDEXFILE_MISSING) {
            indexFileMissing = true;
        }
    }
    // A data file that the index does not announce is not reported.
    if (indexFileMissing)
        messages.enqueue({QObject::tr("INDEX ERROR: For the complete dataset exist no Index file, the validity can´t determine."), true});
    else if (!fileMissing)
        messages.enqueue({QObject::tr("The data index is correct, no issues recognised."), false});
    return messages;
}

QMap<QDate, IndexFileAnalyser::IndexStatus> IndexFileAnalyser::getIndexMap() const
{
    return m_indexMap;
}

IndexFileAnalyser::IndexSource IndexFileAnalyser::getCurrentIndexSource() const
{
    return m_indexSource;
}

QString IndexFileAnalyser::getCurrenIndexSourceAsString() const
{
    switch (m_indexSource) {
    case SOURCE_SD:
        return QStringLiteral("SOURCE_SD");
    case SOURCE_SERIAL:
        return QStringLiteral("SOURCE_SERIAL");
    case SOURCE_LAN:
        return QStringLiteral("SOURCE_LAN");
    default:
        return QStringLiteral("SOURCE_UNKNOWN");
    }
}

QByteArray IndexFileAnalyser::getHeaderVersion() const
{
    return m_headerVersion;
}

QByteArray IndexFileAnalyser::getMD5Value() const
{
    return m_MD5Value;
}

QByteArray IndexFileAnalyser::getCRSerialnumber() const
{
    return m_CRSerialnumber;
}

QByteArray IndexFileAnalyser::getCRFirmwareVersion() const
{
    return m_CRFirmwareVersion;
}

void IndexFileAnalyser::setIndexSource(IndexSource source)
{
    m_indexSource = source;
}

void IndexFileAnalyser::setMD5Value(QByteArray value)
{
    m_MD5Value = value;
}

void IndexFileAnalyser::setCRSerialnumber(QByteArray value)
{
    m_CRSerialnumber = value.leftJustified(FixedFieldLength, '\0', true);
}

void IndexFileAnalyser::setCRFirmwareVersion(QByteArray value)
{
    m_CRFirmwareVersion = value.leftJustified(FixedFieldLength, '\0', true);
}

} // namespace fiscora
