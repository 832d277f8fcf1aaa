// Which folders the applications show and read as registers: a copy of a card in a folder with a
// register's name, folders beside the chosen one, and folders that hold nothing of a register.

#include "cardsearch.h"
#include "fixtures.h"

#include <QtTest>

using namespace fiscora::app;

class CardSearchTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false")); }
    void search_data();
    void search();
};

namespace {

// Each entry a register folder holding its index file and one data file, or "/" and a folder
// holding nothing of a register.
QString makeFolders(const QString &root, const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QString path = root + QLatin1Char('/') + QString(folder).remove(0, folder.startsWith('/') ? 1 : 0);
        if (folder.startsWith('/')) {
            const QString reason = writeFile(path + "/notes.txt", "nothing of a register");
            if (!reason.isEmpty())
                return reason;
            continue;
        }
        const QString serialNumber = QFileInfo(path).fileName();
        for (const QString &file : {serialNumber + ".a00", QStringLiteral("2019/1901.a03")}) {
            const QString reason = writeFile(path + QLatin1Char('/') + file, QByteArray(16, 'x'));
            if (!reason.isEmpty())
                return reason;
        }
    }
    return QString();
}

QStringList relative(const QString &root, const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names << QDir(root).relativeFilePath(path);
    return names;
}

} // namespace

void CardSearchTest::search_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("registers");
    QTest::addColumn<QStringList>("passedOver");

    QTest::newRow("a card copied into SD-Karte")
            << QStringList{"SD-Karte/KORVANE/12345678", "SD-Karte/KORVANE/12345679", "/SD-Karte/DCIM"} << "SD-Karte"
            << QStringList{"SD-Karte/KORVANE/12345678", "SD-Karte/KORVANE/12345679"} << QStringList();
    QTest::newRow("registers directly in SDCARD01")
            << QStringList{"SDCARD01/12345678", "/SDCARD01/System"} << "SDCARD01"
            << QStringList{"SDCARD01/12345678"} << QStringList();
    QTest::newRow("a register folder chosen") << QStringList{"card/KORVANE/12345678"} << "card/KORVANE/12345678"
                                              << QStringList{"card/KORVANE/12345678"} << QStringList();
    QTest::newRow("a year folder chosen") << QStringList{"card/KORVANE/12345678", "card/KORVANE/12345679"}
                                          << "card/KORVANE/12345678/2019" << QStringList{"card/KORVANE/12345678"}
                                          << QStringList();
    QTest::newRow("a sibling of the chosen folder") << QStringList{"lst/m/Rechnung", "/lst/m/kasse"} << "lst/m/kasse"
                                                    << QStringList() << QStringList();
    QTest::newRow("a folder holding nothing") << QStringList{"card/KORVANE/12345678", "/card/KORVANE/SETTINGS/2018"}
                                              << "card" << QStringList{"card/KORVANE/12345678"}
                                              << QStringList{"card/KORVANE/SETTINGS"};
    QTest::newRow("an ordinary folder with a register's name") << QStringList{"/notacard/photos"} << "notacard"
                                                               << QStringList() << QStringList();
}

void CardSearchTest::search()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, start);
    QFETCH(QStringList, registers);
    QFETCH(QStringList, passedOver);
    QTemporaryDir dir;
    QVERIFY_DONE(makeFolders(dir.path(), folders));

    const CardSearch search(dir.filePath(start), {}, {}, dir.path());
    QStringList found;
    for (const fiscora::CardListing::Register &cashRegister : search.registers())
        found << cashRegister.folder;
    QCOMPARE(relative(dir.path(), found), registers);
    QCOMPARE(relative(dir.path(), search.passedOver()), passedOver);
}

QTEST_GUILESS_MAIN(CardSearchTest)
#include "tst_cardsearch.moc"
