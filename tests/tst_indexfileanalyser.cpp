// The index model: its fields, the backup header it writes and reads, the report it gives, and
// the check of a register's index file against the data files found for a date span.

#include "fixtures.h"

#include <samplecipher.h>

#include <QtTest>

using fiscora::HelperClass;
using fiscora::IndexFileAnalyser;
using Status = IndexFileAnalyser::IndexStatus;
using IndexMap = QMap<QDate, Status>;
using Messages = QList<QPair<QString, bool>>;

Q_DECLARE_METATYPE(IndexFileAnalyser::IndexSource)
Q_DECLARE_METATYPE(IndexMap)
Q_DECLARE_METATYPE(Messages)

namespace {

constexpr auto Ok = IndexFileAnalyser::INDEX_OK;
constexpr auto Missing = IndexFileAnalyser::INDEX_ERROR_FILE_MISSING;
constexpr auto Exists = IndexFileAnalyser::INDEX_ERROR_FILE_EXIST;
constexpr auto NoIndex = IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING;

const QByteArray serialNumber = QByteArrayLiteral("12345678");
const QByteArray md5 = QByteArray::fromHex("00112233445566778899aabbccddeeff");

// A version-2 header around the given compressed map, built by hand so that reading is tested
// against the byte layout rather than against the writer.
QByteArray headerV2(const QByteArray &map, char source = 10, const QByteArray &serial = serialNumber,
                    const QByteArray &firmware = QByteArray())
{
    QByteArray header = QByteArray(1, '\x02') + QByteArray(1, source) + md5
        + serial.leftJustified(20, '\0', true) + firmware.leftJustified(20, '\0', true) + map;
    return HelperClass::convertIntToByteArray(header.size()) + header;
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

IndexFileAnalyser analyserFrom(const QByteArray &header)
{
    IndexFileAnalyser analyser;
    if (analyser.readCompressIndex(header) != header.size())
        qFatal("fixture header not accepted");
    return analyser;
}

} // namespace

class IndexFileAnalyserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void defaults();
    void fixedFields_data();
    void fixedFields();
    void sourceAsString_data();
    void sourceAsString();

    void writtenMap_data();
    void writtenMap();
    void readMap_data();
    void readMap();
    void roundTrip();
    void readFailureKeepsFields_data();
    void readFailureKeepsFields();
    void unknownVersionReplacesLeadingFields();
    void versionOneHeader();
    void shortVersionTwoHeader();

    void indexMessages_data();
    void indexMessages();

    void checkedMonths_data();
    void checkedMonths();
    void indexFileLengths_data();
    void indexFileLengths();
    void unreadableIndex_data();
    void unreadableIndex();
};

void IndexFileAnalyserTest::initTestCase()
{
    // Writing a header and checking an index log one debug line a month.
    QLoggingCategory::setFilterRules(QStringLiteral("indexfileanalyser.debug=false"));
}

void IndexFileAnalyserTest::defaults()
{
    const IndexFileAnalyser analyser;
    QVERIFY(analyser.getIndexMap().isEmpty());
    QCOMPARE(analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_UNKNOWN);
    QCOMPARE(analyser.getHeaderVersion(), QByteArray(1, '\x02'));
    QCOMPARE(analyser.getMD5Value(), QByteArray(16, '\0'));
    QCOMPARE(analyser.getCRSerialnumber(), QByteArray(20, '\0'));
    QCOMPARE(analyser.getCRFirmwareVersion(), QByteArray(20, '\0'));
}

void IndexFileAnalyserTest::fixedFields_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("eight digits") << serialNumber << serialNumber + QByteArray(12, '\0');
    QTest::newRow("25 bytes cut to 20") << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXY") << QByteArray("ABCDEFGHIJKLMNOPQRST");
    QTest::newRow("empty") << QByteArray() << QByteArray(20, '\0');
}

void IndexFileAnalyserTest::fixedFields()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, stored);
    IndexFileAnalyser analyser;
    analyser.setCRSerialnumber(value);
    analyser.setCRFirmwareVersion(value);
    QCOMPARE(analyser.getCRSerialnumber(), stored);
    QCOMPARE(analyser.getCRFirmwareVersion(), stored);
}

