// The hand-over protocol as an auditor reads it: the PDF's text as pdftotext lays it out, each
// line with its runs of white space made one space.

#include "handoverprotocol.h"

#include <QCryptographicHash>
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

const QByteArray Md5 = QByteArray::fromHex("d41d8cd98f00b204e9800998ecf8427e");
const QString Md5Text = QStringLiteral("D4 1D 8C D9 8F 00 B2 04 E9 80 09 98 EC F8 42 7E");
const QLocale English(QLocale::English, QLocale::UnitedStates);

QByteArray sha256Of(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The SHA-256 values of an export folder's files, and of the backup.
const QMap<QString, QByteArray> FileSha256 = {{"gdpdu-01-09-2004.dtd", sha256Of("dtd")},
                                              {"gobd.csv", sha256Of("table")},
                                              {"index.xml", sha256Of("index")},
                                              {"protokoll.json", sha256Of("figures")}};
const QByteArray BackupSha256 = sha256Of("backup");

HandoverFacts facts(const QList<MonthSummary> &months)
{
    HandoverFacts facts;
    facts.serialNumber = QStringLiteral("12345678");
    facts.backupFile = QStringLiteral("Backup_CR#12345678_complete.enc");
    facts.source = QStringLiteral("SD card or backup folder");
    facts.firstMonth = months.first().month;
    facts.lastMonth = months.last().month;
    facts.months = months;
    facts.records = 1234;
    facts.storedMd5 = facts.computedMd5 = Md5;
    facts.backupSha256 = BackupSha256;
    facts.sha256 = FileSha256;
    facts.toolVersion = QStringLiteral("fiscora 1.3.0");
    facts.created = QDateTime(QDate(2026, 12, 6), QTime(22, 0, 57), Qt::UTC);
    facts.exportFolder = QStringLiteral("CR#12345678/201901_201903");
    return facts;
}

HandoverFacts threeMonths()
{
    return facts({{QDate(2019, 1, 1), IndexFileAnalyser::INDEX_OK, 1000, 123456, 19711, {}},
                  {QDate(2019, 2, 1), IndexFileAnalyser::INDEX_ERROR_FILE_MISSING, 0, 0, 0, {"its data file is missing"}},
                  {QDate(2019, 3, 1), IndexFileAnalyser::INDEX_OK, 234, -250, -40, {}}});
}

// What program printed, or why it printed nothing.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class HandoverProtocolTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void statesTheFacts_data();
    void statesTheFacts();
    void monthRow_data();
    void monthRow();
    void longPeriodOnA4Pages();
    void sha256ValuesFitThePage();

private:
    QStringList textOf(const HandoverFacts &facts, const QLocale &locale = English);

    QTemporaryDir m_dir;
};

void HandoverProtocolTest::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QVERIFY2(m_dir.isValid(), qPrintable(m_dir.errorString()));
}

