#ifndef FISCORA_INDEXFILEANALYSER_H
#define FISCORA_INDEXFILEANALYSER_H

#include "fiscora.h"

#include <QByteArray>
#include <QDate>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QPair>
#include <QQueue>
#include <QString>

namespace fiscora {

/*!
 * What is known about the index of one backup: a status for every month (January 2016 being
 * the first), where the data came from, the MD5 value of the backup body, the header version,
 * and the register's serial number and firmware version.
 *
 * The reader fills one while it writes a backup and stores it as the backup header; the
 * decryptor reads the header back and hands the analyser to the application.
 *
 * \code
 * IndexFileAnalyser analyser;
 * const int bodyOffset = analyser.readCompressIndex(backupBytes); // 0: no readable header
 * for (const auto &message : analyser.getIndexMessages())
 *     show(message.first, message.second);
 * \endcode
 *
 * A plain value class: copies are independent, and one instance is used by one thread at a time.
 */
class FISCORA_EXPORT IndexFileAnalyser
{
public:
    //! Where the data of a backup came from.
    enum IndexSource : int {
        SOURCE_SD = 10,     //!< read from an SD card or a backup folder
        SOURCE_SERIAL = 20, //!< read from the register over a serial line
        SOURCE_LAN = 30,    //!< read from the register over the network
        SOURCE_UNKNOWN = 99 //!< not determined
    };

    //! The verdict on one month.
    enum IndexStatus : int {
        INDEX_OK = 1,                     //!< outside the checked span, or index and data files agree
        INDEX_ERROR_FILE_MISSING = 2,     //!< the index announces data, but no data file was found
        INDEX_ERROR_FILE_EXIST = 3,       //!< a data file was found that the index does not announce
        INDEX_ERROR_INDEXFILE_MISSING = 4 //!< no readable index file, so the month cannot be judged
    };

    //! An empty map, SOURCE_UNKNOWN, 16 zero bytes of MD5 value, header version 2, and 20 zero
    //! bytes each of serial number and firmware version.
    IndexFileAnalyser();
    IndexFileAnalyser(const IndexFileAnalyser &other);
    IndexFileAnalyser &operator=(const IndexFileAnalyser &other);
    ~IndexFileAnalyser();

    /*!
     * Compares the register's index file at \a indexFilePath with the data files of \a fileList
     * and gives every month that the index covers a status; months outside the date span from
     * \a fromDate to \a toDate (as the reader takes it) are INDEX_OK. Replaces the month map and
     * sets the source to \a source.
     *
     * Returns false when the index file is missing or cannot be read; every month from January
     * 2016 to August 2186 is then INDEX_ERROR_INDEXFILE_MISSING.
     */
    bool checkA00IndexFile(const QString &indexFilePath, const QList<QFileInfo> &fileList, const QDate fromDate,
                           const QDate toDate, const IndexSource source);

    /*!
     * The backup header built from the current fields (header version 2): a two-byte big-endian
     * length L of what follows, the version byte, the source byte, the MD5 value, serial number,
     * firmware version and the run-length coded month map, 60 + map bytes in all.
     *
     * A header that would be longer than the 65535 bytes its length field can announce is not
     * built: the result is then empty, and the caller must treat that as a failure.
     */
    QByteArray getCompessIndex() const;

    /*!
     * Takes over the backup header at the start of \a data (versions 1 and 2) and returns the
     * offset of the backup body behind it, or 0 when \a data does not start with a readable
     * header; the fields are then unchanged, except that an unknown version byte has already
     * replaced header version, source and MD5 value.
     */
    int readCompressIndex(const QByteArray &data);

    /*!
     * The report on this index, in the order to show it: each entry a text (translated in the
     * context "QObject") and whether it reports a problem.
     */
    QQueue<QPair<QString, bool>> getIndexMessages() const;

    QMap<QDate, IndexStatus> getIndexMap() const;
    IndexSource getCurrentIndexSource() const;
    //! "SOURCE_SD", "SOURCE_SERIAL", "SOURCE_LAN", or "SOURCE_UNKNOWN" for any other value.
    QString getCurrenIndexSourceAsString() const;
    QByteArray getHeaderVersion() const;
    QByteArray getMD5Value() const;
    //! All 20 bytes, zero filling included.
    QByteArray getCRSerialnumber() const;
    //! All 20 bytes, zero filling included.
    QByteArray getCRFirmwareVersion() const;

    //! Stored as given, without a range test.
    void setIndexSource(IndexSource source);
    //! Stored as given; the header layout holds only for a 16-byte digest.
    void setMD5Value(QByteArray value);
    //! Filled up with zero bytes, or cut, to exactly 20 bytes.
    void setCRSerialnumber(QByteArray value);
    //! Filled up with zero bytes, or cut, to exactly 20 bytes.
    void setCRFirmwareVersion(QByteArray value);

private:
    QByteArray decryptIndexFile(const QByteArray &data);
    QByteArray compressIndexMap() const;
    bool setIndexMap(QByteArray header);
    QMap<QDate, IndexStatus> decompressIndexMap(QByteArray map);

    QMap<QDate, IndexStatus> m_indexMap;
    IndexSource m_indexSource;
    QByteArray m_MD5Value;
    QByteArray m_headerVersion;
    QByteArray m_CRSerialnumber;
    QByteArray m_CRFirmwareVersion;
};

//! The most bytes a backup header can take: its two-byte length field and the 65535 it announces.
constexpr int LongestBackupHeader = 2 + 0xFFFF;

//! A text field of a backup header (serial number, firmware version) without the zero bytes that
//! fill it up and without white space around it.
inline QString headerFieldText(const QByteArray &field)
{
    const int zero = field.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? field : field.left(zero)).trimmed();
}

} // namespace fiscora

Q_DECLARE_METATYPE(fiscora::IndexFileAnalyser)

#endif // FISCORA_INDEXFILEANALYSER_H