void IndexFileAnalyserTest::sourceAsString_data()
{
    QTest::addColumn<IndexFileAnalyser::IndexSource>("source");
    QTest::addColumn<QString>("text");
    QTest::newRow("SD") << IndexFileAnalyser::SOURCE_SD << QStringLiteral("SOURCE_SD");
    QTest::newRow("serial") << IndexFileAnalyser::SOURCE_SERIAL << QStringLiteral("SOURCE_SERIAL");
    QTest::newRow("LAN") << IndexFileAnalyser::SOURCE_LAN << QStringLiteral("SOURCE_LAN");
    QTest::newRow("unknown") << IndexFileAnalyser::SOURCE_UNKNOWN << QStringLiteral("SOURCE_UNKNOWN");
    QTest::newRow("0 is no enumerator") << IndexFileAnalyser::IndexSource(0) << QStringLiteral("SOURCE_UNKNOWN");
    QTest::newRow("42 is no enumerator") << IndexFileAnalyser::IndexSource(42) << QStringLiteral("SOURCE_UNKNOWN");
}

void IndexFileAnalyserTest::sourceAsString()
{
    QFETCH(IndexFileAnalyser::IndexSource, source);
    QFETCH(QString, text);
    IndexFileAnalyser analyser;
    analyser.setIndexSource(source);
    QCOMPARE(analyser.getCurrentIndexSource(), source);
    QCOMPARE(analyser.getCurrenIndexSourceAsString(), text);
}

// The writer sees only the map that a header read put there, so each row reads one map and
// checks the map that comes out of the next header.
void IndexFileAnalyserTest::writtenMap_data()
{
    QTest::addColumn<QByteArray>("readMap");
    QTest::addColumn<QByteArray>("writtenMap");
    QTest::newRow("no months, no runs") << QByteArray() << QByteArray();
    QTest::newRow("runs of one status are joined") << pairs({{16, 1}, {22, 1}, {1, 2}, {9, 1}})
                                                  << pairs({{38, 1}, {1, 2}, {9, 1}});
    QTest::newRow("300 months are split, not cut to 44") << pairs({{255, 1}, {45, 1}})
                                                         << pairs({{255, 1}, {45, 1}});
    QTest::newRow("255 months stay one run") << pairs({{0, 3}}) << pairs({{255, 3}});
    QTest::newRow("256 months are 255 and 1") << pairs({{0, 3}, {1, 3}}) << pairs({{255, 3}, {1, 3}});
    QTest::newRow("a map ends at status 0xFF") << pairs({{2, 1}, {5, 0xFF}, {3, 2}}) << pairs({{2, 1}});
}

void IndexFileAnalyserTest::writtenMap()
{
    QFETCH(QByteArray, readMap);
    QFETCH(QByteArray, writtenMap);
    QCOMPARE(analyserFrom(headerV2(readMap)).getCompessIndex(), headerV2(writtenMap));
}

void IndexFileAnalyserTest::readMap_data()
{
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<IndexMap>("expected");
    QTest::newRow("four years, March 2019 missing") << pairs({{0x26, 1}, {1, 2}, {9, 1}}) << months(48, Ok, {{38, Missing}});
    QTest::newRow("a count of 0 reads as 255") << pairs({{0, 4}}) << months(255, NoIndex);
    QTest::newRow("an older writer's 300 months read as 44") << pairs({{44, 1}}) << months(44);
    QTest::newRow("status 0xFF ends the map") << pairs({{1, 3}, {7, 0xFF}, {2, 2}}) << months(1, Exists);
    QTest::newRow("a lone count byte is ignored") << pairs({{2, 1}}) + QByteArray(1, '\x05') << months(2);
    QTest::newRow("empty map") << QByteArray() << IndexMap();
    QTest::newRow("status taken as a signed byte") << pairs({{1, 0xF0}}) << months(1, Status(-16));
    // 48 runs make L = 58 + 96 = 154 (0x9A): the length field is unsigned.
    IndexMap alternating = months(48);
    for (int month = 1; month < 48; month += 2)
        alternating[QDate(2016, 1, 1).addMonths(month)] = Missing;
    QTest::newRow("length field above 0x7F") << pairs({{1, 1}, {1, 2}}).repeated(24) << alternating;
}

// The header is read up to its end, whatever follows it.
void IndexFileAnalyserTest::readMap()
{
    QFETCH(QByteArray, map);
    QFETCH(IndexMap, expected);
    const QByteArray header = headerV2(map);
    IndexFileAnalyser analyser;
    QCOMPARE(analyser.readCompressIndex(header + "body"), header.size());
    QCOMPARE(analyser.getIndexMap(), expected);
}

