#include "textreporter.h"

#include <fiscora/helperclass.h>

#include <unistd.h>

namespace fiscora::cli {

namespace {

constexpr int BarWidth = 30;
const char *const Red = "\033[1;31m";
const char *const Green = "\033[32m";

bool isTerminal(FILE *stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

QString coloured(const QString &text, const char *colour, bool enabled)
{
    if (!enabled)
        return text;
    return QLatin1String(colour) + text + QLatin1String("\033[0m");
}

QChar statusSymbol(IndexFileAnalyser::IndexStatus status)
{
    switch (status) {
    case IndexFileAnalyser::INDEX_OK:
        return QLatin1Char('o');
    case IndexFileAnalyser::INDEX_ERROR_FILE_MISSING:
        return QLatin1Char('M');
    case IndexFileAnalyser::INDEX_ERROR_FILE_EXIST:
        return QLatin1Char('E');
    case IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING:
        return QLatin1Char('?');
    }
    // A damaged header can hold any status byte.
    return QLatin1Char('!');
}

QString yearSymbols(const QMap<QDate, IndexFileAnalyser::IndexStatus> &indexMap, int year)
{
    QString symbols;
    for (int month = 1; month <= 12; ++month) {
        const auto status = indexMap.constFind(QDate(year, month, 1));
        symbols += status == indexMap.cend() ? QLatin1Char('.') : statusSymbol(*status);
    }
    return symbols;
}

// One row per year and one column per month, each symbol under the second digit of its month.
// Years in a row with the same symbols share a row: an index without its file spans 171 years.
QStringList calendarRows(const QMap<QDate, IndexFileAnalyser::IndexStatus> &indexMap)
{
    QList<QPair<QString, QString>> years;
    const int lastYear = indexMap.lastKey().year();
    for (int first = indexMap.firstKey().year(), last = first; first <= lastYear; first = ++last) {
        const QString symbols = yearSymbols(indexMap, first);
        while (last < lastYear && yearSymbols(indexMap, last + 1) == symbols)
            ++last;
        years.append({first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last), symbols});
    }
    int width = 0;
    for (const auto &year : qAsConst(years))
        width = qMax(width, year.first.size());
    QString header(width + 2, QLatin1Char(' '));
    for (int month = 1; month <= 12; ++month)
        header += QStringLiteral(" %1").arg(month, 2, 10, QLatin1Char('0'));
    QStringList rows = {header};
    for (const auto &year : qAsConst(years)) {
        QString row = QStringLiteral("  ") + year.first.leftJustified(width);
        for (const QChar symbol : year.second)
            row += QStringLiteral("  ") + symbol;
        rows.append(row);
    }
    return rows;
}

} // namespace

TextReporter::TextReporter()
    : m_outIsTerminal(isTerminal(stdout))
    , m_outColours(m_outIsTerminal && !qEnvironmentVariableIsSet("NO_COLOR"))
    , m_errColours(isTerminal(stderr) && !qEnvironmentVariableIsSet("NO_COLOR"))
{
}

void TextReporter::progressStarted(int startValue, int endValue)
{
    m_progressEnd = endValue;
    m_lastTenth = -1;
    progress(startValue);
}

void TextReporter::progress(int value)
{
    if (!m_outIsTerminal) {
        // In a log, a line for every tenth of the way is enough.
        const int tenth = m_progressEnd > 0 ? value * 10 / m_progressEnd : value;
        if (tenth != m_lastTenth || value == m_progressEnd)
            printLine(stdout, tr("Progress: %1 of %2").arg(value).arg(m_progressEnd));
        m_lastTenth = tenth;
        return;
    }
    const int filled = m_progressEnd > 0 ? qBound(0, value * BarWidth / m_progressEnd, BarWidth) : BarWidth;
    writeText(stdout, QStringLiteral("\r[%1%2] %3/%4")
                              .arg(QString(filled, QLatin1Char('#')), QString(BarWidth - filled, QLatin1Char('-')))
                              .arg(value)
                              .arg(m_progressEnd));
    m_barShown = true;
}

void TextReporter::message(const QString &text, bool isError, int)
{
    printLine(stdout, flagged(text, isError));
}

void TextReporter::error(const QString &error, const QString &hint)
{
    printLine(stderr, coloured(tr("Error: %1").arg(error), Red, m_errColours));
    printLine(stderr, tr("Hint: %1").arg(hint));
}

void TextReporter::finished(const QString &file)
{
    m_files.append(file);
}

void TextReporter::fileSaved(const QString &file)
{
    m_files.append(file);
}

void TextReporter::interrupted()
{
    printLine(stderr, tr("Stopping: waiting for the running job to end..."));
}

void TextReporter::backupInfo(const BackupInfo &info)
{
    const IndexFileAnalyser &analyser = info.analyser;
    printFields({
        {tr("Backup file"), info.file},
        {tr("Serial number"), info.serialNumber()},
        {tr("Firmware version"), info.firmwareVersion()},
        {tr("Source"), analyser.getCurrenIndexSourceAsString()},
        {tr("Header version"), QString::number(info.headerVersion())},
        {tr("MD5 in the header"), HelperClass::convertToFormattedHexValue(analyser.getMD5Value())},
        {tr("MD5 of the data"), HelperClass::convertToFormattedHexValue(info.bodyMd5)},
        {tr("Size of the data"), tr("%1 bytes").arg(info.bodySize)},
    });
    const bool matches = info.md5Matches();
    printLine(stdout, flagged(matches ? tr("The data matches the MD5 value of the header.")
                                      : tr("The data does not match the MD5 value of the header: it has been "
                                           "altered or damaged."),
                              !matches));
    printLine(stdout, tr("Index report:"));
    for (const QPair<QString, bool> &message : analyser.getIndexMessages())
        printLine(stdout, flagged(message.first, message.second));
    printCalendar(analyser.getIndexMap());
}

void TextReporter::done(int)
{
    if (!m_files.isEmpty())
        printLine(stdout, tr("Files written:"));
    for (const QString &file : qAsConst(m_files))
        printLine(stdout, QStringLiteral("  ") + file);
    endBar();
}

void TextReporter::printLine(FILE *stream, const QString &line)
{
    endBar();
    writeText(stream, line + QLatin1Char('\n'));
}

// The progress bar keeps its line; whatever follows starts on a new one.
void TextReporter::endBar()
{
    if (m_barShown)
        writeText(stdout, QStringLiteral("\n"));
    m_barShown = false;
}

// Fields without a value (no firmware version, no serial number in an old header) are left out.
void TextReporter::printFields(const QList<QPair<QString, QString>> &fields)
{
    int width = 0;
    for (const QPair<QString, QString> &field : fields)
        width = qMax(width, field.first.size());
    for (const QPair<QString, QString> &field : fields) {
        if (!field.second.isEmpty())
            printLine(stdout, (field.first + QLatin1Char(':')).leftJustified(width + 2) + field.second);
    }
}

void TextReporter::printCalendar(const QMap<QDate, IndexFileAnalyser::IndexStatus> &indexMap)
{
    if (indexMap.isEmpty()) {
        printLine(stdout, tr("Month index: empty"));
        return;
    }
    printLine(stdout, tr("Month index:"));
    for (const QString &row : calendarRows(indexMap))
        printLine(stdout, row);
    printLine(stdout, tr("  o OK  M file missing  E file not in the index  ? no index file  . not in the index  "
                         "! unknown status"));
}

QString TextReporter::flagged(const QString &text, bool isError) const
{
    const QString flag = isError ? tr("[error]") : tr("[info]");
    // Report texts break their lines with "<br>"; the lines after the first are indented below the text.
    const QStringList lines = text.split(QLatin1String("<br>"), Qt::SkipEmptyParts);
    const QString indent = QLatin1Char('\n') + QString(flag.size() + 1, QLatin1Char(' '));
    return coloured(flag, isError ? Red : Green, m_outColours) + QLatin1Char(' ') + lines.join(indent);
}

} // namespace fiscora::cli
