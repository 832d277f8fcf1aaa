// Reading index.xml: the library's own description, what the DTD leaves to defaults, and each way
// a description fails, with the findings as a report prints them.

#include "gdpduexport.h"
#include "tableformat.h"

#include <QTemporaryDir>
#include <QtTest>

using fiscora::app::TableFormat;
using gdpduexport::edited;

namespace {

// A description of one table with a date column, \a extras after its URL and \a layout in place
// of the usual variable-length one.
QByteArray oneTable(const QByteArray &extras, const QByteArray &layout = {})
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE DataSet SYSTEM \"gdpdu-01-09-2004.dtd\">\n"
           "<DataSet><Version>1.5</Version><Media><Name>Kasse</Name><Table><URL>t.csv</URL>"
            + extras
            + (layout.isEmpty() ? "<VariableLength><VariableColumn><Name>Tag</Name><Date/></VariableColumn>"
                                  "</VariableLength>"
                                : layout)
            + "</Table></Media></DataSet>\n";
}

QString escaped(const QString &text)
{
    return QString(text)
            .replace(QLatin1String("\r"), QLatin1String("\\r"))
            .replace(QLatin1String("\n"), QLatin1String("\\n"));
}

// A table's description on one line, its last column at the end.
QString summary(const TableFormat &table)
{
    const TableFormat::Column &last = table.columns.last();
    return QStringLiteral("%1, encoding %2, numbers %3 %4, %5, delimiters %6 %7 %8, rows %9-%10, epoch %11, "
                          "%12 columns, last %13 kind %14 accuracy %15%16 format %17")
            .arg(table.url)
            .arg(int(table.encoding))
            .arg(table.decimalSymbol, table.digitGroupingSymbol)
            .arg(table.layout == TableFormat::Layout::FixedLength ? QStringLiteral("fixed")
                                                                  : QStringLiteral("variable"))
            .arg(table.columnDelimiter, escaped(table.recordDelimiter), table.textEncapsulator)
            .arg(table.firstRow)
            .arg(table.lastRow == INT_MAX ? QStringLiteral("end") : QString::number(table.lastRow))
            .arg(table.epoch)
            .arg(table.columns.size())
            .arg(last.name)
            .arg(int(last.kind))
            .arg(last.accuracy)
            .arg(last.accuracyImplied ? QStringLiteral(" implied") : QString(), last.dateFormat);
}

} // namespace

class TableFormatTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTheLibrarysDescription();
    void described_data();
    void described();
    void faults_data();
    void faults();
    void namesFilesRelativeToTheFolder();
};

// libxml2 remarks on the published DTD whenever it validates against it; the remark is no finding.
void TableFormatTest::readsTheLibrarysDescription()
{
    QTemporaryDir dir;
    QVERIFY_DONE(gdpduexport::write(dir.path(), QByteArray()));
    QList<fiscora::app::Finding> findings;
    const QList<TableFormat> tables = TableFormat::read(dir.filePath(QStringLiteral("index.xml")), &findings);
    QCOMPARE(gdpduexport::lines(findings), QStringList());
    QCOMPARE(tables.size(), 1);
    const TableFormat &table = tables.first();
    QCOMPARE(summary(table), QStringLiteral("gobd.csv, encoding 0, numbers , ., variable, delimiters ; \\r\\n \", "
                                            "rows 1-end, epoch 30, 27 columns, last Preis kind 1 accuracy 3 implied "
                                            "format DD.MM.YYYY"));
    QCOMPARE(table.line, 9);
    QCOMPARE(table.columnIndex(QStringLiteral("Verkäufernummer")), 7);
    QCOMPARE(table.columnIndex(QStringLiteral("Kassenzeile")), -1);
}

void TableFormatTest::described_data()
{
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<QString>("summary");
    QTest::newRow("defaults") << oneTable({}) << QStringLiteral(
            "t.csv, encoding 0, numbers , ., variable, delimiters ; \\r\\n \", rows 1-end, epoch 30, 1 columns, "
            "last Tag kind 2 accuracy 0 format DD.MM.YYYY");
    QTest::newRow("UTF-8, numbers, length and epoch")
            << oneTable("<UTF8/><DecimalSymbol>.</DecimalSymbol><DigitGroupingSymbol> </DigitGroupingSymbol>"
                         "<Range><From>2</From><Length>3</Length></Range><Epoch>50</Epoch>")
            << QStringLiteral("t.csv, encoding 5, numbers .  , variable, delimiters ; \\r\\n \", rows 2-4, epoch 50, "
                              "1 columns, last Tag kind 2 accuracy 0 format DD.MM.YYYY");
    QTest::newRow("delimiters and a range to")
            << oneTable("<Range><From>2</From><To>9</To></Range>",
                         "<VariableLength><ColumnDelimiter>|</ColumnDelimiter><RecordDelimiter>&#10;</RecordDelimiter>"
                         "<TextEncapsulator>'</TextEncapsulator><VariablePrimaryKey><Name>Nr</Name><Numeric/>"
                         "</VariablePrimaryKey><VariableColumn><Name>Kurs</Name><Numeric><Accuracy>4</Accuracy>"
                         "</Numeric></VariableColumn></VariableLength>")
            << QStringLiteral("t.csv, encoding 0, numbers , ., variable, delimiters | \\n ', rows 2-9, epoch 30, "
                              "2 columns, last Kurs kind 1 accuracy 4 format DD.MM.YYYY");
    QTest::newRow("fixed length")
            << oneTable("<OEM/>", "<FixedLength><FixedColumn><Name>Tag</Name><Date><Format>YYYY-MM-DD</Format></Date>"
                                   "<FixedRange><From>1</From><Length>10</Length></FixedRange></FixedColumn>"
                                   "</FixedLength>")
            << QStringLiteral("t.csv, encoding 2, numbers , ., fixed, delimiters ; \\r\\n \", rows 1-end, epoch 30, "
                              "1 columns, last Tag kind 2 accuracy 0 format YYYY-MM-DD");
}

