// Export folders checked end to end: a sound export, each way a row or a folder goes wrong with the
// findings as a report prints them, and a broken table that must not flood the report.

#include "exportverifier.h"
#include "gdpduexport.h"

#include <QTemporaryDir>
#include <QtTest>

using fiscora::app::ExportVerifier;
using gdpduexport::edited;
using gdpduexport::Row;
using gdpduexport::table;

class ExportVerifierTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void verify_data();
    void verify();
    void keepsTheFirstFindingsOfAFile();
};

void ExportVerifierTest::verify_data()
{
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<QByteArray>("gobd");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QStringList>("findings");
    QTest::addColumn<qint64>("rows");
    const QByteArray index = gdpduexport::indexXml();
    const auto rows = [&](const char *name, const QByteArray &gobd, const QStringList &findings, qint64 rows) {
        QTest::newRow(name) << index << gobd << QString() << findings << rows;
    };
    rows("sound export", table({Row, Row, Row}), {}, 3);
    rows("no rows", QByteArray(), {}, 0);
    rows("delimiter inside a quoted field", table({edited(Row, "Kasse 1", "\"Kasse; \"\"1\"\"\"")}), {}, 1);
    rows("empty amount", table({edited(Row, ";37,50;", ";;")}), {}, 1);
    rows("amount short of a decimal", table({Row, edited(Row, ";37,50;", ";37,5;"), Row}),
         {QStringLiteral("gobd.csv, line 2, column Betrag: \"37,5\" is not a number with 2 decimals.")}, 3);
    rows("letter O in a count", table({Row, edited(Row, ";3000;", ";3O00;")}),
         {QStringLiteral("gobd.csv, line 2, column Anzahl: \"3O00\" is not a number in digits only.")}, 2);
    rows("31 February", table({edited(Row, "03.01.2019", "31.02.2019")}),
         {QStringLiteral("gobd.csv, line 1, column Datum: \"31.02.2019\" is not a day of the calendar.")}, 1);
    rows("ISO date", table({edited(Row, "03.01.2019", "2019-01-03")}),
         {QStringLiteral("gobd.csv, line 1, column Datum: \"2019-01-03\" is not a date in the form DD.MM.YYYY.")}, 1);
    rows("two faults in a row, in the order of the columns",
         table({edited(Row, "03.01.2019", "3.1.2019").replace(";5,98;", ";5,9;")}),
         {QStringLiteral("gobd.csv, line 1, column Datum: \"3.1.2019\" is not a date in the form DD.MM.YYYY."),
          QStringLiteral("gobd.csv, line 1, column Steuer: \"5,9\" is not a number with 2 decimals.")}, 1);
    rows("a column missing", table({Row, edited(Row, ";Theke", "")}),
         {QStringLiteral("gobd.csv, line 2: The row has 26 instead of 27 fields.")}, 2);
    rows("INDEX_INFO line first",
         table({"INDEX_INFO;SOURCE_SD;2;;12345678;8b1a9953c4611296a827abf8c47804d7", Row, Row}),
         {QStringLiteral("gobd.csv, line 1: The row has 6 instead of 27 fields.")}, 3);
    rows("empty line at the end", table({Row, ""}),
         {QStringLiteral("gobd.csv, line 2: The row has 1 instead of 27 fields.")}, 2);
    rows("last row without CR LF", table({Row, Row}) + Row,
         {QStringLiteral("gobd.csv, line 3: The row does not end with the record delimiter CR LF.")}, 3);
    rows("bare LF", Row + "\r\n" + Row + "\n" + Row + "\r\n",
         {QStringLiteral("gobd.csv, line 2: The row does not end with the record delimiter CR LF.")}, 3);
    rows("row too long", table({edited(Row, "Kasse 1", QByteArray(ExportVerifier::LongestRow, 'x')), Row}),
         {QStringLiteral("gobd.csv, line 1: The row is longer than 1048576 bytes and was not checked.")}, 2);

    const auto folder = [&](const char *name, const QByteArray &index, const QString &removed,
                            const QStringList &findings, qint64 rows) {
        QTest::newRow(name) << index << table({Row, Row}) << removed << findings << rows;
    };
    const QString unsupported = QStringLiteral("index.xml, line 9: The table gobd.csv uses %1, which this check "
                                               "does not support; its rows were not checked.");
    folder("index.xml missing", index, QStringLiteral("index.xml"),
           {QStringLiteral("index.xml: The file is missing.")}, 0);
    folder("DTD missing", index, QStringLiteral("gdpdu-01-09-2004.dtd"),
           {QStringLiteral("gdpdu-01-09-2004.dtd: The file is missing.")}, 0);
    folder("table file missing", index, QStringLiteral("gobd.csv"),
           {QStringLiteral("gobd.csv: The file is missing.")}, 0);
    folder("index.xml not valid", edited(index, "<ImpliedAccuracy>3", "<Accuracy>3</Accuracy><ImpliedAccuracy>3"),
           QString(),
           {QStringLiteral("index.xml, line 135: Element Numeric content does not follow the DTD, expecting "
                           "(ImpliedAccuracy | Accuracy)?, got (Accuracy ImpliedAccuracy )")}, 0);
    folder("header row skipped", edited(index, "<VariableLength>", "<Range><From>2</From></Range><VariableLength>"),
           QString(), {}, 1);
    folder("UTF-16", edited(index, "<ANSI/>", "<UTF16/>"), QString(),
           {unsupported.arg(QStringLiteral("<UTF16/>"))}, 0);
    folder("date format without a year", edited(index, "<Format>DD.MM.YYYY", "<Format>DD.MM."), QString(),
           {unsupported.arg(QStringLiteral("<Format>DD.MM.</Format>"))}, 0);
    QTest::newRow("UTF-8") << edited(index, "<ANSI/>", "<UTF8/>")
                           << table({edited(Row, "Kasse 1", "Kasse \xc3\xa4"), edited(Row, "Kasse 1", "Kasse \xe4")})
                           << QString() << QStringList{QStringLiteral("gobd.csv, line 2: The row is not valid UTF-8.")}
                           << qint64(2);
}

