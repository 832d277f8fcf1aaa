#include "reporter.h"

#include "jsonreporter.h"
#include "textreporter.h"

#include <cstdio>

namespace fiscora::cli {

std::unique_ptr<Reporter> Reporter::create(bool json)
{
    if (json)
        return std::make_unique<JsonReporter>();
    return std::make_unique<TextReporter>();
}

void writeBytes(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void writeText(FILE *stream, const QString &text)
{
    writeBytes(stream, text.toUtf8());
}

int BackupInfo::headerVersion() const
{
    const QByteArray version = analyser.getHeaderVersion();
    return version.isEmpty() ? 0 : static_cast<quint8>(version.at(0));
}

QString BackupInfo::serialNumber() const
{
    return headerFieldText(analyser.getCRSerialnumber());
}

QString BackupInfo::firmwareVersion() const
{
    return headerFieldText(analyser.getCRFirmwareVersion());
}

} // namespace fiscora::cli
