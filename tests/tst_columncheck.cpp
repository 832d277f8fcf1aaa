// The values of a column against its declaration: numbers on the edges of their digit groups and
// decimals, dates that are written right but do not exist, and the texts that say what is wrong.

#include "columncheck.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextCodec>
#include <QtTest>

using fiscora::app::ColumnCheck;
using fiscora::app::TableFormat;

namespace {

// A table of one column, declared as the rows write it: "Numeric 2", "Implied 3", "Date DD.MM.YY"
// or "AlphaNumeric".
TableFormat tableOf(const QString &declaration)
{
    const QString kind = declaration.section(QLatin1Char(' '), 0, 0);
    const QString detail = declaration.section(QLatin1Char(' '), 1);
    TableFormat::Column column;
    if (kind == QLatin1String("Numeric") || kind == QLatin1String("Implied")) {
        column.kind = TableFormat::Column::Kind::Numeric;
        column.accuracy = detail.toInt();
        column.accuracyImplied = kind == QLatin1String("Implied");
    } else if (kind == QLatin1String("Date")) {
        column.kind = TableFormat::Column::Kind::Date;
        column.dateFormat = detail;
    }
    TableFormat table;
    table.columns = {column};
    return table;
}

const QTextCodec *ansi()
{
    return QTextCodec::codecForName("windows-1252");
}

// "fits", or what the check says is wrong.
QString verdict(const ColumnCheck &check, const QByteArray &value)
{
    const ColumnCheck::Fault fault = check.check(value);
    return fault == ColumnCheck::Fault::None ? QStringLiteral("fits") : check.describe(fault, value);
}

// The rule for numbers as a regular expression, the reference for the byte by byte check.
bool isNumberAsRead(const QByteArray &value, int accuracy, bool implied)
{
    const QString integer = implied ? QStringLiteral("\\d+") : QStringLiteral("(\\d+|\\d{1,3}(\\.\\d{3})+)");
    const QString decimals = accuracy > 0 && !implied ? QStringLiteral(",\\d{%1}").arg(accuracy) : QString();
    const QRegularExpression number(QStringLiteral("^(-?%1%2)?$").arg(integer, decimals));
    return number.match(QString::fromLatin1(value)).hasMatch();
}

} // namespace

class ColumnCheckTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void values_data();
    void values();
    void supportedDateFormats_data();
    void supportedDateFormats();
    void numbersAgreeWithTheRule();
};

void ColumnCheckTest::values_data()
{
    QTest::addColumn<QString>("declaration");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("verdict");
    const QString fits = QStringLiteral("fits");
    const struct
    {
        const char *row;
        const char *declaration;
        QByteArray value;
        QString verdict;
    } rows[] = {
        {"amount", "Numeric 2", "37,50", fits},
        {"negative amount", "Numeric 2", "-37,50", fits},
        {"amount grouped", "Numeric 2", "12.345.678,00", fits},
        {"amount not grouped", "Numeric 2", "12345678,00", fits},
        {"no value", "Numeric 2", "", fits},
        {"amount short of a decimal", "Numeric 2", "37,5", QStringLiteral("\"37,5\" is not a number with 2 decimals.")},
        {"amount without decimals", "Numeric 2", "37", QStringLiteral("\"37\" is not a number with 2 decimals.")},
        {"amount with three decimals", "Numeric 2", "37,500",
         QStringLiteral("\"37,500\" is not a number with 2 decimals.")},
        {"amount with a point for a comma", "Numeric 2", "37.50",
         QStringLiteral("\"37.50\" is not a number with 2 decimals.")},
        {"amount without an integer", "Numeric 2", ",50", QStringLiteral("\",50\" is not a number with 2 decimals.")},
        {"group of two", "Numeric 2", "1.23,50", QStringLiteral("\"1.23,50\" is not a number with 2 decimals.")},
        {"first group of four", "Numeric 2", "1234.567,00",
         QStringLiteral("\"1234.567,00\" is not a number with 2 decimals.")},
        {"plus sign", "Numeric 2", "+37,50", QStringLiteral("\"+37,50\" is not a number with 2 decimals.")},
        {"space before", "Numeric 2", " 37,50", QStringLiteral("\" 37,50\" is not a number with 2 decimals.")},
        {"ANSI text in the value", "Numeric 2", "37,50\x80",
         QStringLiteral("\"37,50€\" is not a number with 2 decimals.")},
        {"one decimal", "Numeric 1", "2,5", fits},
        {"one decimal too many", "Numeric 1", "2,50", QStringLiteral("\"2,50\" is not a number with one decimal.")},
        {"whole number", "Numeric 0", "-1.000", fits},
        {"whole number with decimals", "Numeric 0", "1,5", QStringLiteral("\"1,5\" is not a whole number.")},
        {"minus alone", "Numeric 0", "-", QStringLiteral("\"-\" is not a whole number.")},
        {"group symbol at the end", "Numeric 0", "1.", QStringLiteral("\"1.\" is not a whole number.")},
        {"implied decimals", "Implied 3", "-3000", fits},
        {"letter O for zero", "Implied 3", "3O00", QStringLiteral("\"3O00\" is not a number in digits only.")},
        {"implied decimals grouped", "Implied 3", "3.000", QStringLiteral("\"3.000\" is not a number in digits only.")},
        {"implied decimals written", "Implied 3", "3,000", QStringLiteral("\"3,000\" is not a number in digits only.")},
        {"date", "Date DD.MM.YYYY", "03.01.2019", fits},
        {"leap day", "Date DD.MM.YYYY", "29.02.2020", fits},
        {"no value for a date", "Date DD.MM.YYYY", "", fits},
        {"31 February", "Date DD.MM.YYYY", "31.02.2019",
         QStringLiteral("\"31.02.2019\" is not a day of the calendar.")},
        {"leap day of a common year", "Date DD.MM.YYYY", "29.02.2019",
         QStringLiteral("\"29.02.2019\" is not a day of the calendar.")},
        {"month 13", "Date DD.MM.YYYY", "03.13.2019", QStringLiteral("\"03.13.2019\" is not a day of the calendar.")},
        {"ISO date", "Date DD.MM.YYYY", "2019-01-03",
         QStringLiteral("\"2019-01-03\" is not a date in the form DD.MM.YYYY.")},
        {"date without leading zeros", "Date DD.MM.YYYY", "3.1.2019",
         QStringLiteral("\"3.1.2019\" is not a date in the form DD.MM.YYYY.")},
        {"ISO format", "Date YYYY-MM-DD", "2019-01-03", fits},
        {"no separators", "Date YYYYMMDD", "20190103", fits},
        {"two-digit year before the epoch", "Date DD.MM.YY", "29.02.00", fits},
        {"two-digit year from the epoch", "Date DD.MM.YY", "29.02.30",
         QStringLiteral("\"29.02.30\" is not a day of the calendar.")},
        {"text", "AlphaNumeric", "Artikel; 123 \"", fits},
    };
    for (const auto &row : rows)
        QTest::newRow(row.row) << QString::fromLatin1(row.declaration) << row.value << row.verdict;
}