void HandoverProtocolTest::statesTheFacts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("computedMd5");
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("English") << English << Md5 << QStringList()
                             << QStringList{"Hand-over protocol",
                                            "GoBD/GDPdU export of the cash register 12345678",
                                            "Serial number of the cash register 12345678",
                                            "Period January 2019 to March 2019",
                                            "Records in the table file 1,234",
                                            "Export folder in the archive CR#12345678/201901_201903",
                                            "Backup file Backup_CR#12345678_complete.enc",
                                            "Source of the backup's data SD card or backup folder",
                                            "Created Sunday, December 6, 2026 10:00:57 PM UTC",
                                            "Created with fiscora 1.3.0",
                                            "MD5 value in the backup header " + Md5Text,
                                            "MD5 value of the backup's data " + Md5Text,
                                            "Comparison matches",
                                            "SHA-256 value of the backup file " + BackupSha256,
                                            "Month Status Records Sum of Betrag Sum of Steuer",
                                            "January 2019 OK 1,000 1,234.56 197.11",
                                            "February 2019 its data file is missing 0 0.00 0.00",
                                            "March 2019 OK 234 -2.50 -0.40",
                                            "Total 1,234 1,232.06 196.71",
                                            "No records were repaired and none were lost.",
                                            "SHA-256 values of the files",
                                            "gdpdu-01-09-2004.dtd " + FileSha256.value("gdpdu-01-09-2004.dtd"),
                                            "gobd.csv " + FileSha256.value("gobd.csv"),
                                            "index.xml " + FileSha256.value("index.xml"),
                                            "protokoll.json " + FileSha256.value("protokoll.json")};
    QTest::newRow("German dates and numbers")
            << QLocale(QLocale::German, QLocale::Germany) << Md5 << QStringList()
            << QStringList{"Period Januar 2019 to März 2019", "Records in the table file 1.234",
                           "Created Sonntag, 6. Dezember 2026 22:00:57 UTC", "Januar 2019 OK 1.000 1.234,56 197,11",
                           "März 2019 OK 234 -2,50 -0,40", "Total 1.234 1.232,06 196,71"};
    QTest::newRow("MD5 one bit apart") << English << QByteArray::fromHex("d41d8cd98f00b204e9800998ecf8427f")
                                       << QStringList()
                                       << QStringList{"MD5 value in the backup header " + Md5Text,
                                                      "MD5 value of the backup's data D4 1D 8C D9 8F 00 B2 04 E9 80 "
                                                      "09 98 EC F8 42 7F",
                                                      "Comparison does not match"};
    // A "<br>" starts a new line; any other markup is text.
    QTest::newRow("report lines") << English << Md5
                                  << QStringList{"Hash value: INVALID<br>The data could be corrupted!",
                                                 "Line 3: \"<b>Kasse</b>\" & Theke"}
                                  << QStringList{"Hash value: INVALID", "The data could be corrupted!",
                                                 "Line 3: \"<b>Kasse</b>\" & Theke"};
}

void HandoverProtocolTest::statesTheFacts()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, computedMd5);
    QFETCH(QStringList, problems);
    QFETCH(QStringList, expected);
    HandoverFacts facts = threeMonths();
    facts.computedMd5 = computedMd5;
    facts.problems = problems;
    const QStringList lines = textOf(facts, locale);
    for (const QString &line : qAsConst(expected))
        QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral("\nnot in:\n") + lines.join(QLatin1Char('\n'))));
}

// The row of a one-month period, and the total below it.
void HandoverProtocolTest::monthRow_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<qint64>("betragCents");
    QTest::addColumn<qint64>("steuerCents");
    QTest::addColumn<QString>("statusText");
    QTest::addColumn<QString>("sums");
    const qint64 largest = std::numeric_limits<qint64>::max();
    const qint64 mostNegative = std::numeric_limits<qint64>::min();
    QTest::newRow("data file missing") << QStringList("its data file is missing") << qint64(0) << qint64(0)
                                       << "its data file is missing" << "0.00 0.00";
    QTest::newRow("damaged and lines missing") << QStringList{"1 damaged", "2 missing"} << qint64(999) << qint64(160)
                                               << "1 damaged, 2 missing" << "9.99 1.60";
    QTest::newRow("refund below one euro") << QStringList() << qint64(-5) << qint64(-1) << "OK" << "-0.05 -0.01";
    QTest::newRow("largest Betrag") << QStringList() << largest << qint64(0) << "OK" << "92,233,720,368,547,758.07 0.00";
    QTest::newRow("most negative Betrag") << QStringList() << mostNegative << qint64(0) << "OK"
                                          << "-92,233,720,368,547,758.08 0.00";
    QTest::newRow("largest Steuer") << QStringList() << qint64(0) << largest << "OK" << "0.00 92,233,720,368,547,758.07";
    QTest::newRow("most negative Steuer") << QStringList() << qint64(0) << mostNegative << "OK"
                                          << "0.00 -92,233,720,368,547,758.08";
}

