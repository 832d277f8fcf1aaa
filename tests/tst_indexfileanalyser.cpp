#include <fiscora/helperclass.h>
#include <fiscora/indexfileanalyser.h>

#include <QtTest>

using fiscora::HelperClass;
using fiscora::IndexFileAnalyser;
using IndexMap = QMap<QDate, IndexFileAnalyser::IndexStatus>;
using Messages = QList<QPair<QString, bool>>;

Q_DECLARE_METATYPE(IndexFileAnalyser::IndexSource)
Q_DECLARE_METATYPE(IndexMap)
Q_DECLARE_METATYPE(Messages)

namespace {

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
    for (const auto &run : runs) {
        map.append(static_cast<char>(run.first));
        map.append(static_cast<char>(run.second));
    }
    return map;
}

IndexMap months(const QDate &first, int count, IndexFileAnalyser::IndexStatus status)
{
    IndexMap map;
    for (int i = 0; i < count; ++i)
        map.insert(first.addMonths(i), status);
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
    void copiesAreIndependent();
    void metaType();

    void emptyMapHeader();
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
    void bodyOffsetWithLongHeader();

    void indexMessages_data();
    void indexMessages();
};

void IndexFileAnalyserTest::initTestCase()
{
    // Writing a header logs one debug line a month.
    QLoggingCategory::setFilterRules(QStringLiteral("indexfileanalyser.debug=false"));
}

