#include "handoverprotocol.h"

#include "backupinfo.h"

#include "handoverarchive.h"
#include "handoverfigures.h"

#include <fiscora/helperclass.h>

#include <QBuffer>
#include <QFont>
#include <QPdfWriter>
#include <QTextDocument>

namespace fiscora::app {

namespace {

enum CellStyle { Plain = 0, Bold = 1, Right = 2, Label = 4 | Bold, Digest = 8 };

struct Cell
{
    QString text;
    int style = Plain;
    //! The column's share of the table's width in percent; 0 leaves it to the layout.
    int width = 0;
};

// Texts from the backup and the export, file names among them, are shown as they are, never
// read as markup.
QString element(QLatin1String tag, const QString &text)
{
    return QStringLiteral("<%1>%2</%1>").arg(tag, text.toHtmlEscaped());
}

QString row(const QList<Cell> &cells, QLatin1String tag = QLatin1String("td"))
{
    QString html = QStringLiteral("<tr>");
    for (const Cell &cell : cells) {
        QString text = cell.style & Bold ? element(QLatin1String("b"), cell.text) : cell.text.toHtmlEscaped();
        // A SHA-256 value in small monospaced digits keeps to one line beside its label, as
        // sha256sum prints it, for comparing it digit by digit.
        if (cell.style & Digest)
            text = QStringLiteral("<span style=\"font-family: 'DejaVu Sans Mono'; font-size: 7pt\">%1</span>").arg(text);
        const QLatin1String align(cell.style & Right ? "right" : "left");
        const int percent = (cell.style & Label) == Label ? 40 : cell.width;
        const QString width = percent > 0 ? QStringLiteral(" width=\"%1%\"").arg(percent) : QString();
        const QLatin1String wrap(cell.style & Right ? " style=\"white-space: nowrap\"" : "");
        html += QStringLiteral("<%1 align=\"%2\"%3%4>%5</%1>").arg(tag, align, width, wrap, text);
    }
    return html + QStringLiteral("</tr>");
}

QString table(const QString &rows, bool ruled)
{
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"4\" border=\"%1\" "
                          "style=\"border-collapse: collapse\">%2</table>")
            .arg(ruled ? 1 : 0)
            .arg(rows);
}

// Report texts break their lines with "<br>", the only markup they hold.
QString reportLine(const QString &text)
{
    QStringList lines = text.split(QLatin1String("<br>"), Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.toHtmlEscaped();
    return lines.join(QLatin1String("<br>"));
}

} // namespace

HandoverProtocol::HandoverProtocol(const QLocale &locale)
    : m_locale(locale)
{
}

QByteArray HandoverProtocol::pdf(const HandoverFacts &facts) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(tr("Hand-over protocol of the cash register %1").arg(facts.serialNumber));
    writer.setCreator(facts.toolVersion);
    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"), 9);
    // Without ligatures, so that a reader who copies or searches the text finds "fi" as two letters.
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.setHtml(html(facts));
    // The document sets margins of 2 cm around its text itself. Printing ends the painter, which
    // completes the PDF in the buffer.
    document.print(&writer);
    return bytes;
}

QString HandoverProtocol::fileName()
{
    return QStringLiteral("protokoll.pdf");
}

QString HandoverProtocol::html(const HandoverFacts &facts) const
{
    const QLatin1String h1("h1");
    const QLatin1String h2("h2");
    const QLatin1String p("p");
    return element(h1, tr("Hand-over protocol"))
            + element(p, tr("GoBD/GDPdU export of the cash register %1").arg(facts.serialNumber)) + factsTable(facts)
            + element(h2, tr("MD5 proof and SHA-256 value of the backup")) + md5Table(facts)
            + element(h2, tr("Months")) + monthsTable(facts.months) + element(h2, tr("Report of the export"))
            + reportList(facts.problems) + element(h2, tr("SHA-256 values of the files")) + sha256Table(facts.sha256)
            + element(p, tr("These are the files of the export folder %1 in the archive; %2 holds the figures of "
                            "this protocol for programs. Printed and signed, this protocol pins the data: a file "
                            "whose SHA-256 value differs from the one above is not the file handed over.")
                                 .arg(facts.exportFolder, HandoverFigures::fileName()))
            + element(p, tr("The file %1 beside this protocol holds the SHA-256 value of every other file of the "
                            "archive; \"sha256sum -c %1\" checks them.")
                                 .arg(HandoverArchive::manifestName()));
}

