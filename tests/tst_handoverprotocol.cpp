// The hand-over protocol as an auditor reads it: the text of the PDF as pdftotext lays it out,
// each line with its runs of spaces made one.

#include "handoverprotocol.h"

#include <fiscora/helperclass.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using fiscora::IndexFileAnalyser;
using fiscora::app::HandoverFacts;
using fiscora::app::HandoverProtocol;
using fiscora::app::MonthSummary;

namespace {

const QByteArray EmptyMd5 = QByteArray::fromHex("d41d8cd98f00b204e9800998ecf8427e");
const QString EmptyMd5Text = QStringLiteral("D4 1D 8C D9 8F 00 B2 04 E9 80 09 98 EC F8 42 7E");

HandoverFacts threeMonths()
{
    HandoverFacts facts;
    facts.serialNumber = QStringLiteral("12345678");
    facts.backupFile = QStringLiteral("Backup_CR#12345678_complete.enc");
    facts.source = QStringLiteral("SD card or backup folder");
    facts.firstMonth = QDate(2019, 1, 1);
    facts.lastMonth = QDate(2019, 3, 1);
    facts.months = {{QDate(2019, 1, 1), IndexFileAnalyser::INDEX_OK, 1000, 123456},
                    {QDate(2019, 2, 1), IndexFileAnalyser::INDEX_ERROR_FILE_MISSING, 0, 0},
                    {QDate(2019, 3, 1), IndexFileAnalyser::INDEX_OK, 234, -250}};
    facts.records = 1234;
    facts.storedMd5 = EmptyMd5;
    facts.computedMd5 = EmptyMd5;
    facts.toolVersion = QStringLiteral("fiscora 1.3.0");
    facts.created = QDateTime(QDate(2026, 12, 6), QTime(22, 0, 57), Qt::UTC);
    facts.exportFolder = QStringLiteral("CR#12345678/201901_201903");
    return facts;
}

HandoverFacts oneMonth(IndexFileAnalyser::IndexStatus status, qint64 records, qint64 cents)
{
    HandoverFacts facts = threeMonths();
    facts.lastMonth = facts.firstMonth;
    facts.months = {{facts.firstMonth, status, records, cents}};
    return facts;
}

} // namespace

class HandoverProtocolTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void namesTheHandOver();
    void md5Verdict_data();
    void md5Verdict();
    void monthRow_data();
    void monthRow();
    void followsTheLocale_data();
    void followsTheLocale();
    void reportLines_data();
    void reportLines();
    void longPeriodOnA4Pages();

private:
    QStringList textOf(const HandoverFacts &facts, const QLocale &locale = QLocale(QLocale::English, QLocale::UnitedStates));
    QString run(const QString &program, const QStringList &arguments);

    QTemporaryDir m_dir;
    QString m_pdfPath;
};

void HandoverProtocolTest::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QVERIFY2(m_dir.isValid(), qPrintable(m_dir.errorString()));
    m_pdfPath = m_dir.filePath(QStringLiteral("protokoll.pdf"));
}

void HandoverProtocolTest::namesTheHandOver()
{
    const QStringList lines = textOf(threeMonths());
    const QStringList expected = {
            QStringLiteral("Hand-over protocol"),
            QStringLiteral("GoBD/GDPdU export of the cash register 12345678"),
            QStringLiteral("Serial number of the cash register 12345678"),
            QStringLiteral("Period January 2019 to March 2019"),
            QStringLiteral("Records in the table file 1,234"),
            QStringLiteral("Export folder in the archive CR#12345678/201901_201903"),
            QStringLiteral("Backup file Backup_CR#12345678_complete.enc"),
            QStringLiteral("Source of the backup's data SD card or backup folder"),
            QStringLiteral("Created Sunday, December 6, 2026 10:00:57 PM UTC"),
            QStringLiteral("Created with fiscora 1.3.0"),
            QStringLiteral("MD5 value in the backup header ") + EmptyMd5Text,
            QStringLiteral("MD5 value of the backup's data ") + EmptyMd5Text,
            QStringLiteral("Comparison matches"),
            QStringLiteral("Month Index status Records Sum of Betrag"),
            QStringLiteral("January 2019 OK 1,000 1,234.56"),
            QStringLiteral("February 2019 data file missing 0 0.00"),
            QStringLiteral("March 2019 OK 234 -2.50"),
            QStringLiteral("Total 1,234 1,232.06"),
            QStringLiteral("No records were repaired and none were lost."),
    };
    for (const QString &line : expected)
        QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + lines.join(QLatin1Char('\n'))));
}

