#ifndef FISCORA_CLI_JSONREPORTER_H
#define FISCORA_CLI_JSONREPORTER_H

#include "reporter.h"

#include <QJsonObject>

namespace fiscora::cli {

/*!
 * One JSON object per line on standard output, each with its "event":
 *
 * \code
 * {"event":"progress","max":12,"value":3}
 * {"count":1,"event":"message","isError":false,"text":"..."}
 * {"error":"...","event":"error","hint":"..."}
 * {"event":"finished","file":"..."}
 * {"event":"fileSaved","file":"..."}
 * {"event":"interrupted"}
 * {"event":"info", ...}
 * {"event":"done","exitCode":0}
 * \endcode
 *
 * Texts are passed on as the library gives them, "<br>" included.
 */
class JsonReporter : public Reporter
{
public:
    void progressStarted(int startValue, int endValue) override;
    void progress(int value) override;
    void message(const QString &text, bool isError, int count) override;
    void error(const QString &error, const QString &hint) override;
    void finished(const QString &file) override;
    void fileSaved(const QString &file) override;
    void interrupted() override;
    void backupInfo(const BackupInfo &info) override;
    void done(int exitCode) override;

private:
    void print(const char *event, QJsonObject fields = {});

    int m_progressEnd = 0;
};

} // namespace fiscora::cli

#endif // FISCORA_CLI_JSONREPORTER_H
