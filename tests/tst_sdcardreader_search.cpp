// Which register folders and data files a reading job finds, seen through what the job emits
// and the backup files it writes.

#include "readertest.h"

#include <samplecipher.h>

#include <QtTest>

using namespace readertest;

class SDCardReaderSearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void discovery_data();
    void discovery();
    void selection_data();
    void selection();
    void serialNumberNames_data();
    void serialNumberNames();
};

void SDCardReaderSearchTest::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
}

// Empty register folders make the job name each register folder it found, in order (no data
// files, no start date); "@" stands for the card.
void SDCardReaderSearchTest::discovery_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("log");

    const QString noData = noDataInFolder(QStringLiteral("@/%1"));
    QTest::newRow("two registers on one card, other folders ignored")
        << QStringList{"12345678/", "87654321/", "Export/", "2019.txt"} << "@"
        << QStringList{noData.arg("12345678"), noData.arg("87654321")};
    QTest::newRow("maker folder in lower case, registers before it dropped")
        << QStringList{"11111111/", "korvane/12345678/", "korvane/ABCDEFGH/"} << "@"
        << QStringList{noData.arg("korvane/12345678"), noData.arg("korvane/ABCDEFGH")};
    QTest::newRow("maker folder as start") << QStringList{"KorVane/G1234567/"} << "@/KorVane"
                                           << QStringList{noData.arg("KorVane/G1234567")};
    QTest::newRow("year folder as start") << QStringList{"12345678/2019/"} << "@/12345678/2019"
                                          << QStringList{noData.arg("12345678")};
    QTest::newRow("register folder with a trailing separator")
        << QStringList{"12345678/2019/", "87654321/"} << "@/12345678/"
        << QStringList{noData.arg("12345678"), noData.arg("87654321")};
    QTest::newRow("year-like sibling restarts on the parent")
        << QStringList{"87654321/", "box/12345678/", "box/2019/"} << "@/box" << QStringList{noData.arg("87654321")};
    QTest::newRow("month-like sibling restarts on the parent")
        << QStringList{"87654321/", "box/12345678/", "box/07/"} << "@/box" << QStringList{noData.arg("87654321")};
    QTest::newRow("2101, 1899, 13 and 00 restart nothing")
        << QStringList{"87654321/", "box/00/", "box/12345678/", "box/13/", "box/1899/", "box/2101/"} << "@/box"
        << QStringList{noData.arg("box/12345678")};
    QTest::newRow("register folder as start is taken unseen") << QStringList() << "@/ABCDEFGH"
                                                              << QStringList{invalidFolder};
    QTest::newRow("no register folder") << QStringList{"Export/", "DCIM/"} << "@" << QStringList{noSerialNumberFolder};
    QTest::newRow("missing start folder") << QStringList() << "@/nothing" << QStringList{noSerialNumberFolder};
    QTest::newRow("empty maker folder leads back") << QStringList{"KORVANE/"} << "@"
                                                   << QStringList{noSerialNumberFolder};
    QTest::newRow("year folder in the maker folder leads back") << QStringList{"KORVANE/2019/"} << "@"
                                                                << QStringList{noSerialNumberFolder};
    QTest::newRow("maker folder linked to the card") << QStringList{"KORVANE -> ."} << "@"
                                                     << QStringList{noSerialNumberFolder};
}

void SDCardReaderSearchTest::discovery()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, start);
    QFETCH(QStringList, log);
    QTemporaryDir card;
    QTemporaryDir target;
    QVERIFY(makeTree(card.path(), tree));

    QCOMPARE(runJob(start.replace(QStringLiteral("@"), card.path()), target.path()),
             log.replaceInStrings(QStringLiteral("@"), card.path()));
    QVERIFY(QDir(target.path()).isEmpty());
}