void HandoverProtocolTest::md5Verdict_data()
{
    QTest::addColumn<QByteArray>("computed");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("equal") << EmptyMd5 << "matches";
    QTest::newRow("one bit apart") << QByteArray::fromHex("d41d8cd98f00b204e9800998ecf8427f") << "does not match";
    QTest::newRow("none computed") << QByteArray() << "does not match";
}

void HandoverProtocolTest::md5Verdict()
{
    QFETCH(QByteArray, computed);
    QFETCH(QString, verdict);
    HandoverFacts facts = threeMonths();
    facts.computedMd5 = computed;
    const QStringList lines = textOf(facts);
    QVERIFY(lines.contains(QStringLiteral("MD5 value in the backup header ") + EmptyMd5Text));
    QVERIFY(lines.contains(QStringLiteral("MD5 value of the backup's data %1")
                                   .arg(fiscora::HelperClass::convertToFormattedHexValue(computed))
                                   .trimmed()));
    QCOMPARE(lines.filter(QStringLiteral("Comparison")), QStringList{QStringLiteral("Comparison ") + verdict});
}

// The row of a one-month period in the table, and the total below it.
void HandoverProtocolTest::monthRow_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("records");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("statusText");
    QTest::addColumn<QString>("figures");
    const int ok = IndexFileAnalyser::INDEX_OK;
    QTest::newRow("OK") << ok << qint64(12) << qint64(123456) << "OK" << "12 1,234.56";
    QTest::newRow("data file missing") << int(IndexFileAnalyser::INDEX_ERROR_FILE_MISSING) << qint64(0) << qint64(0)
                                       << "data file missing" << "0 0.00";
    QTest::newRow("data file not in the index") << int(IndexFileAnalyser::INDEX_ERROR_FILE_EXIST) << qint64(3)
                                                << qint64(999) << "data file not in the index" << "3 9.99";
    QTest::newRow("no index file") << int(IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING) << qint64(1) << qint64(5)
                                   << "no index file" << "1 0.05";
    QTest::newRow("status byte of a damaged header") << 7 << qint64(1) << qint64(100) << "unknown status 7" << "1 1.00";
    QTest::newRow("refund below one euro") << ok << qint64(1) << qint64(-5) << "OK" << "1 -0.05";
    QTest::newRow("millions of records") << ok << qint64(1234567) << qint64(100000000) << "OK"
                                         << "1,234,567 1,000,000.00";
    QTest::newRow("largest amount") << ok << qint64(1) << std::numeric_limits<qint64>::max() << "OK"
                                    << "1 92,233,720,368,547,758.07";
    QTest::newRow("most negative amount") << ok << qint64(1) << std::numeric_limits<qint64>::min() << "OK"
                                          << "1 -92,233,720,368,547,758.08";
}

void HandoverProtocolTest::monthRow()
{
    QFETCH(int, status);
    QFETCH(qint64, records);
    QFETCH(qint64, cents);
    QFETCH(QString, statusText);
    QFETCH(QString, figures);
    const QStringList lines = textOf(oneMonth(IndexFileAnalyser::IndexStatus(status), records, cents));
    QVERIFY(lines.contains(QStringLiteral("Period January 2019")));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^January 2019 "))),
             QStringList{QStringLiteral("January 2019 %1 %2").arg(statusText, figures)});
    QVERIFY(lines.contains(QStringLiteral("Total ") + figures));
}

void HandoverProtocolTest::followsTheLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                            << QStringList{QStringLiteral("Period Januar 2019 to März 2019"),
                                           QStringLiteral("Records in the table file 1.234"),
                                           QStringLiteral("Created Sonntag, 6. Dezember 2026 22:00:57 UTC"),
                                           QStringLiteral("Januar 2019 OK 1.000 1.234,56"),
                                           QStringLiteral("März 2019 OK 234 -2,50"),
                                           QStringLiteral("Total 1.234 1.232,06")};
    QTest::newRow("British English") << QLocale(QLocale::English, QLocale::UnitedKingdom)
                                     << QStringList{QStringLiteral("Period January 2019 to March 2019"),
                                                    QStringLiteral("Records in the table file 1,234"),
                                                    QStringLiteral("Created Sunday, 6 December 2026 22:00:57 UTC"),
                                                    QStringLiteral("January 2019 OK 1,000 1,234.56"),
                                                    QStringLiteral("March 2019 OK 234 -2.50"),
                                                    QStringLiteral("Total 1,234 1,232.06")};
}