void IndexFileAnalyserTest::roundTrip()
{
    // A backup made without an index file: 2048 months of a missing index.
    const QByteArray missingIndex = pairs({{255, 4}}).repeated(8) + pairs({{8, 4}});
    const IndexFileAnalyser written = analyserFrom(headerV2(missingIndex, 10, serialNumber, "FW 1.2"));
    QCOMPARE(written.getIndexMap(), months(2048, NoIndex));

    const QByteArray header = written.getCompessIndex();
    QCOMPARE(header.size(), 78);
    QCOMPARE(header.left(2), QByteArray::fromHex("004c"));
    QCOMPARE(header.mid(60), missingIndex);

    IndexFileAnalyser reader;
    QCOMPARE(reader.readCompressIndex(header + QByteArray(100, 'x')), 78);
    QCOMPARE(reader.getIndexMap(), written.getIndexMap());
    QCOMPARE(reader.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_SD);
    QCOMPARE(reader.getMD5Value(), md5);
    QCOMPARE(reader.getCRSerialnumber(), written.getCRSerialnumber());
    QCOMPARE(reader.getCRFirmwareVersion(), QByteArray("FW 1.2").leftJustified(20, '\0'));
}

void IndexFileAnalyserTest::readFailureKeepsFields_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray valid = headerV2(pairs({{1, 2}}), 30);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("two bytes") << QByteArray::fromHex("0001");
    QTest::newRow("one byte short of its length") << valid.left(valid.size() - 1);
    QTest::newRow("length beyond the data") << QByteArray::fromHex("ffff02");
}

void IndexFileAnalyserTest::readFailureKeepsFields()
{
    QFETCH(QByteArray, data);
    IndexFileAnalyser analyser = analyserFrom(headerV2(pairs({{3, 3}})));
    const QByteArray before = analyser.getCompessIndex();
    QCOMPARE(analyser.readCompressIndex(data), 0);
    QCOMPARE(analyser.getCompessIndex(), before);
}

void IndexFileAnalyserTest::unknownVersionReplacesLeadingFields()
{
    IndexFileAnalyser analyser = analyserFrom(headerV2(pairs({{3, 3}})));
    QByteArray header = headerV2(pairs({{1, 1}}), 20, "99999999");
    header[2] = '\x03';
    header.replace(4, 16, QByteArray(16, 'm'));
    QCOMPARE(analyser.readCompressIndex(header), 0);
    QCOMPARE(analyser.getHeaderVersion(), QByteArray(1, '\x03'));
    QCOMPARE(analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_SERIAL);
    QCOMPARE(analyser.getMD5Value(), QByteArray(16, 'm'));
    QCOMPARE(analyser.getCRSerialnumber(), serialNumber + QByteArray(12, '\0'));
    QCOMPARE(analyser.getIndexMap(), months(3, Exists));
}

void IndexFileAnalyserTest::versionOneHeader()
{
    const QByteArray body = QByteArray(1, '\x01') + QByteArray(1, '\x63') + md5 + pairs({{2, 1}, {1, 2}});
    const QByteArray header = HelperClass::convertIntToByteArray(body.size()) + body;
    IndexFileAnalyser analyser;
    QCOMPARE(analyser.readCompressIndex(header + "records"), header.size());
    QCOMPARE(analyser.getHeaderVersion(), QByteArray(1, '\x01'));
    QCOMPARE(analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_UNKNOWN);
    QCOMPARE(analyser.getMD5Value(), md5);
    QCOMPARE(analyser.getCRSerialnumber(), QByteArray(20, '\0'));
    QCOMPARE(analyser.getIndexMap(), months(3, Ok, {{2, Missing}}));
}

void IndexFileAnalyserTest::shortVersionTwoHeader()
{
    // Accepted as it stands: the fields it does not reach come out shorter.
    const QByteArray header = QByteArray::fromHex("0016") + QByteArray(1, '\x02') + QByteArray(1, '\x0a') + md5
        + QByteArray("1234");
    IndexFileAnalyser analyser;
    QCOMPARE(analyser.readCompressIndex(header), 24);
    QCOMPARE(analyser.getCRSerialnumber(), QByteArray("1234"));
    QCOMPARE(analyser.getCRFirmwareVersion(), QByteArray());
    QVERIFY(analyser.getIndexMap().isEmpty());
}