void TableFormatTest::described()
{
    QFETCH(QByteArray, index);
    QFETCH(QString, summary);
    QTemporaryDir dir;
    QVERIFY_DONE(gdpduexport::write(dir.path(), QByteArray(), index));
    QList<fiscora::app::Finding> findings;
    const QList<TableFormat> tables = TableFormat::read(dir.filePath(QStringLiteral("index.xml")), &findings);
    QCOMPARE(gdpduexport::lines(findings), QStringList());
    QCOMPARE(tables.size(), 1);
    QCOMPARE(::summary(tables.first()), summary);
}

void TableFormatTest::faults_data()
{
    QTest::addColumn<QByteArray>("index");
    QTest::addColumn<QStringList>("findings");
    const QByteArray index = gdpduexport::indexXml();
    QTest::newRow("DTD on the network, never fetched")
            << edited(index, "\"gdpdu", "\"http://www.example.invalid/gdpdu")
            << QStringList{QStringLiteral("http://www.example.invalid/gdpdu-01-09-2004.dtd: The file is missing.")};
    QTest::newRow("no DOCTYPE") << edited(index, "<!DOCTYPE DataSet SYSTEM \"gdpdu-01-09-2004.dtd\">", "")
                                << QStringList{QStringLiteral("index.xml, line 4: Validation failed: no DTD found !")};
    QTest::newRow("unknown element")
            << edited(index, "<AlphaNumeric/>", "<Text/>")
            << QStringList{QStringLiteral("index.xml, line 24: No declaration for element Text"),
                           QStringLiteral("index.xml, line 25: Element VariableColumn content does not follow the "
                                          "DTD, expecting (Name , Description? , (Numeric | (AlphaNumeric , "
                                          "MaxLength?) | Date) , Map*), got (Name Text )")};
    QTest::newRow("not well-formed")
            << edited(index, "</Table>", "")
            << QStringList{
                   QStringLiteral("index.xml, line 217: Opening and ending tag mismatch: Table line 9 and Media"),
                   QStringLiteral("index.xml, line 219: Opening and ending tag mismatch: Media line 6 and DataSet"),
                   QStringLiteral("index.xml, line 221: Premature end of data in tag DataSet line 4")};
    QTest::newRow("accuracy not a number")
            << edited(index, "<Accuracy>0</Accuracy>", "<Accuracy>null</Accuracy>")
            << QStringList{QStringLiteral("index.xml, line 30: Accuracy must be a whole number of at least 0, "
                                          "not \"null\".")};
    QTest::newRow("range from row 0")
            << oneTable("<Range><From>0</From></Range>")
            << QStringList{QStringLiteral("index.xml, line 3: From must be a whole number of at least 1, not \"0\".")};
}

void TableFormatTest::faults()
{
    QFETCH(QByteArray, index);
    QFETCH(QStringList, findings);
    QTemporaryDir dir;
    QVERIFY_DONE(gdpduexport::write(dir.path(), QByteArray(), index));
    QList<fiscora::app::Finding> found;
    QCOMPARE(TableFormat::read(dir.filePath(QStringLiteral("index.xml")), &found).size(), 0);
    QCOMPARE(gdpduexport::lines(found), findings);
}

// libxml2 names the files it finds fault with after the path it was given to index.xml.
void TableFormatTest::namesFilesRelativeToTheFolder()
{
    QTemporaryDir dir;
    QVERIFY_DONE(writeFile(dir.filePath(QStringLiteral("export/gdpdu-01-09-2004.dtd")), "<!ELEMENT"));
    QVERIFY_DONE(gdpduexport::write(dir.filePath(QStringLiteral("export")), QByteArray()));
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    QList<fiscora::app::Finding> findings;
    TableFormat::read(QStringLiteral("export/index.xml"), &findings);
    QVERIFY(QDir::setCurrent(current));
    QCOMPARE(gdpduexport::lines(findings),
             QStringList{QStringLiteral("gdpdu-01-09-2004.dtd, line 1: Space required after 'ELEMENT'")});
}

QTEST_GUILESS_MAIN(TableFormatTest)
#include "tst_tableformat.moc"