QString HandoverProtocol::factsTable(const HandoverFacts &facts) const
{
    const QList<QPair<QString, QString>> fields = {
            {tr("Serial number of the cash register"), facts.serialNumber},
            {tr("Period"), period(facts)},
            {tr("Records in the table file"), m_locale.toString(facts.records)},
            {tr("Export folder in the archive"), facts.exportFolder},
            {tr("Backup file"), facts.backupFile},
            {tr("Source of the backup's data"), facts.source},
            {tr("Created"), m_locale.toString(facts.created, QLocale::LongFormat)},
            {tr("Created with"), facts.toolVersion},
    };
    QString rows;
    for (const auto &field : fields)
        rows += row({{field.first, Label}, {field.second}});
    return table(rows, false);
}

QString HandoverProtocol::md5Table(const HandoverFacts &facts) const
{
    const bool matches = facts.storedMd5 == facts.computedMd5;
    return table(row({{tr("MD5 value in the backup header"), Label},
                      {HelperClass::convertToFormattedHexValue(facts.storedMd5)}})
                         + row({{tr("MD5 value of the backup's data"), Label},
                                {HelperClass::convertToFormattedHexValue(facts.computedMd5)}})
                         + row({{tr("Comparison"), Label}, {matches ? tr("matches") : tr("does not match"),
                                                            matches ? Plain : Bold}})
                         + row({{tr("SHA-256 value of the backup file"), Label},
                                {QString::fromLatin1(facts.backupSha256), Digest}}),
                 false);
}

QString HandoverProtocol::monthsTable(const QList<MonthSummary> &months) const
{
    // The status says in words what a month lacks, and gets the room for it.
    QString rows = row({{tr("Month")}, {tr("Status")}, {tr("Records"), Right}, {tr("Sum of Betrag"), Right},
                        {tr("Sum of Steuer"), Right}},
                       QLatin1String("th"));
    MonthSummary total;
    for (const MonthSummary &month : months) {
        const bool ok = month.faults.isEmpty();
        rows += row({{monthName(month.month)}, {ok ? tr("OK") : month.faults.join(QLatin1String(", ")), ok ? Plain : Bold},
                     {m_locale.toString(month.records), Right}, {money(month.betragCents), Right},
                     {money(month.steuerCents), Right}});
        total.records += month.records;
        total.betragCents += month.betragCents;
        total.steuerCents += month.steuerCents;
    }
    rows += row({{tr("Total"), Bold}, {}, {m_locale.toString(total.records), Bold | Right},
                 {money(total.betragCents), Bold | Right}, {money(total.steuerCents), Bold | Right}});
    return table(rows, true);
}

QString HandoverProtocol::sha256Table(const QMap<QString, QByteArray> &sha256) const
{
    QString rows;
    for (auto file = sha256.cbegin(); file != sha256.cend(); ++file)
        rows += row({{file.key(), Label}, {QString::fromLatin1(*file), Digest}});
    return table(rows, false);
}

QString HandoverProtocol::reportList(const QStringList &problems) const
{
    if (problems.isEmpty())
        return element(QLatin1String("p"), tr("No records were repaired and none were lost."));
    QString items;
    for (const QString &problem : problems)
        items += QStringLiteral("<li>%1</li>").arg(reportLine(problem));
    return QStringLiteral("<ul>%1</ul>").arg(items);
}

QString HandoverProtocol::period(const HandoverFacts &facts) const
{
    if (facts.firstMonth == facts.lastMonth)
        return monthName(facts.firstMonth);
    return tr("%1 to %2").arg(monthName(facts.firstMonth), monthName(facts.lastMonth));
}

QString HandoverProtocol::monthName(const QDate &month) const
{
    return m_locale.toString(month, QStringLiteral("MMMM yyyy"));
}

// Whole numbers of cents are formatted as whole numbers, so that no amount is rounded on its way
// through a floating-point value, the largest and the most negative ones included.
QString HandoverProtocol::money(qint64 cents) const
{
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    const QString sign = cents < 0 ? QString(m_locale.negativeSign()) : QString();
    const QString hundredths = m_locale.toString(magnitude % 100).rightJustified(2, m_locale.zeroDigit());
    return sign + m_locale.toString(magnitude / 100) + m_locale.decimalPoint() + hundredths;
}

} // namespace fiscora::app
