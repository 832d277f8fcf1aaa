// Which register folders and data files a reading job finds, seen through what the job emits
// and the backup files it writes.

#include "readertest.h"

#include <QtTest>

#include <algorithm>

using namespace readertest;

namespace {

//! Creates every entry below \a root: "name/" a folder, anything else a file holding its own name.
bool makeTree(const QString &root, const QStringList &entries)
{
    return std::all_of(entries.begin(), entries.end(), [&root](const QString &entry) {
        const QString path = root + QLatin1Char('/') + entry;
        return entry.endsWith(QLatin1Char('/')) ? QDir().mkpath(path) : writeFile(path, entry.toUtf8());
    });
}

} // namespace

class SDCardReaderSearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false")); }
    void discovery_data();
    void discovery();
    void selection_data();
    void selection();
};

// Empty register folders make the job name each register folder it found, in order; "@" stands for the card.
void SDCardReaderSearchTest::discovery_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("log");

    const QString noData = error("In the folder @/%1 couldn´t found any data files!",
                                 "Please check your choosen folder of your source dataset.");
    const QStringList noRegister{error("No valid serial number folder found!", "Check your selected start path!")};
    QTest::newRow("maker folder in mixed case, registers before it dropped")
        << QStringList{"11111111/", "KorVane/12345678/", "KorVane/ABCDEFGH/"} << "@"
        << QStringList{noData.arg("KorVane/12345678"), noData.arg("KorVane/ABCDEFGH")};
    QTest::newRow("year folder as start") << QStringList{"12345678/2019/"} << "@/12345678/2019"
                                          << QStringList{noData.arg("12345678")};
    QTest::newRow("two registers on one card, found from one with a trailing separator")
        << QStringList{"12345678/2019/", "87654321/", "Export/", "2019.txt"} << "@/12345678/"
        << QStringList{noData.arg("12345678"), noData.arg("87654321")};
    QTest::newRow("year-like sibling restarts on the parent")
        << QStringList{"87654321/", "box/12345678/", "box/2019/"} << "@/box" << QStringList{noData.arg("87654321")};
    QTest::newRow("register folder as start is taken unseen")
        << QStringList() << "@/ABCDEFGH"
        << QStringList{error("SD card folder is not valid.", "Please check your path to the encrypted GoBD dataset.")};
    QTest::newRow("empty maker folder leads back") << QStringList{"KORVANE/"} << "@" << noRegister;
    QTest::newRow("year folder in the maker folder leads back") << QStringList{"KORVANE/2019/"} << "@" << noRegister;
}

void SDCardReaderSearchTest::discovery()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, start);
    QFETCH(QStringList, log);
    QTemporaryDir card;
    QTemporaryDir target;
    QVERIFY(makeTree(card.path(), tree));

    QCOMPARE(runJob(start.replace("@", card.path()), target.path()), log.replaceInStrings("@", card.path()));
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
    QTest::newRow("no dates: odd year folders and file names")
        << QStringList{"0042/1905.a03", "19/1906.a03", "abcd/1907.a03", "2019/1901.A03", "2019/1902.old.a03",
                       "2019/1904.a03/", "2019/1913.a03", "2019/ABCD.a03", "2019/1905.a03x", "2019/1906"}
        << QDate() << QDate() << "complete" << QStringList{"0042/1905.a03", "2019/1901.A03", "2019/1902.old.a03"}
        << QString();
    QTest::newRow("fromDate alone reads its month")
        << twoYears << QDate(2019, 3, 1) << QDate() << "201903" << QStringList{"2019/1903.a03"} << QString();
    QTest::newRow("toDate alone reads nothing")
        << twoYears << QDate() << QDate(2019, 3, 1) << QString() << QStringList()
        << error("In the folder @/12345678 couldn´t found any data files!",
                 "Please check your choosen folder of your source dataset.");
    QTest::newRow("span within one month reads that month")
        << twoYears << QDate(2019, 1, 1) << QDate(2019, 1, 31) << "201901" << QStringList{"2019/1901.a03"} << QString();
    QTest::newRow("mid-month start within one month finds nothing")
        << twoYears << QDate(2019, 1, 15) << QDate(2019, 1, 31) << QString() << QStringList()
        << error("For the choosen datespan 01/2019 to 01/2019 couldn´t found any data!",
                 "Please change your choosen datespan or check your selected datafolder.");
    QTest::newRow("mid-month start leaves out its month")
        << twoYears << QDate(2019, 1, 15) << QDate(2019, 3, 31) << "201901_201903"
        << QStringList{"2019/1902.a03", "2019/1903.a03"} << QString();
    QTest::newRow("December file in the next year's folder")
        << QStringList{"2018/1811.a03", "2019/1812.a03", "2019/1901.a03", "2019/1902.a03"}
        << QDate(2018, 11, 1) << QDate(2019, 1, 1) << "201811_201901"
        << QStringList{"2018/1811.a03", "2019/1812.a03", "2019/1901.a03"} << QString();
    QTest::newRow("same day twice reads one month, here none")
        << twoYears << QDate(2020, 1, 1) << QDate(2020, 1, 1) << QString() << QStringList()
        << error("For the choosen date 01/2020 couldn´t found any data!",
                 "Please change your choosen date or check your selected datafolder.");
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
        QCOMPARE(log, QStringList{failure.replace("@", card.path())});
        QVERIFY(QDir(target.path()).isEmpty());
        return;
    }
    // Without an index file the report is this one error, after the complete backup.
    const QString backup = backupPath(target.path(), "12345678", label);
    const QString indexUnreadable = error("Index file could not read successful.",
        "Please check your sources for right permissions, or generate a new backup of your data.");
    QCOMPARE(log, progress(taken.size()) + QStringList({finished(backup), indexUnreadable}));
    const QByteArray bytes = fileBytes(backup);
    QCOMPARE(bytes.mid(fiscora::HelperClass::convertByteArrayToInt(bytes.left(2)) + 2), taken.join("").toUtf8());
}

QTEST_GUILESS_MAIN(SDCardReaderSearchTest)
#include "tst_sdcardreader_search.moc"