void IndexFileAnalyserTest::indexMessages_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<Messages>("messages");

    const auto message = [](const QString &text, bool isError) { return qMakePair(text, isError); };
    const auto sd = message("The data was created by reading from SD-Card or Backup.", false);
    const auto serial = message("Serialnumber of the cash register: 12345678", false);
    const auto correct = message("The data index is correct, no issues recognised.", false);
    const auto noIndexFile = message("INDEX ERROR: For the complete dataset exist no Index file, the validity can´t determine.", true);
    const auto missing = [&message](const char *month) {
        return message(QStringLiteral("INDEX ERROR: The file for the date %1 is missing.").arg(QLatin1String(month)), true);
    };

    QTest::newRow("default analyser") << IndexFileAnalyser().getCompessIndex()
                                      << Messages({message("Source of the data couldn´t determine.", true)});
    QTest::newRow("SD, no problems") << headerV2(pairs({{38, 1}, {1, 3}, {9, 1}})) << Messages({sd, serial, correct});
    QTest::newRow("SD, two months missing")
        << headerV2(pairs({{38, 1}, {1, 2}, {3, 1}, {1, 2}, {5, 1}})) << Messages({sd, serial, missing("03/2019"), missing("07/2019")});
    QTest::newRow("SD, no index file") << headerV2(pairs({{0, 4}})) << Messages({sd, serial, noIndexFile});
    QTest::newRow("SD, both kinds of problems")
        << headerV2(pairs({{2, 2}, {3, 4}, {1, 2}})) << Messages({sd, serial, missing("01/2016"), missing("02/2016"), missing("06/2016"), noIndexFile});
    QTest::newRow("SD, empty map")
        << headerV2(QByteArray(), 10, QByteArray())
        << Messages({sd, message("For the data was not Index file written, so the validity can't determine.", true)});
    QTest::newRow("LAN with firmware, problems not reported")
        << headerV2(pairs({{2, 2}, {3, 4}}), 30, serialNumber, "V2.01")
        << Messages({message("The data was reading from the cash register over LAN.", false), serial,
                     message("Firmwareversion of the cash register: V2.01", false)});
    QTest::newRow("serial line")
        << headerV2(pairs({{1, 1}}), 20, QByteArray())
        << Messages({message("The data was reading from the cash register over serial communication.", false)});
    QTest::newRow("serial number starting with a zero byte")
        << headerV2(pairs({{1, 1}}), 10, QByteArray("\0" "1234567", 8)) << Messages({sd, correct});
    QTest::newRow("source that is no enumerator") << headerV2(pairs({{1, 2}}), 42, QByteArray()) << Messages();
}

void IndexFileAnalyserTest::indexMessages()
{
    QFETCH(QByteArray, header);
    QFETCH(Messages, messages);
    QCOMPARE(analyserFrom(header).getIndexMessages(), messages);
}

// Data files are created in the register's folder and listed; "elsewhere" files are listed
// from another folder, the first of them created, the others not.
void IndexFileAnalyserTest::checkedMonths_data()
{
    QTest::addColumn<QByteArray>("bitmap");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("elsewhere");
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<IndexMap>("expected");

    // Bits 0 and 2: January and March 2016 announced.
    const QByteArray marchAndJanuary = QByteArray::fromHex("05").leftJustified(16, '\0');
    const QStringList januaryFebruary{"2016/1601.a03", "2016/1602.a03"};
    QTest::newRow("bits 0 and 2, no span") << marchAndJanuary << januaryFebruary << QStringList() << QDate() << QDate()
                                           << months(128, Ok, {{1, Exists}, {2, Missing}});
    QTest::newRow("span from February leaves out January")
        << marchAndJanuary << QStringList{"2016/1602.a03"} << QStringList() << QDate(2016, 2, 1) << QDate(2016, 12, 31)
        << months(128, Ok, {{1, Exists}, {2, Missing}});
    QTest::newRow("span from April leaves out January to March")
        << marchAndJanuary << januaryFebruary + QStringList{"2016/1605.a03"} << QStringList()
        << QDate(2016, 4, 1) << QDate(2016, 12, 31) << months(128, Ok, {{4, Exists}});
    QTest::newRow("span from mid-March leaves out March")
        << marchAndJanuary << januaryFebruary << QStringList() << QDate(2016, 3, 15) << QDate(2016, 12, 31) << months(128);
    QTest::newRow("fromDate alone judges its month")
        << marchAndJanuary << januaryFebruary << QStringList() << QDate(2016, 3, 1) << QDate() << months(128, Ok, {{2, Missing}});
    QTest::newRow("toDate alone judges nothing")
        << marchAndJanuary << januaryFebruary << QStringList() << QDate() << QDate(2016, 3, 1) << months(128);
    QTest::newRow("data files of another folder are not found")
        << marchAndJanuary << QStringList() << QStringList{"2016/1601.a03", "2016/1602.a03", "2016/1603.a03"}
        << QDate() << QDate() << months(128, Ok, {{0, Missing}, {2, Missing}});
    QByteArray secondPiece(272, '\0');
    secondPiece[0] = '\x01';
    secondPiece[258] = '\x02';
    QTest::newRow("second piece of the index") << secondPiece << QStringList{"2016/1601.a03"} << QStringList()
                                              << QDate() << QDate() << months(2176, Ok, {{2065, Missing}});
}

