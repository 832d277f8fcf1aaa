// The index model: its fields, the backup header it writes and reads, the report it gives, and
// the check of a register's index file against the data files found for a date span.

#include "fixtures.h"

#include <fiscora/helperclass.h>
#include <fiscora/indexfileanalyser.h>

#include <samplecipher.h>

#include <QtTest>

#include <sys/stat.h>

using fiscora::HelperClass;
using fiscora::IndexFileAnalyser;
using fiscora::sample::encryptIndexFile;
using Status = IndexFileAnalyser::IndexStatus;
using IndexMap = QMap<QDate, Status>;
using Messages = QList<QPair<QString, bool>>;

Q_DECLARE_METATYPE(IndexMap)
Q_DECLARE_METATYPE(Messages)

namespace {

constexpr auto Ok = IndexFileAnalyser::INDEX_OK;
constexpr auto Missing = IndexFileAnalyser::INDEX_ERROR_FILE_MISSING;
constexpr auto Exists = IndexFileAnalyser::INDEX_ERROR_FILE_EXIST;
constexpr auto NoIndex = IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING;

const QByteArray serialNumber = QByteArrayLiteral("12345678");
const QByteArray md5 = QByteArray::fromHex("00112233445566778899aabbccddeeff");
// What a new analyser writes: version 2, unknown source (99), every other field zero, no map.
const QByteArray newHeader = QByteArray::fromHex("003a0263") + QByteArray(56, '\0');

// A header around the given compressed map, built by hand so that reading is tested against the
// byte layout rather than against the writer. Version 1 has no serial number and firmware fields.
QByteArray header(const QByteArray &map, char source = 10, const QByteArray &serial = serialNumber,
                  const QByteArray &firmware = QByteArray(), char version = 2)
{
    QByteArray header = QByteArray(1, version) + QByteArray(1, source) + md5;
    if (version == 2)
        header += serial.leftJustified(20, '\0', true) + firmware.leftJustified(20, '\0', true);
    return HelperClass::convertIntToByteArray(header.size() + map.size()) + header + map;
}

QByteArray pairs(std::initializer_list<std::pair<int, int>> runs)
{
    QByteArray map;
    for (const auto &run : runs)
        map.append(static_cast<char>(run.first)).append(static_cast<char>(run.second));
    return map;
}

//! \a count months from January 2016 of \a status, but for the given month numbers.
IndexMap months(int count, Status status = Ok, std::initializer_list<std::pair<int, Status>> others = {})
{
    IndexMap map;
    for (int i = 0; i < count; ++i)
        map.insert(QDate(2016, 1, 1).addMonths(i), status);
    for (const auto &other : others)
        map.insert(QDate(2016, 1, 1).addMonths(other.first), other.second);
    return map;
}

} // namespace

class IndexFileAnalyserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void accessors();

    void headers_data();
    void headers();
    void unreadableIndexFile_data();
    void unreadableIndexFile();
    void indexMessages_data();
    void indexMessages();

    void checkedMonths_data();
    void checkedMonths();
};

void IndexFileAnalyserTest::initTestCase()
{
    // Writing a header and checking an index log one debug line a month.
    QLoggingCategory::setFilterRules(QStringLiteral("indexfileanalyser.debug=false"));
}

void IndexFileAnalyserTest::accessors()
{
    IndexFileAnalyser analyser;
    QCOMPARE(analyser.getCompessIndex(), newHeader);
    analyser.setCRSerialnumber(serialNumber);
    QCOMPARE(analyser.getCRSerialnumber(), serialNumber + QByteArray(12, '\0'));
    analyser.setCRFirmwareVersion("ABCDEFGHIJKLMNOPQRSTUVWXY");
    QCOMPARE(analyser.getCRFirmwareVersion(), QByteArray("ABCDEFGHIJKLMNOPQRST"));

    const QList<QPair<int, QString>> sources{{IndexFileAnalyser::SOURCE_SD, "SOURCE_SD"},
        {IndexFileAnalyser::SOURCE_SERIAL, "SOURCE_SERIAL"}, {IndexFileAnalyser::SOURCE_LAN, "SOURCE_LAN"},
        {IndexFileAnalyser::SOURCE_UNKNOWN, "SOURCE_UNKNOWN"}, {42, "SOURCE_UNKNOWN"}};
    for (const auto &[source, text] : sources) {
        analyser.setIndexSource(IndexFileAnalyser::IndexSource(source));
        QCOMPARE(analyser.getCurrenIndexSourceAsString(), text);
    }
}

