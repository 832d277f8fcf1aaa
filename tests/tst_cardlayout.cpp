// Which register folders a start path leads to, which data files a date span takes from a
// register's folder, and the names that go with them.

#include "cardlayout_p.h"
#include "fixtures.h"

#include <QtTest>

using fiscora::CardLayout;

namespace {

//! Creates every entry below \a root: "name/" a folder, anything else a file holding its own name.
QString makeTree(const QString &root, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString path = root + QLatin1Char('/') + entry;
        const QString failure = entry.endsWith(QLatin1Char('/')) ? makeFolder(path) : writeFile(path, entry.toUtf8());
        if (!failure.isEmpty())
            return failure;
    }
    return QString();
}

} // namespace

class CardLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("sdcardreader.debug=false")); }
    void discovery_data();
    void discovery();
    void selection_data();
    void selection();
    void serialNumber_data();
    void serialNumber();
};

// "@" stands for the card.
void CardLayoutTest::discovery_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("folders");

    QTest::newRow("maker folder in mixed case, registers before it dropped")
        << QStringList{"11111111/", "KorVane/12345678/", "KorVane/ABCDEFGH/"} << "@"
        << QStringList{"@/KorVane/12345678", "@/KorVane/ABCDEFGH"};
    QTest::newRow("year folder as start") << QStringList{"12345678/2019/"} << "@/12345678/2019"
                                          << QStringList{"@/12345678"};
    QTest::newRow("two registers on one card, found from one with a trailing separator")
        << QStringList{"12345678/2019/", "87654321/", "Export/", "2019.txt"} << "@/12345678/"
        << QStringList{"@/12345678", "@/87654321"};
    QTest::newRow("year-like sibling restarts on the parent")
        << QStringList{"87654321/", "box/12345678/", "box/2019/"} << "@/box" << QStringList{"@/87654321"};
    QTest::newRow("register folder as start is taken unseen") << QStringList() << "@/ABCDEFGH"
                                                             << QStringList{"@/ABCDEFGH"};
    QTest::newRow("empty maker folder leads back") << QStringList{"KORVANE/"} << "@" << QStringList();
    QTest::newRow("year folder in the maker folder leads back") << QStringList{"KORVANE/2019/"} << "@" << QStringList();
}

void CardLayoutTest::discovery()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, start);
    QFETCH(QStringList, folders);
    QTemporaryDir card;
    QVERIFY_DONE(makeTree(card.path(), tree));
    QCOMPARE(CardLayout::serialNumberFolders(start.replace("@", card.path())), folders.replaceInStrings("@", card.path()));
}

void CardLayoutTest::selection_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("taken");

    const QStringList twoYears{"2018/1810.a03", "2018/1811.a03", "2018/1812.a03",
                               "2019/1901.a03", "2019/1902.a03", "2019/1903.a03", "2019/1904.a03"};
    QTest::newRow("no dates: odd year folders and file names")
        << QStringList{"0042/1905.a03", "19/1906.a03", "abcd/1907.a03", "2019/1901.A03", "2019/1902.old.a03",
                       "2019/1904.a03/", "2019/1913.a03", "2019/ABCD.a03", "2019/1905.a03x", "2019/1906"}
        << QDate() << QDate() << "complete" << QStringList{"0042/1905.a03", "2019/1901.A03", "2019/1902.old.a03"};
    QTest::newRow("fromDate alone reads its month")
        << twoYears << QDate(2019, 3, 1) << QDate() << "201903" << QStringList{"2019/1903.a03"};
    QTest::newRow("toDate alone reads nothing") << twoYears << QDate() << QDate(2019, 3, 1) << QString() << QStringList();
    QTest::newRow("span within one month reads that month")
        << twoYears << QDate(2019, 1, 1) << QDate(2019, 1, 31) << "201901" << QStringList{"2019/1901.a03"};
    QTest::newRow("mid-month start within one month finds nothing")
        << twoYears << QDate(2019, 1, 15) << QDate(2019, 1, 31) << "201901" << QStringList();
    QTest::newRow("mid-month start leaves out its month")
        << twoYears << QDate(2019, 1, 15) << QDate(2019, 3, 31) << "201901_201903"
        << QStringList{"2019/1902.a03", "2019/1903.a03"};
    QTest::newRow("December file in the next year's folder")
        << QStringList{"2018/1811.a03", "2019/1812.a03", "2019/1901.a03", "2019/1902.a03"}
        << QDate(2018, 11, 1) << QDate(2019, 1, 1) << "201811_201901"
        << QStringList{"2018/1811.a03", "2019/1812.a03", "2019/1901.a03"};
    QTest::newRow("span ending before its start names both months")
        << twoYears << QDate(2019, 3, 1) << QDate(2018, 11, 1) << "201903_201811" << QStringList();
    QTest::newRow("register folder inside the register folder")
        << QStringList{"G7654321/2019/1901.a03", "2019/1902.a03"} << QDate() << QDate() << "complete"
        << QStringList{"G7654321/2019/1901.a03"};
}

void CardLayoutTest::selection()
{
    QFETCH(QStringList, tree);
    QFETCH(QDate, fromDate);
    QFETCH(QDate, toDate);
    QFETCH(QString, label);
    QFETCH(QStringList, taken);
    QTemporaryDir card;
    const QString folder = card.path() + QStringLiteral("/12345678");
    QVERIFY_DONE(makeTree(folder, tree));

    QStringList files;
    for (const QFileInfo &file : CardLayout::dataFiles(folder, fromDate, toDate))
        files << QDir(folder).relativeFilePath(file.absoluteFilePath());
    QCOMPARE(files, taken);
    QCOMPARE(CardLayout::reportLabel(fromDate, toDate), label);
}

void CardLayoutTest::serialNumber_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("backupName");
    QTest::addColumn<QString>("indexFile");
    QTest::newRow("8 digits") << "/card/12345678" << "Backup_CR#12345678_complete.enc" << "/card/12345678/12345678.a00";
    QTest::newRow("G series: the G reads as 0") << "/card/g1234567" << "Backup_CR#01234567_complete.enc"
                                                << "/card/g1234567/01234567.a00";
    QTest::newRow("8 other characters, as they stand") << "/card/ABCDEFGH" << "Backup_CR#ABCDEFGH_complete.enc"
                                                       << "/card/ABCDEFGH/ABCDEFGH.a00";
    QTest::newRow("no serial number") << "/card/Backup" << "Backup_CR#NoSerialNumber_complete.enc"
                                      << "/card/Backup/NoSerialNumber.a00";
}

void CardLayoutTest::serialNumber()
{
    QFETCH(QString, folder);
    QFETCH(QString, backupName);
    QFETCH(QString, indexFile);
    QCOMPARE(CardLayout::backupFileName(folder, QDate(), QDate()), backupName);
    QCOMPARE(CardLayout::indexFilePath(folder), indexFile);
}

QTEST_GUILESS_MAIN(CardLayoutTest)
#include "tst_cardlayout.moc"