void HandoverProtocolTest::monthRow()
{
    QFETCH(QStringList, faults);
    QFETCH(qint64, betragCents);
    QFETCH(qint64, steuerCents);
    QFETCH(QString, statusText);
    QFETCH(QString, sums);
    const QStringList lines =
            textOf(facts({{QDate(2019, 1, 1), IndexFileAnalyser::INDEX_OK, 1234567, betragCents, steuerCents, faults}}));
    QVERIFY(lines.contains(QStringLiteral("Period January 2019")));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^January 2019 "))),
             QStringList{QStringLiteral("January 2019 %1 1,234,567 %2").arg(statusText, sums)});
    QVERIFY(lines.contains(QStringLiteral("Total 1,234,567 ") + sums));
}

// Three years of months run onto a second A4 page, and none of them is lost on the way.
void HandoverProtocolTest::longPeriodOnA4Pages()
{
    QList<MonthSummary> months;
    for (QDate month(2017, 1, 1); month < QDate(2020, 1, 1); month = month.addMonths(1))
        months.append({month, IndexFileAnalyser::INDEX_OK, 1, 100, 19, {}});
    const QStringList lines = textOf(facts(months));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^\\w+ 20(17|18|19) OK 1 1.00 0.19$"))).size(), 36);
    QVERIFY(lines.contains(QStringLiteral("Total 36 36.00 6.84")));
    const QString info = run(QStringLiteral("pdfinfo"), {m_dir.filePath(QStringLiteral("protokoll.pdf"))});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +2\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size: +595(\\.\\d+)? x 842(\\.\\d+)? pts \\(A4\\)"))),
             qPrintable(info));
}

// Each SHA-256 value stands whole on the line of its file, and no word of the protocol reaches
// into the right margin of 2 cm, where a printer may cut it off.
void HandoverProtocolTest::sha256ValuesFitThePage()
{
    HandoverFacts facts = threeMonths();
    facts.backupFile = QStringLiteral("/home/steuerberatung/Mandanten/Kasse/Backup_CR#12345678_201901_201903.enc");
    const QStringList lines = textOf(facts);
    QVERIFY(lines.contains("SHA-256 value of the backup file " + BackupSha256));
    for (auto file = FileSha256.cbegin(); file != FileSha256.cend(); ++file)
        QVERIFY2(lines.contains(file.key() + ' ' + *file), qPrintable(file.key()));
    const QString boxes = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), m_dir.filePath("protokoll.pdf"), "-"});
    const QRegularExpression word(QStringLiteral("<word xMin=\"[\\d.]+\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\""));
    const double rightEdge = 595.28 - 56.69;
    int words = 0;
    for (auto match = word.globalMatch(boxes); match.hasNext(); ++words) {
        const double xMax = match.next().captured(1).toDouble();
        QVERIFY2(xMax <= rightEdge + 0.5, qPrintable(QStringLiteral("a word ends at %1 pt").arg(xMax)));
    }
    QVERIFY2(words > 100, qPrintable(boxes));
}

// The protocol's lines but empty ones, or why there are none.
QStringList HandoverProtocolTest::textOf(const HandoverFacts &facts, const QLocale &locale)
{
    QFile pdf(m_dir.filePath(QStringLiteral("protokoll.pdf")));
    if (!pdf.open(QIODevice::WriteOnly) || pdf.write(HandoverProtocol(locale).pdf(facts)) <= 0 || !pdf.flush())
        return {QStringLiteral("cannot write %1: %2").arg(pdf.fileName(), pdf.errorString())};
    pdf.close();
    const QStringList arguments = {QStringLiteral("-layout"), pdf.fileName(), QStringLiteral("-")};
    QStringList lines;
    for (const QString &line : run(QStringLiteral("pdftotext"), arguments).split(QLatin1Char('\n'))) {
        if (!line.simplified().isEmpty())
            lines.append(line.simplified());
    }
    return lines;
}

QTEST_MAIN(HandoverProtocolTest)
#include "tst_handoverprotocol.moc"
