// What a card holds, listed as a read would find it: the listing's month index is the one the
// read writes into the backup header, and listing writes nothing.

#include "readertest.h"

#include <fiscora/cardlisting.h>
#include <fiscora/sdcardreader.h>

#include <QtTest>

using namespace readertest;
using fiscora::CardListing;
using fiscora::IndexFileAnalyser;
using fiscora::sample::CardOptions;

namespace {

// The month index in the header of the backup that a read of the card wrote for serialNumber.
QMap<QDate, IndexFileAnalyser::IndexStatus> readIndexMap(const QString &card, const QString &target,
                                                         const QString &serialNumber)
{
    fiscora::SDCardReader reader;
    reader.startReading(card, target, QDate(), QDate());
    reader.wait();
    IndexFileAnalyser analyser;
    analyser.readCompressIndex(fileBytes(backupPath(target, serialNumber)));
    return analyser.getIndexMap();
}

QDate month(int m)
{
    return QDate(2019, m, 1);
}

} // namespace

class CardListingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false")); }
    void agreesWithRead();
    void failures_data();
    void failures();
    void label_data();
    void label();
};

// Two registers: one with a month the index announces but the card lacks, one whose March file
// cannot be opened. The listing gives each the index of its backup and writes nothing.
void CardListingTest::agreesWithRead()
{
    QTemporaryDir card;
    QTemporaryDir target;
    CardOptions options;
    options.serialNumbers = QStringList{"12345678", "87654321"};
    options.missingMonth = month(2);
    const auto registers = writeTestCard(card.path(), options);
    const QString broken = registers.at(1).dataFiles.at(1);
    QVERIFY(QFile::remove(broken) && QFile::link("/proc/sys/vm/drop_caches", broken));
    const QStringList before = tree(card.path());

    const QList<CardListing::Register> listed = CardListing::list(card.path(), QDate(), QDate());

    QCOMPARE(tree(card.path()), before);
    QCOMPARE(listed.size(), 2);
    const CardListing::Register &first = listed.at(0);
    QCOMPARE(first.serialNumber, "12345678");
    QCOMPARE(first.folder, registers.at(0).folder);
    QCOMPARE(first.backupFileName, "Backup_CR#12345678_complete.enc");
    QCOMPARE(first.dataFiles.keys(), (QList<QDate>{month(1), month(3), month(4)}));
    QCOMPARE(first.dataFiles.value(month(3)), registers.at(0).dataFiles.at(1));
    QVERIFY(first.indexRead);
    QVERIFY(first.error.isEmpty());
    QCOMPARE(first.index.getIndexMap().value(month(2)), IndexFileAnalyser::INDEX_ERROR_FILE_MISSING);
    QCOMPARE(QList<bool>({first.announces(month(1)), first.announces(month(2)), first.announces(month(5))}),
             QList<bool>({true, true, false}));
    const CardListing::Register &second = listed.at(1);
    QCOMPARE(second.unreadableMonths, QList<QDate>{month(3)});
    QCOMPARE(second.dataFiles.size(), 3);
    QCOMPARE(second.index.getIndexMap().value(month(3)), IndexFileAnalyser::INDEX_ERROR_FILE_MISSING);

    for (const CardListing::Register &cashRegister : listed)
        QCOMPARE(cashRegister.index.getIndexMap(), readIndexMap(card.path(), target.path(), cashRegister.serialNumber));
}

// A register that a read would not back up carries the read's error and hint; one whose backup
// name a register before it takes, too.
void CardListingTest::failures_data()
{
    QTest::addColumn<QStringList>("serialNumbers");
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<QStringList>("errors");

    QTest::newRow("month without data") << QStringList{"12345678"} << month(8) << QDate()
        << QStringList{"For the choosen date 08/2019 couldn´t found any data!"};
    QTest::newRow("span without data") << QStringList{"12345678"} << month(8) << month(9)
        << QStringList{"For the choosen datespan 08/2019 to 09/2019 couldn´t found any data!"};
    QTest::newRow("one backup name for two folders") << QStringList{"01234567", "G1234567"} << QDate() << QDate()
        << QStringList{"", "The backup file ./Backup_CR#01234567_complete.enc was already written for another "
                           "register folder."};
}

void CardListingTest::failures()
{
    QFETCH(QStringList, serialNumbers);
    QFETCH(QDate, fromDate);
    QFETCH(QDate, toDate);
    QFETCH(QStringList, errors);
    QTemporaryDir card;
    CardOptions options;
    options.serialNumbers = serialNumbers;
    writeTestCard(card.path(), options);

    QStringList listedErrors;
    for (const CardListing::Register &cashRegister : CardListing::list(card.path(), fromDate, toDate)) {
        listedErrors << cashRegister.error;
        QCOMPARE(cashRegister.hint.isEmpty(), cashRegister.error.isEmpty());
        QCOMPARE(cashRegister.index.getIndexMap().isEmpty(), !cashRegister.error.isEmpty());
    }
    QCOMPARE(listedErrors, errors);
    QVERIFY(CardListing::list(card.path() + "/KORVANE/nothing", QDate(), QDate()).isEmpty());
}

void CardListingTest::label_data()
{
    QTest::addColumn<QDate>("fromDate");
    QTest::addColumn<QDate>("toDate");
    QTest::addColumn<QString>("label");

    QTest::newRow("everything") << QDate() << QDate() << "complete";
    QTest::newRow("one month") << month(3) << QDate() << "201903";
    QTest::newRow("span") << month(1) << month(12) << "201901_201912";
}

void CardListingTest::label()
{
    QFETCH(QDate, fromDate);
    QFETCH(QDate, toDate);
    QTEST(CardListing::reportLabel(fromDate, toDate), "label");
}

QTEST_GUILESS_MAIN(CardListingTest)
#include "tst_cardlisting.moc"
