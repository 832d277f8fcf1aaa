#include "linecheck_p.h"

#include "journal.h"

#include <QRandomGenerator>
#include <QtTest>

using fiscora::LineVerdict;

Q_DECLARE_METATYPE(LineVerdict)

namespace {

// The line check as the rules read, on QString: the reference for the byte check.
LineVerdict checkAsText(const QByteArray &line)
{
    const QStringList fields = QString::fromUtf8(line.constData()).split(QLatin1Char(';'));
    if (fields.size() < 15)
        return LineVerdict::TooFewFields;
    bool isNumber = false;
    fields.at(1).toInt(&isNumber, 10);
    const QChar first = fields.first().isEmpty() ? QChar() : fields.first().at(0);
    const bool registerNumber = (first >= QLatin1Char('0') && first <= QLatin1Char('9'))
            || (first >= QLatin1Char('A') && first <= QLatin1Char('H'));
    const bool valid = isNumber && registerNumber && fields.last().endsWith(QLatin1String("\r\n"));
    return valid ? LineVerdict::Valid : LineVerdict::Damaged;
}

QByteArray withLineNumber(const QByteArray &number, const QByteArray &start = "1", const QByteArray &end = "\r\n")
{
    return start + ';' + number + ";Kasse 1;02.03.2020;10:00:00;1;1;1;PLU;Theke;1;1;Artikel;1;Bier" + end;
}

const QByteArray ByteOrderMark = QByteArrayLiteral("\xef\xbb\xbf");

// Pieces that sit on the edges of the rules: separators, white space, signs, digits at the ends
// of the int range, multi-byte and broken UTF-8, zero bytes and line ends.
const QList<QByteArray> Pieces = {
    ";", ";;", " ", "\t", "\v", "\x1c", "+", "-", "--", "0", "7", "9", "2147483647",
    "2147483648", "-2147483648", "-2147483649", "00000000000000000000042", "99999999999999999999",
    "A", "H", "I", "a", "x", ".", ",", "e5", "\r", "\n", "\r\n", QByteArray(1, '\0'),
    "\xc2\xa0", "\xe2\x80\x82", "\xe3\x80\x80", "\xe2\x88\x92", "\xef\xbc\x91", "\xd9\xa3",
    "\xc3\xa4", "\xc3", "\x80", "\xe2\x88", "\xff", "\xed\xa0\x80", "\xc0\xb1", ByteOrderMark,
};

// A journal line, whole or cut to 14, 15 or 16 fields with one of the line ends, then edited
// one to four times.
QByteArray mutatedLine(int lineNumber, QRandomGenerator &random)
{
    QByteArray line = fiscora::sample::Journal('1', 5).line(lineNumber, QDate(2020, 1, 1));
    if (random.bounded(2) != 0) {
        int cut = -1;
        for (int fields = 14 + random.bounded(3); fields > 0; --fields)
            cut = line.indexOf(';', cut + 1);
        static const QByteArray ends[] = {"\r\n", "\n", ""};
        line = line.left(cut) + ends[random.bounded(3)];
    }
    for (int edits = 1 + random.bounded(4); edits > 0; --edits) {
        const int at = random.bounded(line.size() + 1);
        const QByteArray &piece = Pieces.at(random.bounded(Pieces.size()));
        switch (random.bounded(6)) {
        case 0: line.insert(at, piece); break;
        case 1: line.replace(at, qMin(piece.size(), line.size() - at), piece); break;
        case 2: line.remove(at, 1 + random.bounded(3)); break;
        case 3: line[qMin(at, line.size() - 1)] = char(random.bounded(256)); break;
        // A byte-order mark where QString::fromUtf8 treats it differently: at the start of the
        // line, which decoding drops, and at the start of a field, which decoding keeps.
        case 4: line.prepend(ByteOrderMark); break;
        default: line.insert(line.indexOf(';', at) + 1, ByteOrderMark); break;
        }
    }
    return line;
}

} // namespace

class LineCheckTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rules_data();
    void rules();
    void bytesAgreeWithText();
};

void LineCheckTest::rules_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<LineVerdict>("verdict");
    const QByteArray journal = fiscora::sample::Journal('H', 3).line(12, QDate(2020, 3, 2));
    QTest::newRow("journal line") << journal << LineVerdict::Valid;
    QTest::newRow("15 fields") << withLineNumber("8") << LineVerdict::Valid;
    QTest::newRow("14 fields") << withLineNumber("8").replace(";Bier", "") << LineVerdict::TooFewFields;
    QTest::newRow("zero byte ends the text") << QByteArray(journal).insert(20, '\0') << LineVerdict::TooFewFields;
    QTest::newRow("zero byte before line end")
            << withLineNumber("8", "1", QByteArray("\0\r\n", 3)) << LineVerdict::Damaged;
    QTest::newRow("bare line feed") << withLineNumber("8", "1", "\n") << LineVerdict::Damaged;
    QTest::newRow("register I") << withLineNumber("8", "I") << LineVerdict::Damaged;
    QTest::newRow("number empty") << withLineNumber("") << LineVerdict::Damaged;
    QTest::newRow("number int min") << withLineNumber("-2147483648") << LineVerdict::Valid;
    QTest::newRow("number too large") << withLineNumber("2147483648") << LineVerdict::Damaged;
    QTest::newRow("number minus sign") << withLineNumber("\xe2\x88\x92" "8") << LineVerdict::Valid;
    QTest::newRow("number broken UTF-8") << withLineNumber("8\xc3") << LineVerdict::Damaged;
    QTest::newRow("byte-order mark before the line") << ByteOrderMark + withLineNumber("8") << LineVerdict::Valid;
    QTest::newRow("two byte-order marks before the line") << ByteOrderMark + ByteOrderMark + withLineNumber("8")
                                                          << LineVerdict::Damaged;
    QTest::newRow("byte-order mark before the number") << withLineNumber(ByteOrderMark + "8") << LineVerdict::Damaged;
    QTest::newRow("byte-order mark before a later field") << withLineNumber("8").replace(";Bier", ";\xef\xbb\xbf" "Bier")
                                                          << LineVerdict::Valid;
}

void LineCheckTest::rules()
{
    QFETCH(QByteArray, line);
    QFETCH(LineVerdict, verdict);
    QCOMPARE(checkAsText(line), verdict);
    QCOMPARE(fiscora::checkLine(line.constData(), line.size()), verdict);
}

void LineCheckTest::bytesAgreeWithText()
{
    QRandomGenerator random(20240611);
    int counts[3] = {};
    for (int i = 0; i < 40000; ++i) {
        const QByteArray line = i % 8 == 0 ? withLineNumber(Pieces.at(random.bounded(Pieces.size())))
                                           : mutatedLine(i, random);
        const LineVerdict expected = checkAsText(line);
        ++counts[int(expected)];
        if (fiscora::checkLine(line.constData(), line.size()) != expected)
            QFAIL(qPrintable(QStringLiteral("differs on \"%1\"").arg(QString::fromLatin1(line.toPercentEncoding()))));
    }
    // Every verdict must have been put to the test often.
    for (int count : counts)
        QVERIFY2(count > 2000, qPrintable(QString::number(count)));
}

QTEST_GUILESS_MAIN(LineCheckTest)
#include "tst_linecheck.moc"
