#include "jsonreporter.h"

#include <fiscora/helperclass.h>

#include <QJsonArray>
#include <QJsonDocument>

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

QJsonObject months(const QMap<QDate, IndexFileAnalyser::IndexStatus> &indexMap)
{
    QJsonObject months;
    for (auto month = indexMap.cbegin(); month != indexMap.cend(); ++month)
        months.insert(month.key().toString(QStringLiteral("yyyy-MM")), statusName(month.value()));
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

} // namespace

void JsonReporter::progressStarted(int startValue, int endValue)
{
    m_progressEnd = endValue;
    progress(startValue);
}

void JsonReporter::progress(int value)
{
    print("progress", {{QStringLiteral("value"), value}, {QStringLiteral("max"), m_progressEnd}});
}

void JsonReporter::message(const QString &text, bool isError, int count)
{
    print("message",
          {{QStringLiteral("text"), text}, {QStringLiteral("isError"), isError}, {QStringLiteral("count"), count}});
}

void JsonReporter::error(const QString &error, const QString &hint)
{
    print("error", {{QStringLiteral("error"), error}, {QStringLiteral("hint"), hint}});
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

void JsonReporter::backupInfo(const BackupInfo &info)
{
    const IndexFileAnalyser &analyser = info.analyser;
    print("info", {
        {QStringLiteral("file"), info.file},
        {QStringLiteral("serialNumber"), info.serialNumber()},
        {QStringLiteral("firmwareVersion"), info.firmwareVersion()},
        {QStringLiteral("source"), analyser.getCurrenIndexSourceAsString()},
        {QStringLiteral("headerVersion"), info.headerVersion()},
        {QStringLiteral("md5"), HelperClass::convertToFormattedHexValue(analyser.getMD5Value())},
        {QStringLiteral("bodySize"), info.bodySize},
        {QStringLiteral("bodyMd5"), HelperClass::convertToFormattedHexValue(info.bodyMd5)},
        {QStringLiteral("md5Matches"), info.md5Matches()},
        {QStringLiteral("messages"), messages(analyser)},
        {QStringLiteral("months"), months(analyser.getIndexMap())},
    });
}

void JsonReporter::done(int exitCode)
{
    print("done", {{QStringLiteral("exitCode"), exitCode}});
}

void JsonReporter::print(const char *event, QJsonObject fields)
{
    fields.insert(QStringLiteral("event"), QLatin1String(event));
    writeBytes(stdout, QJsonDocument(fields).toJson(QJsonDocument::Compact) + '\n');
}

} // namespace fiscora::cli