// The files of the register 12345678 hold their own names, so a backup body shows which data
// files were taken and in which order.
void SDCardReaderSearchTest::selection_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QString>("failure");

    const QStringList twoYears{"2018/1810.a03", "2018/1811.a03", "2018/1812.a03",
                               "2019/1901.a03", "2019/1902.a03", "2019/1903.a03", "2019/1904.a03"};
    QTest::newRow("span within one month reads that month")
        << twoYears << QDate(2019, 1, 1) << QDate(2019, 1, 31) << "201901" << QStringList{"2019/1901.a03"} << QString();
    QTest::newRow("fromDate alone reads its month")
        << twoYears << QDate(2019, 3, 1) << QDate() << "201903" << QStringList{"2019/1903.a03"} << QString();
    QTest::newRow("mid-month start within one month finds nothing")
        << twoYears << QDate(2019, 1, 15) << QDate(2019, 1, 31) << QString() << QStringList()
        << noDataForSpan(QStringLiteral("01/2019"), QStringLiteral("01/2019"));
    QTest::newRow("mid-month start leaves out its month")
        << twoYears << QDate(2019, 1, 15) << QDate(2019, 3, 31) << "201901_201903"
        << QStringList{"2019/1902.a03", "2019/1903.a03"} << QString();
    QTest::newRow("span over the turn of the year")
        << twoYears << QDate(2018, 11, 1) << QDate(2019, 2, 1) << "201811_201902"
        << QStringList{"2018/1811.a03", "2018/1812.a03", "2019/1901.a03", "2019/1902.a03"} << QString();
    QTest::newRow("no dates reads every year folder")
        << QStringList{"0042/1905.a03", "19/1906.a03", "abcd/1907.a03", "2019/1901.a03"} << QDate() << QDate()
        << "complete" << QStringList{"0042/1905.a03", "2019/1901.a03"} << QString();
    QTest::newRow("toDate alone reads nothing")
        << twoYears << QDate() << QDate(2019, 3, 1) << QString() << QStringList() << noDataInFolder(QStringLiteral("@/12345678"));
    QTest::newRow("toDate in an earlier year")
        << twoYears << QDate(2019, 3, 1) << QDate(2018, 11, 1) << QString() << QStringList()
        << noDataForSpan(QStringLiteral("03/2019"), QStringLiteral("11/2018"));
    QTest::newRow("toDate earlier in the same year")
        << twoYears << QDate(2019, 3, 1) << QDate(2019, 2, 1) << QString() << QStringList()
        << noDataForSpan(QStringLiteral("03/2019"), QStringLiteral("02/2019"));
    QTest::newRow("odd file names")
        << QStringList{"2019/1901.A03", "2019/1902.old.a03", "2019/1904.a03/", "2019/1913.a03", "2019/ABCD.a03",
                       "2019/1905.a03x", "2019/1906"}
        << QDate() << QDate() << "complete" << QStringList{"2019/1901.A03", "2019/1902.old.a03"} << QString();
    QTest::newRow("December file in the next year's folder")
        << QStringList{"2018/1811.a03", "2019/1812.a03", "2019/1901.a03", "2019/1902.a03"}
        << QDate(2018, 11, 1) << QDate(2019, 1, 1) << "201811_201901"
        << QStringList{"2018/1811.a03", "2019/1812.a03", "2019/1901.a03"} << QString();
    QTest::newRow("register number inside the register folder")
        << QStringList{"2019/1901.a03", "G7654321/2019/1902.a03", "ABCDEFGH/2019/1903.a03"} << QDate() << QDate()
        << "complete" << QStringList{"G7654321/2019/1902.a03"} << QString();
    QTest::newRow("maker folder inside the register folder")
        << QStringList{"2019/1901.a03", "korvane/87654321/2019/1902.a03"} << QDate() << QDate()
        << "complete" << QStringList{"korvane/87654321/2019/1902.a03"} << QString();
    QTest::newRow("maker folder linked to the register folder")
        << QStringList{"2019/1901.a03", "korvane -> ."} << QDate() << QDate()
        << "complete" << QStringList{"2019/1901.a03"} << QString();
}

void SDCardReaderSearchTest::selection()
{
    QFETCH(QStringList, tree);
    QFETCH(QDate, fromDate);
    QFETCH(QDate, toDate);
    QFETCH(QString, label);
    QFETCH(QStringList, taken);
    QFETCH(QString, failure);
    QTemporaryDir card;
    QTemporaryDir target;
    const QString folder = card.path() + QStringLiteral("/12345678");
    QVERIFY(makeTree(folder, tree));

    const QStringList log = runJob(folder, target.path(), fromDate, toDate);
    if (!failure.isEmpty()) {
        QCOMPARE(log, QStringList{failure.replace(QStringLiteral("@"), card.path())});
        QVERIFY(QDir(target.path()).isEmpty());
        return;
    }
    const QString backup = backupPath(target.path(), QStringLiteral("12345678"), label);
    QCOMPARE(log, progress(taken.size()) + QStringList({finished(backup), indexUnreadable}));
    QCOMPARE(backupBody(fileBytes(backup)), taken.join(QString()).toUtf8());
}

void SDCardReaderSearchTest::serialNumberNames_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("serialNumber");
    QTest::newRow("eight digits") << "12345678" << "12345678";
    QTest::newRow("G series in lower case") << "g1234567" << "01234567";
    QTest::newRow("any eight characters") << "AbCdEfGh" << "AbCdEfGh";
}

// The serial number names the backup file, the index file and the header's serial number.
void SDCardReaderSearchTest::serialNumberNames()
{
    QFETCH(QString, folderName);
    QFETCH(QString, serialNumber);
    QTemporaryDir card;
    QTemporaryDir target;
    const QString folder = card.path() + QLatin1Char('/') + folderName;
    QVERIFY(makeTree(folder, {"2019/1901.a03"}));
    // January 2019 is month 36: byte 4, bit 4.
    QVERIFY(writeFile(folder + QLatin1Char('/') + serialNumber + QStringLiteral(".a00"),
                      fiscora::sample::encryptIndexFile(QByteArray::fromHex("0000000010"))));

    QCOMPARE(runJob(folder, target.path()), goodBackup(target.path(), serialNumber, 1));
    QCOMPARE(fileBytes(backupPath(target.path(), serialNumber)).mid(20, 20),
             serialNumber.toLatin1().leftJustified(20, '\0'));
}

QTEST_GUILESS_MAIN(SDCardReaderSearchTest)
#include "tst_sdcardreader_search.moc"