// Each row reads data and writes the header back, so that the writer sees only the map that a read
// put there. A header is read up to its end, whatever follows it; data that does not begin with a
// readable header leaves every field as it was, but that an unknown version byte has replaced
// version, source and MD5 value.
void IndexFileAnalyserTest::headers_data()
{
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<IndexMap>("expected");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("runs of one status are joined") << header(pairs({{16, 1}, {22, 1}, {1, 2}, {9, 1}})) << true
                                                  << months(48, Ok, {{38, Missing}})
                                                  << header(pairs({{38, 1}, {1, 2}, {9, 1}}));
    QTest::newRow("a count of 0 reads as 255") << header(pairs({{0, 4}})) << true << months(255, NoIndex)
                                               << header(pairs({{255, 4}}));
    QTest::newRow("status 0xFF ends the map") << header(pairs({{1, 3}, {7, 0xFF}, {2, 2}})) << true
                                              << months(1, Exists) << header(pairs({{1, 3}}));
    QTest::newRow("odd length: a lone count byte is ignored")
        << header(pairs({{2, 1}}) + QByteArray(1, '\x05')) << true << months(2) << header(pairs({{2, 1}}));
    QTest::newRow("empty map") << header(QByteArray()) << true << IndexMap() << header(QByteArray());
    QByteArray versionOne = header(pairs({{2, 1}, {1, 2}}), 10, QByteArray());
    versionOne[2] = '\x01';
    QTest::newRow("version 1 gains the fields") << header(pairs({{2, 1}, {1, 2}}), 10, {}, {}, 1) << true
                                                << months(3, Ok, {{2, Missing}}) << versionOne;
    // Runs of one month each, alternately present and missing.
    const QByteArray runs = pairs({{1, 1}, {1, 2}}).repeated(16370).left(65478);
    IndexMap alternating = months(32738);
    for (int month = 1; month < 32738; month += 2)
        alternating[QDate(2016, 1, 1).addMonths(month)] = Missing;
    // Both bytes of the length field 0xFFFE are above 0x7F: the field is unsigned.
    QTest::newRow("header of L 65534 written back whole") << header(runs.chopped(2)) << true << alternating
                                                          << header(runs.chopped(2));
    // Written back, version 1 gains 40 bytes of fields: L 65536.
    alternating.insert(QDate(2016, 1, 1).addMonths(32738), Ok);
    QTest::newRow("header longer than 65535 not written") << header(runs, 10, {}, {}, 1) << true << alternating
                                                          << QByteArray();
    // January 2016 to December 9999: 375 runs of 255 months and one of 183.
    const QByteArray upTo9999 = pairs({{255, 1}}).repeated(375) + pairs({{183, 1}});
    QTest::newRow("months up to December 9999") << header(upTo9999) << true << months((10000 - 2016) * 12)
                                                << header(upTo9999);

    QByteArray unknownVersion = header(QByteArray(), 10, QByteArray());
    unknownVersion[2] = '\x03';
    QTest::newRow("3 bytes: no source byte") << QByteArray::fromHex("000102") << false << IndexMap() << newHeader;
    QTest::newRow("shorter than its length field says") << header(pairs({{12, 1}})).chopped(1) << false << IndexMap()
                                                         << newHeader;
    QTest::newRow("unknown version") << header(pairs({{12, 1}}), 10, serialNumber, {}, 3) << false << IndexMap()
                                     << unknownVersion;
    QTest::newRow("one month after December 9999")
        << header(pairs({{255, 1}}).repeated(375) + pairs({{184, 1}})) << false << IndexMap() << newHeader;
    QTest::newRow("8.3 million months") << header(pairs({{0, 2}}).repeated(32737)) << false << IndexMap() << newHeader;
}