void HandoverProtocolTest::followsTheLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, expected);
    const QStringList lines = textOf(threeMonths(), locale);
    for (const QString &line : qAsConst(expected))
        QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + lines.join(QLatin1Char('\n'))));
}

// The lines between the heading of the report and the note on the manifest.
void HandoverProtocolTest::reportLines_data()
{
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("none") << QStringList() << QStringList{QStringLiteral("No records were repaired and none were lost.")};
    QTest::newRow("one per line") << QStringList{QStringLiteral("Line 17 was repaired."),
                                                 QStringLiteral("INDEX ERROR: The file for the date 2019-02 is missing.")}
                                  << QStringList{QStringLiteral("Line 17 was repaired."),
                                                 QStringLiteral("INDEX ERROR: The file for the date 2019-02 is missing.")};
    QTest::newRow("a break starts a line")
            << QStringList{QStringLiteral("Hash value: INVALID<br>The data could be corrupted!")}
            << QStringList{QStringLiteral("Hash value: INVALID"), QStringLiteral("The data could be corrupted!")};
    QTest::newRow("other markup is text") << QStringList{QStringLiteral("Line 3: \"<b>Kasse</b>\" & Theke")}
                                          << QStringList{QStringLiteral("Line 3: \"<b>Kasse</b>\" & Theke")};
}

void HandoverProtocolTest::reportLines()
{
    QFETCH(QStringList, problems);
    QFETCH(QStringList, expected);
    HandoverFacts facts = threeMonths();
    facts.problems = problems;
    const QStringList lines = textOf(facts);
    const int heading = lines.indexOf(QStringLiteral("Report of the export"));
    const int note = lines.indexOf(QRegularExpression(QStringLiteral("The file manifest\\.sha256 .*")));
    QVERIFY(heading >= 0 && note > heading);
    QCOMPARE(lines.mid(heading + 1, note - heading - 1), expected);
}

// Three years of months run onto a second A4 page, and none of them is lost on the way.
void HandoverProtocolTest::longPeriodOnA4Pages()
{
    HandoverFacts facts = threeMonths();
    facts.months.clear();
    for (QDate month(2017, 1, 1); month < QDate(2020, 1, 1); month = month.addMonths(1))
        facts.months.append({month, IndexFileAnalyser::INDEX_OK, 1, 100});
    facts.lastMonth = facts.months.last().month;
    const QStringList lines = textOf(facts);
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^\\w+ 20(17|18|19) OK 1 1.00$"))).size(), 36);
    QVERIFY(lines.contains(QStringLiteral("Total 36 36.00")));
    const QString info = run(QStringLiteral("pdfinfo"), {m_pdfPath});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +2\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size: +595(\\.\\d+)? x 842(\\.\\d+)? pts \\(A4\\)"))),
             qPrintable(info));
}

// The protocol's lines without empty ones, or why there are none,, each with its runs of white space made one space.
QStringList HandoverProtocolTest::textOf(const HandoverFacts &facts, const QLocale &locale)
{
    QFile pdf(m_pdfPath);
    if (!pdf.open(QIODevice::WriteOnly) || pdf.write(HandoverProtocol(locale).pdf(facts)) <= 0 || !pdf.flush())
        return {QStringLiteral("cannot write %1: %2").arg(m_pdfPath, pdf.errorString())};
    pdf.close();
    QStringList lines;
    const QStringList arguments = {QStringLiteral("-layout"), m_pdfPath, QStringLiteral("-")};
    for (const QString &line : run(QStringLiteral("pdftotext"), arguments).split(QLatin1Char('\n'))) {
        if (!line.simplified().isEmpty())
            lines.append(line.simplified());
    }
    return lines;
}

// What program printed, or why it printed nothing.
QString HandoverProtocolTest::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QTEST_MAIN(HandoverProtocolTest)
#include "tst_handoverprotocol.moc"
