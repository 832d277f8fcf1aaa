#include "textreporter.h"

#include "backupinfo.h"
#include "checkreport.h"
#include "checkwords.h"
#include "handoverarchive.h"
#include "handoverfigures.h"
#include "listedmonth.h"
#include "output.h"
#include "periodfindings.h"
#include "verifycommand.h"

#include <fiscora/helperclass.h>

#include <QFileInfo>
#include <QLocale>

namespace fiscora::cli {

namespace {

constexpr int BarWidth = 30;
const char *const Red = "\033[1;31m";
const char *const Green = "\033[32m";

bool showsColours(FILE *stream)
{
    return isCapableTerminal(stream) && !qEnvironmentVariableIsSet("NO_COLOR");
}

QString coloured(const QString &text, const char *colour, bool enabled)
{
    if (!enabled)
        return text;
    return QLatin1String(colour) + text + QLatin1String("\033[0m");
}

QString monthText(const QDate &month)
{
    return month.toString(QStringLiteral("MM/yyyy"));
}

// One symbol per month of a card: what a read would find there.
QChar listingSymbol(const CardListing::Register &cashRegister, const QDate &month)
{
    switch (app::ListedMonth::of(cashRegister, month)) {
    case app::ListedMonth::Announced:
        return QLatin1Char('o');
    case app::ListedMonth::Missing:
        return QLatin1Char('M');
    case app::ListedMonth::NotAnnounced:
        return QLatin1Char('E');
    case app::ListedMonth::Unreadable:
        return QLatin1Char('U');
    case app::ListedMonth::NotJudged:
        return QLatin1Char('?');
    case app::ListedMonth::Nothing:
        break;
    }
    return QLatin1Char('.');
}

// One row per year that holds anything, one column per month, each symbol under the second
// digit of its month.
QStringList calendarRows(const CardListing::Register &cashRegister)
{
    QStringList rows{QStringLiteral("         01 02 03 04 05 06 07 08 09 10 11 12")};
    for (const int year : app::ListedMonth::years(cashRegister)) {
        QString row = QStringLiteral("  %1 ").arg(year);
        for (int month = 1; month <= 12; ++month)
            row += QStringLiteral("  ") + listingSymbol(cashRegister, QDate(year, month, 1));
        rows.append(row);
    }
    return rows;
}

} // namespace

TextReporter::TextReporter(bool quiet)
    : m_quiet(quiet)
    , m_barShown(!quiet && isCapableTerminal(stderr))
    , m_outColours(showsColours(stdout))
    , m_errColours(showsColours(stderr))
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
    if (m_quiet)
        return;
    if (!m_barShown) {
        // In a log, a line for every tenth of the way is enough.
        const int tenth = m_progressEnd > 0 ? value * 10 / m_progressEnd : value;
        if (tenth != m_lastTenth || value == m_progressEnd)
            printLine(stderr, aboutSubject(tr("Progress: %1 of %2").arg(value).arg(m_progressEnd)));
        m_lastTenth = tenth;
        return;
    }
    const int filled = m_progressEnd > 0 ? qBound(0, value * BarWidth / m_progressEnd, BarWidth) : BarWidth;
    writeText(stderr, QStringLiteral("\r[%1%2] %3/%4")
                              .arg(QString(filled, QLatin1Char('#')), QString(BarWidth - filled, QLatin1Char('-')))
                              .arg(value)
                              .arg(m_progressEnd));
    m_barOpen = true;
}

void TextReporter::message(const QString &text, bool isError, int)
{
    if (!m_quiet || isError)
        printLine(stderr, flagged(aboutSubject(text), isError, m_errColours));
}

