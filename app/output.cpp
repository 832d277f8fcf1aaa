#include "output.h"

#include "command.h"
#include "jsonreporter.h"
#include "textreporter.h"

#include <unistd.h>

namespace fiscora::cli {

std::unique_ptr<app::Reporter> createReporter(const app::Command &command)
{
    if (command.json)
        return std::make_unique<JsonReporter>(command.quiet);
    return std::make_unique<TextReporter>(command.quiet);
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

bool isCapableTerminal(FILE *stream)
{
    return ::isatty(::fileno(stream)) == 1 && qEnvironmentVariable("TERM") != QLatin1String("dumb");
}

} // namespace fiscora::cli
