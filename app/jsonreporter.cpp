#include "jsonreporter.h"

#include "backupinfo.h"
#include "checkreport.h"
#include "output.h"
#include "periodfindings.h"
#include "verifycommand.h"

#include <fiscora/helperclass.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTime>

#include <functional>

namespace fiscora::cli {

namespace {

QJsonValue statusName(IndexFileAnalyser::IndexStatus status)
{
    switch (status) {
    case IndexFileAnalyser::INDEX_OK:
        return QStringLiteral("INDEX_OK");
    case IndexFileAnalyser::INDEX_ERROR_FILE_MISSING:
        return QStringLiteral("INDEX_ERROR_FILE_MISSING");
    case IndexFileAnalyser::INDEX_ERROR_FILE_EXIST:
        return QStringLiteral("INDEX_ERROR_FILE_EXIST");
    case IndexFileAnalyser::INDEX_ERROR_INDEXFILE_MISSING:
        return QStringLiteral("INDEX_ERROR_INDEXFILE_MISSING");
    }
    // A damaged header can hold any status byte.
    return static_cast<int>(status);
}

QString monthKey(const QDate &month)
{
    return month.toString(QStringLiteral("yyyy-MM"));
}

QJsonObject months(const QMap<QDate, IndexFileAnalyser::IndexStatus> &indexMap)
{
    QJsonObject months;
    for (auto month = indexMap.cbegin(); month != indexMap.cend(); ++month)
        months.insert(monthKey(month.key()), statusName(month.value()));
    return months;
}

// The months of the backup from its first to its last with records, and those its index finds at
// fault: nothing outside passes for a month with a verdict.
QJsonObject months(const app::PeriodFindings &findings)
{
    QJsonObject months;
    for (const app::MonthFinding &month : findings.months()) {
        months.insert(monthKey(month.month), QJsonObject{
            {QStringLiteral("index"), statusName(month.status)},
            {QStringLiteral("records"), month.sums.rows},
            {QStringLiteral("damagedRows"), month.sums.damagedRows},
            {QStringLiteral("damagedLines"), month.lineMessages},
            {QStringLiteral("missingLines"), month.missingLines},
            {QStringLiteral("duplicateLines"), month.duplicates},
            {QStringLiteral("ok"), month.isOk()},
        });
    }
    return months;
}

QJsonArray messages(const IndexFileAnalyser &analyser)
{
    QJsonArray messages;
    for (const QPair<QString, bool> &message : analyser.getIndexMessages())
        messages.append(QJsonObject{{QStringLiteral("text"), message.first},
                                    {QStringLiteral("isError"), message.second}});
    return messages;
}

QJsonObject dataFiles(const CardListing::Register &cashRegister)
{
    QJsonObject files;
    for (auto file = cashRegister.dataFiles.cbegin(); file != cashRegister.dataFiles.cend(); ++file) {
        files.insert(monthKey(file.key()), QJsonObject{
            {QStringLiteral("file"), *file},
            {QStringLiteral("readable"), !cashRegister.unreadableMonths.contains(file.key())},
        });
    }
    return files;
}

} // namespace

JsonReporter::JsonReporter(bool quiet)
    : m_quiet(quiet)
{
}

void JsonReporter::progressStarted(int startValue, int endValue)
{
    m_progressEnd = endValue;
    progress(startValue);
}

void JsonReporter::progress(int value)
{
    if (!m_quiet)
        print("progress", aboutSubject({{QStringLiteral("value"), value}, {QStringLiteral("max"), m_progressEnd}}),
              stderr);
}

void JsonReporter::message(const QString &text, bool isError, int count)
{
    if (m_quiet && !isError)
        return;
    print("message", aboutSubject({{QStringLiteral("text"), text}, {QStringLiteral("isError"), isError},
                                   {QStringLiteral("count"), count}}));
}

void JsonReporter::error(const QString &error, const QString &hint)
{
    print("error", aboutSubject({{QStringLiteral("error"), error}, {QStringLiteral("hint"), hint}}));
}

void JsonReporter::finished(const QString &file)
{
    print("finished", {{QStringLiteral("file"), file}});
}

void JsonReporter::fileSaved(const QString &file)
{
    print("fileSaved", {{QStringLiteral("file"), file}});
}

void JsonReporter::interrupted()
{
    print("interrupted");
}

void JsonReporter::backupInfo(const app::BackupInfo &info, const app::PeriodFindings &findings)
{
    const IndexFileAnalyser &analyser = info.analyser();
    print("info", {
        {QStringLiteral("file"), info.file()},
        {QStringLiteral("serialNumber"), info.serialNumber()},
        {QStringLiteral("firmwareVersion"), info.firmwareVersion()},
        {QStringLiteral("source"), analyser.getCurrenIndexSourceAsString()},
        {QStringLiteral("headerVersion"), info.headerVersion()},
        {QStringLiteral("md5"), HelperClass::convertToFormattedHexValue(analyser.getMD5Value())},
        {QStringLiteral("bodySize"), info.bodySize()},
        {QStringLiteral("bodyMd5"), HelperClass::convertToFormattedHexValue(info.bodyMd5())},
        {QStringLiteral("md5Matches"), info.md5Matches()},
        {QStringLiteral("messages"), messages(analyser)},
        {QStringLiteral("months"), months(findings)},
        {QStringLiteral("records"), findings.total().rows},
        {QStringLiteral("missingLines"), findings.missingLines()},
    });
}

void JsonReporter::cardListing(const QString &source, const QList<CardListing::Register> &registers)
{
    for (const CardListing::Register &cashRegister : registers) {
        print("register", {
            {QStringLiteral("source"), source},
            {QStringLiteral("serial"), cashRegister.serialNumber},
            {QStringLiteral("folder"), cashRegister.folder},
            {QStringLiteral("backupFile"), cashRegister.backupFileName},
            {QStringLiteral("indexRead"), cashRegister.indexRead},
            {QStringLiteral("dataFiles"), dataFiles(cashRegister)},
            {QStringLiteral("months"), months(cashRegister.index.getIndexMap())},
            {QStringLiteral("messages"), messages(cashRegister.index)},
            {QStringLiteral("error"), cashRegister.error},
            {QStringLiteral("hint"), cashRegister.hint},
        });
    }
}

void JsonReporter::verification(const app::Verification &verification)
{
    QJsonArray findings;
    for (const app::Finding &finding : verification.result.findings) {
        findings.append(QJsonObject{{QStringLiteral("file"), finding.file}, {QStringLiteral("line"), finding.line},
                                    {QStringLiteral("column"), finding.column}, {QStringLiteral("text"), finding.text}});
    }
    QJsonObject leftOut;
    for (auto file = verification.result.findingsLeftOut.cbegin(); file != verification.result.findingsLeftOut.cend(); ++file)
        leftOut.insert(file.key(), *file);
    QJsonObject differences;
    for (auto file = verification.differences.cbegin(); file != verification.differences.cend(); ++file)
        differences.insert(file.key(), *file);
    QJsonObject fields{
        {QStringLiteral("folder"), verification.shownFolder()},
        {QStringLiteral("valid"), verification.isValid()},
        {QStringLiteral("rowsChecked"), verification.result.rowsChecked},
        {QStringLiteral("period"), verification.period},
        {QStringLiteral("tableFindings"), QJsonArray::fromStringList(verification.tableFindings)},
        {QStringLiteral("findings"), findings},
        {QStringLiteral("findingsLeftOut"), leftOut},
    };
    if (!verification.archive.isEmpty()) {
        fields.insert(QStringLiteral("archive"), verification.archive);
        fields.insert(QStringLiteral("archiveFindings"), QJsonArray::fromStringList(verification.archiveFindings));
    }
    if (verification.figuresChecked)
        fields.insert(QStringLiteral("figuresFindings"), QJsonArray::fromStringList(verification.figuresFindings));
    if (!verification.backup.isEmpty()) {
        fields.insert(QStringLiteral("backup"), verification.backup);
        fields.insert(QStringLiteral("md5Holds"), verification.md5Holds);
        fields.insert(QStringLiteral("differences"), differences);
        fields.insert(QStringLiteral("damageReported"), verification.damageReported);
    }
    print("verification", fields);
}

void JsonReporter::done(int exitCode)
{
    print("done", {{QStringLiteral("exitCode"), exitCode}});
}

void JsonReporter::print(const char *event, QJsonObject fields, FILE *stream)
{
    fields.insert(QStringLiteral("event"), QLatin1String(event));
    writeBytes(stream, QJsonDocument(fields).toJson(QJsonDocument::Compact) + '\n');
}

QJsonObject JsonReporter::aboutSubject(QJsonObject fields) const
{
    if (!m_subject.serialNumber.isEmpty())
        fields.insert(QStringLiteral("serial"), m_subject.serialNumber);
    if (!m_subject.file.isEmpty())
        fields.insert(QStringLiteral("file"), m_subject.file);
    return fields;
}

namespace {

// Each entry with its name, its count under \a count, and what \a figures adds.
QJsonArray entries(const QList<app::TallyEntry> &list, const QString &count,
                   const std::function<void(QJsonObject &, const app::TallyEntry &)> &figures)
{
    QJsonArray array;
    for (const app::TallyEntry &entry : list) {
        QJsonObject object{{QStringLiteral("name"), QString::fromLatin1(entry.name)}, {count, entry.count}};
        figures(object, entry);
        array.append(object);
    }
    return array;
}

QJsonValue timeValue(int seconds)
{
    return seconds < 0 ? QJsonValue() : QJsonValue(QTime(0, 0).addSecs(seconds).toString(Qt::ISODate));
}

} // namespace

// Figures go out whole, amounts in cents, so that a script need not parse the words.
void JsonReporter::check(const app::CheckReport &report)
{
    QJsonArray days;
    for (const auto &day : report.days) {
        days.append(QJsonObject{{QStringLiteral("date"), day.first.toString(Qt::ISODate)},
                                {QStringLiteral("takingsCents"), day.second.takingsCents},
                                {QStringLiteral("payments"), day.second.payments},
                                {QStringLiteral("first"), timeValue(day.second.firstTime)},
                                {QStringLiteral("last"), timeValue(day.second.lastTime)}});
    }
    QJsonArray missing;
    for (const QDate &day : report.missingDays)
        missing.append(day.toString(Qt::ISODate));
    QJsonArray findings;
    for (const app::CheckFinding &finding : report.findings) {
        findings.append(QJsonObject{{QStringLiteral("test"), finding.test},
                                    {QStringLiteral("title"), finding.title},
                                    {QStringLiteral("verdict"), app::CheckFinding::verdictKey(finding.verdict)},
                                    {QStringLiteral("figure"), finding.figure},
                                    {QStringLiteral("threshold"), finding.threshold},
                                    {QStringLiteral("conclusion"), finding.conclusion},
                                    {QStringLiteral("details"), QJsonArray::fromStringList(finding.details)}});
    }
    print("check", aboutSubject({
        {QStringLiteral("firstDay"), report.firstDay.toString(Qt::ISODate)},
        {QStringLiteral("lastDay"), report.lastDay.toString(Qt::ISODate)},
        {QStringLiteral("records"), report.records},
        {QStringLiteral("takingsType"), QString::fromLatin1(report.takingsType)},
        {QStringLiteral("takingsCents"), report.takingsCents()},
        {QStringLiteral("days"), days},
        {QStringLiteral("missingDays"), missing},
        {QStringLiteral("paymentKinds"), entries(report.paymentKinds, QStringLiteral("payments"), [](auto &object, auto &entry) {
             object.insert(QStringLiteral("cents"), entry.cents);
         })},
        {QStringLiteral("taxCodes"), entries(report.taxCodes, QStringLiteral("lines"), [](auto &object, auto &entry) {
             object.insert(QStringLiteral("betragCents"), entry.cents);
             object.insert(QStringLiteral("steuerCents"), entry.taxCents);
         })},
        {QStringLiteral("operators"), entries(report.operators, QStringLiteral("receipts"), [](auto &object, auto &entry) {
             object.insert(QStringLiteral("cancellations"), entry.cancellations);
             object.insert(QStringLiteral("returns"), entry.returns);
         })},
        {QStringLiteral("flagged"), report.flagged()},
        {QStringLiteral("findings"), findings},
    }));
}

} // namespace fiscora::cli
