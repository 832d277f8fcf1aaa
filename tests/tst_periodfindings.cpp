// What an export says of its period: the index report of its months, the library's line messages
// with their places, the lines missing from the numbering, and one line for what lies outside.

#include "periodfindings.h"
#include "samplecard.h"

#include <QBuffer>
#include <QtTest>

using namespace fiscora;
using namespace fiscora::app;

namespace {

// A row of register 1 as an export writes it.
QByteArray row(int number, const char *date)
{
    QByteArrayList fields;
    for (int i = 0; i < 27; ++i)
        fields << QByteArray();
    fields[0] = "1";
    fields[1] = QByteArray::number(number);
    fields[3] = date;
    fields[4] = "12:00:00";
    fields[17] = "1,00";
    return fields.join(';');
}

// The index of a backup from January 2016 to April 2019: March 2019 announced but missing.
IndexFileAnalyser indexWithMissingMarch()
{
    IndexFileAnalyser analyser;
    analyser.readCompressIndex(sample::backupHeader("12345678", QByteArray::fromHex("2401020101020101"), QByteArray(16, '\0')));
    return analyser;
}

QStringList texts(const QList<ReportedMessage> &report)
{
    QStringList texts;
    for (const ReportedMessage &message : report)
        texts << QStringLiteral("%1%2 %3").arg(message.isError ? "!" : "").arg(message.count).arg(message.text);
    return texts;
}

} // namespace

class PeriodFindingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void report_data();
    void report();
};

void PeriodFindingsTest::report_data()
{
    QTest::addColumn<QDate>("firstMonth");
    QTest::addColumn<QDate>("lastMonth");
    QTest::addColumn<QStringList>("report");
    QTest::addColumn<QStringList>("months");
    QTest::newRow("every month") << QDate() << QDate()
            << QStringList{"!0 Decryption error near line: 2 — row 3 of this table, 01.01.2019 12:00:00",
                           "!0 Decryption error near line: 5 — row 6 of this table, 02.04.2019 12:00:00",
                           "!0 Not all records could be read: 2 lines were repaired, 32 bytes could not be read.",
                           "!0 Lines 5 to 6 are missing with the missing data file of 03/2019, between 02.01.2019 "
                           "12:00:00 and 01.04.2019 12:00:00.",
                           "!0 Lines 10 to 11 are missing from the numbering (2 lines), between 03.04.2019 12:00:00 "
                           "and 01.05.2019 12:00:00.",
                           "!0 Lines missing from the numbering in all: 4, and 0 at the edges of this period.",
                           "1 The data was created by reading from SD-Card or Backup.",
                           "!2 INDEX ERROR: The file for the date 03/2019 is missing.",
                           "3 Hash value: OK<br>"}
            << QStringList{"01/2019: 4 records, 1 damaged", "02/2019: 0 records",
                           "03/2019: 0 records, its data file is missing, 2 missing: lines 5 to 6",
                           "04/2019: 3 records, 1 damaged, 2 missing: lines 10 to 11", "05/2019: OK, 1 record"};
    // April alone: the missing month and the damage of January lie outside, the gap before April's
    // first row went with March's data file, and the gap after its last row may be May's.
    QTest::newRow("April") << QDate(2019, 4, 1) << QDate()
            << QStringList{"!0 Decryption error near line: 5 — row 2 of this table, 02.04.2019 12:00:00",
                           "!0 Not all records could be read: 2 lines were repaired, 32 bytes could not be read.",
                           "0 Lines 5 to 6 are missing with the missing data file of 03/2019, between 02.01.2019 "
                           "12:00:00 and 01.04.2019 12:00:00.",
                           "!0 Lines 10 to 11 are missing at the edge of this period, between 03.04.2019 12:00:00 and "
                           "01.05.2019 12:00:00: whether they belong to it cannot be proven.",
                           "!0 Lines missing from the numbering in all: 0, and 2 at the edges of this period.",
                           "1 The data was created by reading from SD-Card or Backup.",
                           "2 The data index is correct, no issues recognised.",
                           "3 Hash value: OK<br>The data seems not corrupted!",
                           "0 Outside this period: messages on damaged lines: 1, missing months: 1."}
            << QStringList{"04/2019: 3 records, 1 damaged"};
    QTest::newRow("February, nothing in it") << QDate(2019, 2, 1) << QDate()
            << QStringList{"1 The data was created by reading from SD-Card or Backup.",
                           "2 The data index is correct, no issues recognised.",
                           "3 Hash value: OK<br>The data seems not corrupted!",
                           "0 Outside this period: messages on damaged lines: 2, missing months: 1."}
            << QStringList{"02/2019: 0 records"};
}

void PeriodFindingsTest::report()
{
    QFETCH(QDate, firstMonth);
    QFETCH(QDate, lastMonth);
    QFETCH(QStringList, report);
    QFETCH(QStringList, months);
    const QList<ReportedMessage> messages{
            {"Decryption error near line: 2", true, 0},
            {"Decryption error near line: 5", true, 0},
            {"Not all records could be read: 2 lines were repaired, 32 bytes could not be read.", true, 0},
            {"The data was created by reading from SD-Card or Backup.", false, 1},
            {"INDEX ERROR: The file for the date 03/2019 is missing.", true, 2},
            {"Hash value: OK<br>", false, 3}};
    JournalFacts facts(TableLayout::ofExports(), firstMonth, lastMonth);
    facts.locate(PeriodFindings::namedRows(messages));
    QByteArray table;
    for (const QByteArray &line : {row(1, "01.01.2019"), row(2, "01.01.2019"), row(3, "01.01.2019"),
                                   row(4, "02.01.2019"), row(7, "01.04.2019"), row(8, "02.04.2019"),
                                   row(9, "03.04.2019"), row(12, "01.05.2019")})
        table += line + "\r\n";
    QBuffer in(&table);
    in.open(QIODevice::ReadOnly);
    facts.addDevice(in);
    const PeriodFindings findings(indexWithMissingMarch(), facts, messages);
    QCOMPARE(texts(findings.report()), report);
    QStringList summaries;
    for (const MonthFinding &month : findings.months())
        summaries << month.summary();
    QCOMPARE(summaries, months);
}

QTEST_GUILESS_MAIN(PeriodFindingsTest)
#include "tst_periodfindings.moc"