void IndexFileAnalyserTest::checkedMonths()
{
    QFETCH(QByteArray, bitmap);
    QFETCH(QStringList, files);
    QFETCH(QStringList, elsewhere);
    QFETCH(QDate, fromDate);
    QFETCH(QDate, toDate);
    QFETCH(IndexMap, expected);
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/12345678/");
    QVERIFY(writeFile(folder + QStringLiteral("12345678.a00"), fiscora::sample::encryptIndexFile(bitmap)));
    QList<QFileInfo> fileList;
    for (const QString &file : files) {
        QVERIFY(writeFile(folder + file, "records"));
        fileList << QFileInfo(folder + file);
    }
    const QString copy = dir.path() + QStringLiteral("/copy/");
    for (const QString &file : elsewhere)
        fileList << QFileInfo(copy + file);
    QVERIFY(elsewhere.isEmpty() || writeFile(copy + elsewhere.first(), "records"));

    IndexFileAnalyser analyser;
    QVERIFY(analyser.checkA00IndexFile(folder + QStringLiteral("12345678.a00"), fileList, fromDate, toDate,
                                       IndexFileAnalyser::SOURCE_LAN));
    QCOMPARE(analyser.getIndexMap(), expected);
    QCOMPARE(analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_LAN);
}

// Every 16 bytes of index file, a tail of fewer included, carry 128 months.
void IndexFileAnalyserTest::indexFileLengths_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("monthCount");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("one block") << 16 << 128;
    QTest::newRow("20 bytes") << 20 << 256;
    QTest::newRow("one piece") << 256 << 2048;
    QTest::newRow("a piece and 44 bytes") << 300 << 2432;
}

void IndexFileAnalyserTest::indexFileLengths()
{
    QFETCH(int, length);
    QFETCH(int, monthCount);
    QTemporaryDir dir;
    const QString indexFile = dir.path() + QStringLiteral("/12345678.a00");
    QVERIFY(writeFile(indexFile, QByteArray(length, '\x5A')));

    IndexFileAnalyser analyser;
    QVERIFY(analyser.checkA00IndexFile(indexFile, {}, QDate(), QDate(), IndexFileAnalyser::SOURCE_SD));
    QCOMPARE(analyser.getIndexMap().keys(), months(monthCount).keys());
}

void IndexFileAnalyserTest::unreadableIndex_data()
{
    QTest::addColumn<QString>("linkTarget");
    QTest::newRow("missing") << QString();
    QTest::newRow("cannot be opened") << "/proc/sys/vm/drop_caches";
    QTest::newRow("read breaks off") << "/proc/self/mem";
}

// Without a readable index no month can be judged, whatever the span and the files.
void IndexFileAnalyserTest::unreadableIndex()
{
    QFETCH(QString, linkTarget);
    QTemporaryDir dir;
    const QString indexFile = dir.path() + QStringLiteral("/12345678.a00");
    if (!linkTarget.isEmpty() && !QFile::exists(linkTarget))
        QSKIP("This system has no such file to link to.");
    QVERIFY(linkTarget.isEmpty() || QFile::link(linkTarget, indexFile));
    QVERIFY(writeFile(dir.path() + QStringLiteral("/2019/1901.a03"), "records"));

    IndexFileAnalyser analyser;
    analyser.setCRSerialnumber(serialNumber);
    QVERIFY(!analyser.checkA00IndexFile(indexFile, {QFileInfo(dir.path() + QStringLiteral("/2019/1901.a03"))},
                                        QDate(2019, 1, 1), QDate(), IndexFileAnalyser::SOURCE_SD));
    // January 2016 to August 2186.
    QCOMPARE(analyser.getIndexMap(), months(2048, NoIndex));
    QCOMPARE(analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_SD);
    QCOMPARE(analyser.getCRSerialnumber(), serialNumber + QByteArray(12, '\0'));
}

QTEST_GUILESS_MAIN(IndexFileAnalyserTest)
#include "tst_indexfileanalyser.moc"
