#ifndef FISCORA_CLI_OUTPUT_H
#define FISCORA_CLI_OUTPUT_H

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <memory>

namespace fiscora::app {
class Reporter;
struct Command;
}

namespace fiscora::cli {

//! The reporter the command line asks for: JSON lines for scripts, or text for people.
std::unique_ptr<app::Reporter> createReporter(const app::Command &command);

//! Writes \a bytes to \a stream at once, so that a reader on a pipe sees each line as it comes.
//! A stream that nobody reads any more is no reason to stop the job.
void writeBytes(FILE *stream, const QByteArray &bytes);
//! Writes \a text to \a stream in UTF-8 at once.
void writeText(FILE *stream, const QString &text);

//! Whether \a stream is a terminal that shows control sequences (not one with TERM=dumb).
bool isCapableTerminal(FILE *stream);

} // namespace fiscora::cli

#endif // FISCORA_CLI_OUTPUT_H