void TextReporter::error(const QString &error, const QString &hint)
{
    printLine(stderr, coloured(tr("Error: %1").arg(aboutSubject(error)), Red, m_errColours));
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

void TextReporter::backupInfo(const app::BackupInfo &info, const app::PeriodFindings &findings)
{
    const IndexFileAnalyser &analyser = info.analyser();
    QList<QDate> months;
    for (const app::MonthFinding &month : findings.months()) {
        if (month.sums.rows > 0)
            months << month.month;
    }
    const QString period = months.isEmpty()
        ? tr("no records")
        : tr("%1 to %2").arg(monthText(months.constFirst()), monthText(months.constLast()));
    printFields({
        {tr("Backup file"), info.file()},
        {tr("Serial number"), info.serialNumber()},
        {tr("Firmware version"), info.firmwareVersion()},
        {tr("Source"), info.sourceText()},
        {tr("Header version"), QString::number(info.headerVersion())},
        {tr("MD5 in the header"), HelperClass::convertToFormattedHexValue(analyser.getMD5Value())},
        {tr("MD5 of the data"), HelperClass::convertToFormattedHexValue(info.bodyMd5())},
        {tr("Size of the data"), tr("%1 bytes").arg(info.bodySize())},
        {tr("Period"), period},
        {tr("Records"), QString::number(findings.total().rows)},
    });
    const bool matches = info.md5Matches();
    printLine(stdout, flagged(matches ? tr("The data matches the MD5 value of the header.")
                                      : tr("The data does not match the MD5 value of the header: it has been "
                                           "altered or damaged."),
                              !matches, m_outColours));
    printLine(stdout, tr("Index report:"));
    for (const QPair<QString, bool> &message : analyser.getIndexMessages())
        printLine(stdout, flagged(message.first, message.second, m_outColours));
    printMonths(findings);
}

// The months from the first to the last with records, and those the index reports a problem with,
// each with what keeps it from passing.
void TextReporter::printMonths(const app::PeriodFindings &findings)
{
    const QString month = tr("Month");
    const QString records = tr("Records");
    const int monthWidth = qMax(7, month.size());
    printLine(stdout, QStringLiteral("%1  %2  %3").arg(month.leftJustified(monthWidth), records, tr("Verdict")));
    for (const app::MonthFinding &shown : findings.months()) {
        const QString verdict = shown.isOk() ? tr("OK") : shown.faults().join(QLatin1String(", "));
        printLine(stdout, QStringLiteral("%1  %2  %3")
                                  .arg(monthText(shown.month).leftJustified(monthWidth))
                                  .arg(shown.sums.rows, records.size())
                                  .arg(verdict));
    }
}

void TextReporter::cardListing(const QString &source, const QList<CardListing::Register> &registers)
{
    printLine(stdout, tr("Card: %1").arg(QFileInfo(source).absoluteFilePath()));
    for (const CardListing::Register &cashRegister : registers)
        printRegister(cashRegister);
}

void TextReporter::printRegister(const CardListing::Register &cashRegister)
{
    printLine(stdout, QString());
    printLine(stdout, tr("Register %1 in %2").arg(cashRegister.serialNumber, cashRegister.folder));
    if (!cashRegister.error.isEmpty()) {
        printLine(stdout, QStringLiteral("  ") + flagged(tr("A read would fail: %1").arg(cashRegister.error), true, m_outColours));
        printLine(stdout, QStringLiteral("  ") + tr("Hint: %1").arg(cashRegister.hint));
        return;
    }
    const QList<QDate> months = cashRegister.dataFiles.keys();
    printFields({
        {tr("Backup file"), cashRegister.backupFileName},
        {tr("Data files"), tr("%1, %2 to %3").arg(months.size()).arg(monthText(months.constFirst()),
                                                                      monthText(months.constLast()))},
        {tr("Index file"), cashRegister.indexRead ? tr("read") : tr("missing or unreadable: the months cannot be judged")},
    }, QStringLiteral("  "));
    for (const QString &row : calendarRows(cashRegister))
        printLine(stdout, row);
    printLine(stdout, tr("  o data file, announced   M announced, no data file   E data file, not announced\n"
                         "  U data file cannot be opened   ? data file, no index file   . nothing"));
    for (const QPair<QString, bool> &message : cashRegister.index.getIndexMessages())
        printLine(stdout, QStringLiteral("  ") + flagged(message.first, message.second, m_outColours));
}

void TextReporter::verification(const app::Verification &verification)
{
    const app::ExportVerifier::Result &result = verification.result;
    if (!verification.archive.isEmpty())
        printLine(stdout, tr("Archive: %1").arg(verification.archive));
    printLine(stdout, tr("Export folder: %1").arg(verification.shownFolder()));
    printLine(stdout, tr("Period: %1").arg(verification.period));
    for (const app::Finding &finding : result.findings)
        printLine(stdout, flagged(finding.toString(), true, m_outColours));
    for (auto file = result.findingsLeftOut.cbegin(); file != result.findingsLeftOut.cend(); ++file)
        printLine(stdout, flagged(tr("%1: %2 more findings.").arg(file.key()).arg(*file), true, m_outColours));
    for (const QString &finding : verification.tableFindings)
        printLine(stdout, flagged(finding, true, m_outColours));
    printLine(stdout, tr("Rows checked: %1").arg(result.rowsChecked));
    printHandover(verification);
    if (!verification.backup.isEmpty() && verification.exported) {
        for (auto file = verification.differences.cbegin(); file != verification.differences.cend(); ++file) {
            const QString difference = *file == 0
                ? tr("%1 is not in both the folder and an export of the backup.").arg(file.key())
                : tr("%1 differs from an export of the backup from line %2 on.").arg(file.key()).arg(*file);
            printLine(stdout, flagged(difference, true, m_outColours));
        }
        if (verification.differences.isEmpty())
            printLine(stdout, flagged(tr("Every file is what an export of %1 gives.").arg(verification.backup), false,
                                      m_outColours));
        if (verification.damageReported)
            printLine(stdout, flagged(tr("The backup's records are damaged or lost where the lines above say, and so "
                                         "are the folder's."), true, m_outColours));
        printLine(stdout, verification.md5Holds
                              ? flagged(tr("The backup's data matches the MD5 value of its header."), false, m_outColours)
                              : flagged(tr("The backup's data does not match the MD5 value of its header."), true,
                                        m_outColours));
    }
    const bool archive = !verification.archive.isEmpty();
    const QString verdict = verification.isValid()
        ? (archive ? tr("The archive is sound.") : tr("The export is sound."))
        : (archive ? tr("The archive did not pass the verification.") : tr("The export did not pass the verification."));
    printLine(stdout, flagged(verdict, !verification.isValid(), m_outColours));
}

// What an archive's manifest and the figures of a hand-over vouch for, or what they show wrong.
void TextReporter::printHandover(const app::Verification &verification)
{
    if (!verification.archive.isEmpty())
        printFindings(verification.archiveFindings,
                      tr("Every file of the archive matches %1.").arg(app::HandoverArchive::manifestName()));
    if (verification.figuresChecked)
        printFindings(verification.figuresFindings, tr("The period, rows, sums and SHA-256 values are those %1 states.")
                                                            .arg(app::HandoverFigures::fileName()));
}

void TextReporter::printFindings(const QStringList &findings, const QString &noFinding)
{
    for (const QString &finding : findings)
        printLine(stdout, flagged(finding, true, m_outColours));
    if (findings.isEmpty())
        printLine(stdout, flagged(noFinding, false, m_outColours));
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
    if (m_barOpen)
        writeText(stderr, QStringLiteral("\n"));
    m_barOpen = false;
}

// Fields without a value (no firmware version, no serial number in an old header) are left out.
void TextReporter::printFields(const QList<QPair<QString, QString>> &fields, const QString &indent)
{
    int width = 0;
    for (const QPair<QString, QString> &field : fields)
        width = qMax(width, field.first.size());
    for (const QPair<QString, QString> &field : fields) {
        if (!field.second.isEmpty())
            printLine(stdout, indent + (field.first + QLatin1Char(':')).leftJustified(width + 2) + field.second);
    }
}

QString TextReporter::flagged(const QString &text, bool isError, bool colours) const
{
    const QString flag = isError ? tr("[error]") : tr("[info]");
    // Report texts break their lines with "<br>"; the lines after the first are indented below the text.
    const QStringList lines = text.split(QLatin1String("<br>"), Qt::SkipEmptyParts);
    const QString indent = QLatin1Char('\n') + QString(flag.size() + 1, QLatin1Char(' '));
    return coloured(flag, isError ? Red : Green, colours) + QLatin1Char(' ') + lines.join(indent);
}

// Every line of a job says which register or file it concerns.
QString TextReporter::aboutSubject(const QString &text) const
{
    if (!m_subject.serialNumber.isEmpty())
        return QStringLiteral("CR#%1: %2").arg(m_subject.serialNumber, text);
    if (m_subject.file.isEmpty() || text.contains(m_subject.file))
        return text;
    return QFileInfo(m_subject.file).fileName() + QLatin1String(": ") + text;
}

void TextReporter::check(const app::CheckReport &report)
{
    printCheckSummary(report);
    int counts[app::CheckFinding::Flagged + 1] = {};
    for (const app::CheckFinding &finding : report.findings) {
        ++counts[finding.verdict];
        printFinding(finding);
    }
    printLine(stdout, QString());
    printLine(stdout, tr("Flagged: %1, to explain: %2, passed: %3, too few or not applicable: %4")
                              .arg(counts[app::CheckFinding::Flagged])
                              .arg(counts[app::CheckFinding::Explain])
                              .arg(counts[app::CheckFinding::Passed])
                              .arg(counts[app::CheckFinding::TooFew] + counts[app::CheckFinding::NotApplicable]));
}

// What the figures cover, the takings and how they are made up, before the tests.
void TextReporter::printCheckSummary(const app::CheckReport &report)
{
    using app::CheckWords;
    QStringList kinds;
    for (const app::TallyEntry &kind : report.paymentKinds)
        kinds << tr("%1 %2 (payments: %3)").arg(QString::fromLatin1(kind.name), CheckWords::money(kind.cents)).arg(kind.count);
    QStringList taxes;
    for (const app::TallyEntry &code : report.taxCodes)
        taxes << tr("StKz %1: Betrag %2, Steuer %3")
                         .arg(QString::fromLatin1(code.name), CheckWords::money(code.cents), CheckWords::money(code.taxCents));
    qint64 payments = 0;
    int first = -1;
    int last = -1;
    for (const auto &day : report.days) {
        payments += day.second.payments;
        if (day.second.firstTime >= 0 && (first < 0 || day.second.firstTime < first))
            first = day.second.firstTime;
        last = qMax(last, day.second.lastTime);
    }
    const int days = int(report.days.size());
    const std::array<double, 7> means = report.weekdayMeans();
    const std::array<int, 7> weekdayDays = report.weekdayDays();
    QStringList profile;
    for (int weekday = 0; weekday < 7; ++weekday) {
        if (weekdayDays[size_t(weekday)] > 0)
            profile << tr("%1 %2 (days: %3)")
                               .arg(QLocale().dayName(weekday + 1, QLocale::ShortFormat),
                                    CheckWords::money(qRound64(means[size_t(weekday)])))
                               .arg(weekdayDays[size_t(weekday)]);
    }
    printFields({
        {tr("Period"), tr("%1 to %2").arg(CheckWords::day(report.firstDay), CheckWords::day(report.lastDay))},
        {tr("Records"), QString::number(report.records)},
        {tr("Takings"), tr("%1 on %2 days, the Betrag of the lines of Buchungstyp \"%3\"")
                                .arg(CheckWords::money(report.takingsCents()))
                                .arg(days)
                                .arg(QString::fromLatin1(report.takingsType))},
        {tr("Payment kinds"), kinds.join(QLatin1String("; "))},
        {tr("Tax of the item lines"), taxes.join(QLatin1String("; "))},
        {tr("Receipts per day"), tr("%1 on average, the first at %2 at the earliest, the last at %3 at the latest")
                                         .arg(CheckWords::decimal(days > 0 ? double(payments) / days : 0, 1),
                                              first < 0 ? QString() : CheckWords::time(first),
                                              last < 0 ? QString() : CheckWords::time(last))},
        {tr("Mean takings by weekday"), profile.join(QLatin1String("; "))},
    });
}

void TextReporter::printFinding(const app::CheckFinding &finding)
{
    const bool flaggedOne = finding.verdict == app::CheckFinding::Flagged;
    const QString verdict = QLatin1Char('[') + app::CheckFinding::verdictText(finding.verdict) + QLatin1Char(']');
    printLine(stdout, QString());
    printLine(stdout, coloured(verdict, flaggedOne ? Red : finding.verdict == app::CheckFinding::Passed ? Green : "",
                               m_outColours && (flaggedOne || finding.verdict == app::CheckFinding::Passed))
                              + QLatin1Char(' ') + finding.title);
    const QString indent(4, QLatin1Char(' '));
    printLine(stdout, indent + finding.figure);
    printLine(stdout, indent + tr("Threshold: %1").arg(finding.threshold));
    printLine(stdout, indent + finding.conclusion);
    for (const QString &detail : finding.details)
        printLine(stdout, indent + QLatin1String("- ") + detail);
}

} // namespace fiscora::cli
