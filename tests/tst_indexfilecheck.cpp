// The check of a register's index file against the data files found for a date span.

#include <fiscora/indexfileanalyser.h>
#include <samplecipher.h>

#include <QtTest>

using fiscora::IndexFileAnalyser;
using IndexMap = QMap<QDate, IndexFileAnalyser::IndexStatus>;

Q_DECLARE_METATYPE(IndexMap)

namespace {

constexpr auto Ok = IndexFileAnalyser::INDEX_OK;
constexpr auto Missing = IndexFileAnalyser::INDEX_ERROR_FILE_MISSING;
constexpr auto Exists = IndexFileAnalyser::INDEX_ERROR_FILE_EXIST;

//! \a count months from January 2016, INDEX_OK but for the given month numbers.
IndexMap statuses(int count, std::initializer_list<std::pair<int, IndexFileAnalyser::IndexStatus>> others = {})
{
    IndexMap map;
    for (int i = 0; i < count; ++i)
        map.insert(QDate(2016, 1, 1).addMonths(i), Ok);
    for (const auto &other : others)
        map.insert(QDate(2016, 1, 1).addMonths(other.first), other.second);
    return map;
}

QByteArray bitmap(int size, std::initializer_list<std::pair<int, char>> bytes)
{
    QByteArray map(size, '\0');
    for (const auto &byte : bytes)
        map[byte.first] = byte.second;
    return map;
}

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
        && file.write(contents) == contents.size();
}

} // namespace

class IndexFileCheckTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void months_data();
    void months();
    void indexFileLengths_data();
    void indexFileLengths();
    void unreadableIndex_data();
    void unreadableIndex();
};

void IndexFileCheckTest::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("indexfileanalyser.debug=false"));
}

// Data files are created in the register's folder and listed; "elsewhere" files are listed
// from another folder, the first of them created, the others not.
void IndexFileCheckTest::months_data()
{
    QTest::addColumn<QByteArray>("bitmap");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("elsewhere");
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<IndexMap>("expected");

    const QByteArray marchAndJanuary = bitmap(16, {{0, 0x05}});
    const QStringList januaryFebruary{"2016/1601.a03", "2016/1602.a03"};
    QTest::newRow("bits 0 and 2, no span") << marchAndJanuary << januaryFebruary << QStringList() << QDate() << QDate()
                                           << statuses(128, {{1, Exists}, {2, Missing}});
    QTest::newRow("span from February leaves out January")
        << marchAndJanuary << QStringList{"2016/1602.a03"} << QStringList() << QDate(2016, 2, 1) << QDate(2016, 12, 31)
        << statuses(128, {{1, Exists}, {2, Missing}});
    QTest::newRow("span from April leaves out January to March")
        << marchAndJanuary << januaryFebruary + QStringList{"2016/1605.a03"} << QStringList()
        << QDate(2016, 4, 1) << QDate(2016, 12, 31) << statuses(128, {{4, Exists}});
    QTest::newRow("span from mid-March leaves out March")
        << marchAndJanuary << januaryFebruary << QStringList() << QDate(2016, 3, 15) << QDate(2016, 12, 31)
        << statuses(128);
    QTest::newRow("fromDate alone judges its month")
        << marchAndJanuary << januaryFebruary << QStringList() << QDate(2016, 3, 1) << QDate() << statuses(128, {{2, Missing}});
    QTest::newRow("toDate alone judges nothing")
        << marchAndJanuary << januaryFebruary << QStringList() << QDate() << QDate(2016, 3, 1) << statuses(128);
    QTest::newRow("data files of another folder are not found")
        << marchAndJanuary << QStringList() << QStringList{"2016/1601.a03", "2016/1602.a03", "2016/1603.a03"}
        << QDate() << QDate() << statuses(128, {{0, Missing}, {2, Missing}});
    QTest::newRow("second piece of the index") << bitmap(272, {{0, 0x01}, {258, 0x02}}) << QStringList{"2016/1601.a03"}
                                              << QStringList() << QDate() << QDate()
                                              << statuses(2176, {{2065, Missing}});
}

void IndexFileCheckTest::months()
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
    if (!elsewhere.isEmpty())
        QVERIFY(writeFile(copy + elsewhere.first(), "records"));

    IndexFileAnalyser analyser;
    QVERIFY(analyser.checkA00IndexFile(folder + QStringLiteral("12345678.a00"), fileList, fromDate, toDate,
                                       IndexFileAnalyser::SOURCE_LAN));
    QCOMPARE(analyser.getIndexMap(), expected);
    QCOMPARE(analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_LAN);
}

// Every 16 bytes of index file, a tail of fewer included, carry 128 months.
void IndexFileCheckTest::indexFileLengths_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("months");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("one block") << 16 << 128;
    QTest::newRow("20 bytes") << 20 << 256;
    QTest::newRow("one piece") << 256 << 2048;
    QTest::newRow("a piece and 44 bytes") << 300 << 2432;
}

void IndexFileCheckTest::indexFileLengths()
{
    QFETCH(int, length);
    QFETCH(int, months);
    QTemporaryDir dir;
    const QString indexFile = dir.path() + QStringLiteral("/12345678.a00");
    QVERIFY(writeFile(indexFile, QByteArray(length, '\x5A')));

    IndexFileAnalyser analyser;
    QVERIFY(analyser.checkA00IndexFile(indexFile, {}, QDate(), QDate(), IndexFileAnalyser::SOURCE_SD));
    QCOMPARE(analyser.getIndexMap().size(), months);
    if (months > 0)
        QCOMPARE(analyser.getIndexMap().lastKey(), QDate(2016, 1, 1).addMonths(months - 1));
}

void IndexFileCheckTest::unreadableIndex_data()
{
    QTest::addColumn<QString>("linkTarget");
    QTest::newRow("missing") << QString();
    QTest::newRow("cannot be opened") << "/proc/sys/vm/drop_caches";
    QTest::newRow("read breaks off") << "/proc/self/mem";
}

// Without a readable index no month can be judged, whatever the span and the files.
void IndexFileCheckTest::unreadableIndex()
{
    QFETCH(QString, linkTarget);
    QTemporaryDir dir;
    const QString indexFile = dir.path() + QStringLiteral("/12345678.a00");
    if (!linkTarget.isEmpty() && !QFile::exists(linkTarget))
        QSKIP("This system has no such file to link to.");
    QVERIFY(linkTarget.isEmpty() || QFile::link(linkTarget, indexFile));
    QVERIFY(writeFile(dir.path() + QStringLiteral("/2019/1901.a03"), "records"));

    IndexFileAnalyser analyser;
    analyser.setCRSerialnumber("12345678");
    QVERIFY(!analyser.checkA00IndexFile(indexFile, {QFileInfo(dir.path() + QStringLiteral("/2019/1901.a03"))},
                                        QDate(2019, 1, 1), QDate(), IndexFileAnalyser::SOURCE_SD));
    IndexMap expected;
    for (int i = 0; i < 2048; ++i)
        expected.insert(QDate(2016, 1, 1).addMonths(i), IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING);
    QCOMPARE(analyser.getIndexMap(), expected);
    QCOMPARE(analyser.getCurrentIndexSource(), IndexFileAnalyser::SOURCE_SD);
    QCOMPARE(analyser.getIndexMap().lastKey(), QDate(2186, 8, 1));
    QCOMPARE(analyser.getCRSerialnumber(), QByteArray("12345678").leftJustified(20, '\0'));
}

QTEST_GUILESS_MAIN(IndexFileCheckTest)
#include "tst_indexfilecheck.moc"