void IndexFileAnalyserTest::headers()
{
    QFETCH(QByteArray, read);
    QFETCH(bool, readable);
    QFETCH(IndexMap, expected);
    QFETCH(QByteArray, written);
    IndexFileAnalyser analyser;
    QCOMPARE(analyser.readCompressIndex(readable ? read + "body" : read), readable ? read.size() : 0);
    QCOMPARE(analyser.getHeaderVersion(), (readable ? read : written).mid(2, 1));
    QCOMPARE(analyser.getIndexMap(), expected);
    QCOMPARE(analyser.getCompessIndex(), written);
}

// Without a readable index file no month can be judged, whatever the span and the files: 2048
// months are marked.
void IndexFileAnalyserTest::unreadableIndexFile_data()
{
    QTest::addColumn<QString>("linkTarget");
    QTest::newRow("missing") << QString();
    QTest::newRow("cannot be opened") << "/proc/sys/vm/drop_caches";
    QTest::newRow("read breaks off") << "/proc/self/mem";
    QTest::newRow("FIFO, not waited for") << "fifo";
    QTest::newRow("device, not read for ever") << "/dev/zero";
}

void IndexFileAnalyserTest::unreadableIndexFile()
{
    QFETCH(QString, linkTarget);
    if (!linkTarget.isEmpty() && linkTarget != "fifo" && !QFile::exists(linkTarget))
        QSKIP("This system has no such file to link to.");
    QTemporaryDir dir;
    const QString indexFile = dir.filePath(QStringLiteral("12345678.a00"));
    const QString dataFile = dir.filePath(QStringLiteral("2019/1901.a03"));
    if (linkTarget == "fifo")
        QVERIFY(::mkfifo(QFile::encodeName(indexFile).constData(), 0600) == 0);
    else
        QVERIFY(linkTarget.isEmpty() || QFile::link(linkTarget, indexFile));
    QVERIFY_DONE(writeFile(dataFile, "records"));
    IndexFileAnalyser analyser;
    QVERIFY(!analyser.checkA00IndexFile(indexFile, {QFileInfo(dataFile)}, QDate(2019, 1, 1), QDate(),
                                        IndexFileAnalyser::SOURCE_SD));
    QCOMPARE(analyser.getIndexMap(), months(2048, NoIndex));
}

void IndexFileAnalyserTest::indexMessages_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<Messages>("messages");

    const auto message = [](const char *text, bool isError) { return qMakePair(QString::fromUtf8(text), isError); };
    const auto sd = message("The data was created by reading from SD-Card or Backup.", false);
    const auto serial = message("Serialnumber of the cash register: 12345678", false);
    const auto correct = message("The data index is correct, no issues recognised.", false);
    const auto noIndexFile = message("INDEX ERROR: For the complete dataset exist no Index file, "
                                     "the validity can´t determine.", true);
    const auto missing = [](const char *month) {
        return qMakePair(QStringLiteral("INDEX ERROR: The file for the date %1 is missing.").arg(month), true);
    };

    QTest::newRow("default analyser") << IndexFileAnalyser().getCompessIndex()
                                      << Messages({message("Source of the data couldn´t determine.", true)});
    QTest::newRow("SD, no problems") << header(pairs({{38, 1}, {1, 3}, {9, 1}})) << Messages({sd, serial, correct});
    QTest::newRow("SD, two months missing") << header(pairs({{38, 1}, {1, 2}, {3, 1}, {1, 2}, {5, 1}}))
                                            << Messages({sd, serial, missing("03/2019"), missing("07/2019")});
    QTest::newRow("SD, both kinds of problems")
        << header(pairs({{2, 2}, {3, 4}, {1, 2}}))
        << Messages({sd, serial, missing("01/2016"), missing("02/2016"), missing("06/2016"), noIndexFile});
    QTest::newRow("SD, empty map") << header(QByteArray(), 10, QByteArray())
        << Messages({sd, message("For the data was not Index file written, so the validity can't determine.", true)});
    QTest::newRow("LAN with firmware, problems not reported")
        << header(pairs({{2, 2}, {3, 4}}), 30, serialNumber, "V2.01")
        << Messages({message("The data was reading from the cash register over LAN.", false), serial,
                     message("Firmwareversion of the cash register: V2.01", false)});
    QTest::newRow("serial line") << header(pairs({{1, 1}}), 20, QByteArray())
        << Messages({message("The data was reading from the cash register over serial communication.", false)});
}