void ExportVerifierTest::verify()
{
    QFETCH(QByteArray, index);
    QFETCH(QByteArray, gobd);
    QFETCH(QString, removed);
    QFETCH(QStringList, findings);
    QFETCH(qint64, rows);
    QTemporaryDir dir;
    // Named as exports are, with characters that a URI would take apart.
    const QString folder = dir.filePath("CR#12345678 Kasse für 100%/complete");
    QVERIFY_DONE(gdpduexport::write(folder, gobd, index));
    QVERIFY(removed.isEmpty() || QFile::remove(folder + "/" + removed));
    const ExportVerifier::Result result = ExportVerifier::verify(folder);
    QCOMPARE(gdpduexport::lines(result.findings), findings);
    QCOMPARE(result.rowsChecked, rows);
    QCOMPARE(result.isValid(), findings.isEmpty());
    QCOMPARE(result.findingsLeftOut, (QMap<QString, qint64>()));
}

void ExportVerifierTest::keepsTheFirstFindingsOfAFile()
{
    const int rows = ExportVerifier::FindingsKeptPerFile + 50;
    QTemporaryDir dir;
    const QByteArray row = edited(Row, ";37,50;", ";37,5;");
    QVERIFY_DONE(gdpduexport::write(dir.path(), table(QVector<QByteArray>(rows, row).toList())));
    const ExportVerifier::Result result = ExportVerifier::verify(dir.path());
    QCOMPARE(result.rowsChecked, qint64(rows));
    QCOMPARE(result.findings.size(), ExportVerifier::FindingsKeptPerFile);
    QCOMPARE(result.findings.last().toString(),
             QStringLiteral("gobd.csv, line 100, column Betrag: \"37,5\" is not a number with 2 decimals."));
    QCOMPARE(result.findingsLeftOut, (QMap<QString, qint64>{{QStringLiteral("gobd.csv"), 50}}));
}

QTEST_GUILESS_MAIN(ExportVerifierTest)
#include "tst_exportverifier.moc"