void IndexFileAnalyserTest::defaults()
{
    const IndexFileAnalyser analyser;
    QVERIFY(analyser.getIndexMap().isEmpty());
    QCOMPARE(analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_UNKNOWN);
    QCOMPARE(analyser.getCurrenIndexSourceAsString(), QStringLiteral("SOURCE_UNKNOWN"));
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

void IndexFileAnalyserTest::copiesAreIndependent()
{
    IndexFileAnalyser original = analyserFrom(headerV2(pairs({{3, 1}})));
    IndexFileAnalyser copy(original);
    copy.setMD5Value(QByteArray(16, 'x'));
    copy.setCRSerialnumber("87654321");
    IndexFileAnalyser assigned;
    assigned = original;
    assigned.setIndexSource(IndexFileAnalyser::SOURCE_LAN);

    QCOMPARE(original.getMD5Value(), md5);
    QCOMPARE(original.getCRSerialnumber(), serialNumber + QByteArray(12, '\0'));
    QCOMPARE(original.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_SD);
    QCOMPARE(copy.getIndexMap(), original.getIndexMap());
    QCOMPARE(assigned.getCompessIndex(), headerV2(pairs({{3, 1}}), 30));
}

void IndexFileAnalyserTest::metaType()
{
    const int id = qMetaTypeId<IndexFileAnalyser>();
    QCOMPARE(QMetaType::typeName(id), "fiscora::IndexFileAnalyser");
    QVERIFY(QMetaType::typeFlags(id) & QMetaType::NeedsConstruction);
    QVERIFY(QMetaType::typeFlags(id) & QMetaType::NeedsDestruction);
    QVERIFY(!(QMetaType::typeFlags(id) & QMetaType::MovableType));

    const QVariant variant = QVariant::fromValue(analyserFrom(headerV2(pairs({{2, 2}}))));
    QCOMPARE(variant.userType(), id);
    QCOMPARE(variant.value<IndexFileAnalyser>().getIndexMap(), months(QDate(2016, 1, 1), 2, IndexFileAnalyser::INDEX_ERROR_FILE_MISSING));
}

void IndexFileAnalyserTest::emptyMapHeader()
{
    IndexFileAnalyser writer;
    writer.setIndexSource(IndexFileAnalyser::SOURCE_SD);
    writer.setMD5Value(md5);
    writer.setCRSerialnumber(serialNumber);
    const QByteArray header = writer.getCompessIndex();
    QCOMPARE(header, headerV2(QByteArray()));
    QCOMPARE(header.size(), 60);
    QCOMPARE(header.left(2), QByteArray::fromHex("003a"));

    IndexFileAnalyser reader;
    QCOMPARE(reader.readCompressIndex(header + "body"), 60);
    QVERIFY(reader.getIndexMap().isEmpty());
}

// The writer sees only the map that a header read put there, so each row reads one map and
// checks the map that comes out of the next header.
void IndexFileAnalyserTest::writtenMap_data()
{
    QTest::addColumn<QByteArray>("readMap");
    QTest::addColumn<QByteArray>("writtenMap");
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
    const QByteArray header = analyserFrom(headerV2(readMap)).getCompessIndex();
    QCOMPARE(header, headerV2(writtenMap));
}

void IndexFileAnalyserTest::readMap_data()
{
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<IndexMap>("expected");
    const QDate january2016(2016, 1, 1);

    IndexMap fourYears = months(january2016, 48, IndexFileAnalyser::INDEX_OK);
    fourYears[QDate(2019, 3, 1)] = IndexFileAnalyser::INDEX_ERROR_FILE_MISSING;
    QTest::newRow("four years, March 2019 missing") << pairs({{0x26, 1}, {1, 2}, {9, 1}}) << fourYears;
    QTest::newRow("a count of 0 reads as 255") << pairs({{0, 4}})
                                               << months(january2016, 255, IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING);
    QTest::newRow("an older writer's 300 months read as 44") << pairs({{44, 1}})
                                                             << months(january2016, 44, IndexFileAnalyser::INDEX_OK);
    QTest::newRow("status 0xFF ends the map") << pairs({{1, 3}, {7, 0xFF}, {2, 2}})
                                              << months(january2016, 1, IndexFileAnalyser::INDEX_ERROR_FILE_EXIST);
    QTest::newRow("a lone count byte is ignored") << pairs({{2, 1}}) + QByteArray(1, '\x05')
                                                  << months(january2016, 2, IndexFileAnalyser::INDEX_OK);
    QTest::newRow("empty map") << QByteArray() << IndexMap();
    IndexMap unknownStatus;
    unknownStatus.insert(january2016, IndexFileAnalyser::IndexStatus(-16));
    QTest::newRow("status taken as a signed byte") << pairs({{1, 0xF0}}) << unknownStatus;
}

void IndexFileAnalyserTest::readMap()
{
    QFETCH(QByteArray, map);
    QFETCH(IndexMap, expected);
    QCOMPARE(analyserFrom(headerV2(map)).getIndexMap(), expected);
}

void IndexFileAnalyserTest::roundTrip()
{
    // A backup made without an index file: 2048 months of a missing index.
    const QByteArray missingIndex = pairs({{255, 4}, {255, 4}, {255, 4}, {255, 4}, {255, 4}, {255, 4},
                                           {255, 4}, {255, 4}, {8, 4}});
    const IndexFileAnalyser written = analyserFrom(headerV2(missingIndex, 10, serialNumber, "FW 1.2"));
    QCOMPARE(written.getIndexMap(), months(QDate(2016, 1, 1), 2048, IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING));

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
    QCOMPARE(analyser.getIndexMap(), months(QDate(2016, 1, 1), 3, IndexFileAnalyser::INDEX_ERROR_FILE_EXIST));
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
    IndexMap expected = months(QDate(2016, 1, 1), 2, IndexFileAnalyser::INDEX_OK);
    expected.insert(QDate(2016, 3, 1), IndexFileAnalyser::INDEX_ERROR_FILE_MISSING);
    QCOMPARE(analyser.getIndexMap(), expected);
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

void IndexFileAnalyserTest::bodyOffsetWithLongHeader()
{
    // 47 runs make L = 58 + 94 + 2 = 154 (0x9A): the length field is unsigned.
    QByteArray map;
    for (int i = 0; i < 48; ++i)
        map += pairs({{1, 1 + i % 2}});
    const QByteArray header = headerV2(map);
    QCOMPARE(header.left(2), QByteArray::fromHex("009a"));
    IndexFileAnalyser analyser;
    QCOMPARE(analyser.readCompressIndex(header + "body"), 156);
    QCOMPARE(analyser.getIndexMap().size(), 48);
}

void IndexFileAnalyserTest::indexMessages_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<Messages>("messages");

    const auto message = [](const char *text, bool isError) { return qMakePair(QString::fromUtf8(text), isError); };
    const auto sd = message("The data was created by reading from SD-Card or Backup.", false);
    const auto serial = message("Serialnumber of the cash register: 12345678", false);
    const auto correct = message("The data index is correct, no issues recognised.", false);
    const auto noIndexFile = message("INDEX ERROR: For the complete dataset exist no Index file, the validity can´t determine.", true);
    const auto missing = [&message](const char *month) {
        return message(qPrintable(QStringLiteral("INDEX ERROR: The file for the date %1 is missing.").arg(QLatin1String(month))), true);
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
    const Messages queue = analyserFrom(header).getIndexMessages();
    QCOMPARE(queue, messages);
}

QTEST_GUILESS_MAIN(IndexFileAnalyserTest)
#include "tst_indexfileanalyser.moc"
