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

// A table of one column, declared as the rows write it: "Numeric 2", "Implied 3", "Date DD.MM.YY",
// "Date DD.MM.YY 0" with the epoch at the end, or "AlphaNumeric".
TableFormat tableOf(const QString &declaration)
{
    const QString kind = declaration.section(QLatin1Char(' '), 0, 0);
    const QString detail = declaration.section(QLatin1Char(' '), 1, 1);
    TableFormat table;
    table.epoch = declaration.section(QLatin1Char(' '), 2).toInt();
    TableFormat::Column column;
    if (kind == QLatin1String("Numeric") || kind == QLatin1String("Implied")) {
        column.kind = TableFormat::Column::Kind::Numeric;
        column.accuracy = detail.toInt();
        column.accuracyImplied = kind == QLatin1String("Implied");
    } else if (kind == QLatin1String("Date")) {
        column.kind = TableFormat::Column::Kind::Date;
        column.dateFormat = detail;
    }
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
        {"no value", "Numeric 2", "", fits},
        {"digits for an implied accuracy", "Implied 3", "-3000", fits},
        {"ANSI text in the value", "Numeric 2", "37,50\x80",
         QStringLiteral("\"37,50€\" is not a number with 2 decimals.")},
        {"one decimal too many", "Numeric 1", "2,50", QStringLiteral("\"2,50\" is not a number with one decimal.")},
        {"whole number with decimals", "Numeric 0", "1,5", QStringLiteral("\"1,5\" is not a whole number.")},
        {"date", "Date DD.MM.YYYY", "03.01.2019", fits},
        {"leap day", "Date DD.MM.YYYY", "29.02.2020", fits},
        {"leap day of a common year", "Date DD.MM.YYYY", "29.02.2019",
         QStringLiteral("\"29.02.2019\" is not a day of the calendar.")},
        {"date without leading zeros", "Date DD.MM.YYYY", "3.1.2019",
         QStringLiteral("\"3.1.2019\" is not a date in the form DD.MM.YYYY.")},
        {"ISO format", "Date YYYY-MM-DD", "2019-01-03", fits},
        {"no separators", "Date YYYYMMDD", "20190103", fits},
        {"two-digit year before the epoch", "Date DD.MM.YY 30", "29.02.00", fits},
        {"two-digit year from the epoch", "Date DD.MM.YY 0", "29.02.00",
         QStringLiteral("\"29.02.00\" is not a day of the calendar.")},
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

// Numbers built of digit runs of one to four, grouping symbols where they may or may not go and
// zero to four decimals, then now and then a byte changed, so that most come close to the rule.
void ColumnCheckTest::numbersAgreeWithTheRule()
{
    QRandomGenerator random(20240612);
    int fitting = 0;
    for (int i = 0; i < 20000; ++i) {
        const int accuracy = random.bounded(4);
        const bool implied = random.bounded(4) == 0;
        QByteArray value = random.bounded(4) == 0 ? "-" : "";
        for (int runs = 1 + random.bounded(3); runs > 0; --runs) {
            const int digits = random.bounded(3) == 0 ? 1 + random.bounded(4) : 3;
            value += QByteArray(digits, char('0' + random.bounded(10))) + (runs > 1 ? "." : "");
        }
        if (random.bounded(4) != 0)
            value += ',' + QByteArray(random.bounded(2) == 0 ? accuracy : random.bounded(5), '5');
        if (random.bounded(3) == 0)
            value[random.bounded(value.size())] = "-.,+ a0"[random.bounded(7)];
        const QString declaration =
                QStringLiteral("%1 %2").arg(QLatin1String(implied ? "Implied" : "Numeric")).arg(accuracy);
        const bool expected = isNumberAsRead(value, accuracy, implied);
        fitting += expected;
        if ((ColumnCheck(tableOf(declaration), 0, ansi()).check(value) == ColumnCheck::Fault::None) != expected)
            QFAIL(qPrintable(QStringLiteral("%1 differs on \"%2\"").arg(declaration, QString::fromLatin1(value))));
    }
    // Both verdicts must have been put to the test often.
    QVERIFY2(fitting > 2000 && fitting < 18000, qPrintable(QString::number(fitting)));
}

QTEST_GUILESS_MAIN(ColumnCheckTest)
#include "tst_columncheck.moc"