void IndexFileAnalyserTest::indexMessages()
{
    QFETCH(QByteArray, header);
    QFETCH(Messages, messages);
    IndexFileAnalyser analyser;
    QCOMPARE(analyser.readCompressIndex(header), header.size());
    QCOMPARE(analyser.getIndexMessages(), messages);
}

// Listed data files are created in the register's folder; those listed from another folder are not.
void IndexFileAnalyserTest::checkedMonths_data()
{
    QTest::addColumn<QByteArray>("indexFile");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<IndexMap>("expected");

    // Bits 0 and 2: January and March 2016 announced.
    const QByteArray marchAndJanuary = encryptIndexFile(QByteArray::fromHex("05").leftJustified(16, '\0'));
    const QStringList januaryFebruary{"2016/1601.a03", "2016/1602.a03"};
    const QDate noDate;
    QTest::newRow("bits 0 and 2, no span") << marchAndJanuary << januaryFebruary << noDate << noDate
                                           << months(128, Ok, {{1, Exists}, {2, Missing}});
    QTest::newRow("span from April leaves out January to March")
        << marchAndJanuary << januaryFebruary + QStringList{"2016/1605.a03"} << QDate(2016, 4, 1)
        << QDate(2016, 12, 31) << months(128, Ok, {{4, Exists}});
    QTest::newRow("data files of another folder are not found")
        << marchAndJanuary << QStringList{"../copy/2016/1601.a03", "../copy/2016/1603.a03"} << noDate << noDate
        << months(128, Ok, {{0, Missing}, {2, Missing}});
    QByteArray secondPiece(272, '\0');
    secondPiece[0] = '\x01';
    secondPiece[258] = '\x02';
    QTest::newRow("second piece of the index") << encryptIndexFile(secondPiece) << QStringList{"2016/1601.a03"}
                                              << noDate << noDate << months(2176, Ok, {{2065, Missing}});
    // toDate alone judges no month, so that only the length counts: every 16 bytes of index
    // file, a tail of fewer included, carry 128 months.
    QTest::newRow("empty index file") << QByteArray() << QStringList() << noDate << QDate(2016, 1, 1) << IndexMap();
    QTest::newRow("20-byte index file") << QByteArray(20, 'Z') << QStringList() << noDate << QDate(2016, 1, 1)
                                        << months(256);
    QTest::newRow("a piece and 44 bytes") << QByteArray(300, 'Z') << QStringList() << noDate << QDate(2016, 1, 1)
                                          << months(2432);
    QTest::newRow("read up to December 9999") << QByteArray(20000, 'Z') << QStringList() << noDate
                                              << QDate(2016, 1, 1) << months((10000 - 2016) * 12);
    // The bits of the last months lie in a block that the read must take whole.
    constexpr int monthsTo9999 = (10000 - 2016) * 12;
    QByteArray december9999(monthsTo9999 / 8 + 24, '\0');
    december9999[monthsTo9999 / 8 - 1] = '\x80';
    QTest::newRow("December 9999 announced, the index reaching beyond")
        << encryptIndexFile(december9999) << QStringList() << noDate << noDate
        << months(monthsTo9999, Ok, {{monthsTo9999 - 1, Missing}});
}

void IndexFileAnalyserTest::checkedMonths()
{
    QFETCH(QByteArray, indexFile);
    QFETCH(QStringList, files);
    QFETCH(QDate, fromDate);
    QFETCH(QDate, toDate);
    QFETCH(IndexMap, expected);
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/12345678/");
    QVERIFY_DONE(writeFile(folder + QStringLiteral("12345678.a00"), indexFile));
    QList<QFileInfo> fileList;
    for (const QString &file : files) {
        if (!file.startsWith(QLatin1String("../")))
            QVERIFY_DONE(writeFile(folder + file, "records"));
        fileList << QFileInfo(folder + file);
    }
    IndexFileAnalyser analyser;
    QVERIFY(analyser.checkA00IndexFile(folder + QStringLiteral("12345678.a00"), fileList, fromDate, toDate,
                                       IndexFileAnalyser::SOURCE_LAN));
    QCOMPARE(analyser.getIndexMap(), expected);
    QCOMPARE(analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_LAN);
}

QTEST_GUILESS_MAIN(IndexFileAnalyserTest)
#include "tst_indexfileanalyser.moc"