void ColumnCheckTest::values()
{
    QFETCH(QString, declaration);
    QFETCH(QByteArray, value);
    QFETCH(QString, verdict);
    QCOMPARE(::verdict(ColumnCheck(tableOf(declaration), 0, ansi()), value), verdict);
}

void ColumnCheckTest::supportedDateFormats_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("supported");
    QTest::newRow("German") << QStringLiteral("DD.MM.YYYY") << true;
    QTest::newRow("two-digit year") << QStringLiteral("DD/MM/YY") << true;
    QTest::newRow("no day") << QStringLiteral("MM.YYYY") << false;
    QTest::newRow("two years") << QStringLiteral("YYYY-YY-MM-DD") << false;
    QTest::newRow("time") << QStringLiteral("hh:mm") << false;
}

void ColumnCheckTest::supportedDateFormats()
{
    QFETCH(QString, format);
    QFETCH(bool, supported);
    QCOMPARE(ColumnCheck(tableOf(QStringLiteral("Date ") + format), 0, ansi()).isSupported(), supported);
}

// Numbers pieced together from digit runs, signs and symbols, so that most come close to the rule.
void ColumnCheckTest::numbersAgreeWithTheRule()
{
    static const char *const pieces[] = {"0", "7", "12", "345", "6789", ".", ",", "-", "+", " ", "a"};
    QRandomGenerator random(20240612);
    int fitting = 0;
    for (int i = 0; i < 30000; ++i) {
        QByteArray value;
        for (int count = random.bounded(7); count > 0; --count)
            value += pieces[random.bounded(int(std::size(pieces)))];
        const int accuracy = random.bounded(4);
        const bool implied = random.bounded(4) == 0;
        const QString declaration =
                QStringLiteral("%1 %2").arg(QLatin1String(implied ? "Implied" : "Numeric")).arg(accuracy);
        const bool expected = isNumberAsRead(value, accuracy, implied);
        fitting += expected;
        if ((ColumnCheck(tableOf(declaration), 0, ansi()).check(value) == ColumnCheck::Fault::None) != expected)
            QFAIL(qPrintable(QStringLiteral("%1 differs on \"%2\"").arg(declaration, QString::fromLatin1(value))));
    }
    // Both verdicts must have been put to the test often.
    QVERIFY2(fitting > 3000 && fitting < 27000, qPrintable(QString::number(fitting)));
}

QTEST_GUILESS_MAIN(ColumnCheckTest)
#include "tst_columncheck.moc"
