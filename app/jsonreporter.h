#ifndef FISCORA_CLI_JSONREPORTER_H
#define FISCORA_CLI_JSONREPORTER_H

#include "reporter.h"

#include <QJsonObject>

namespace fiscora::cli {

/*!
 * One JSON object per line, each with its "event"; progress goes to standard error, everything
 * else to standard output. The events of a job carry the "serial" number of the register and
 * the "file" they concern, where known:
 *
 * \code
 * {"event":"progress","max":12,"value":3,"serial":"12345678","file":"..."}
 * {"count":1,"event":"message","isError":false,"text":"...","serial":"12345678","file":"..."}
 * {"error":"...","event":"error","hint":"...","serial":"12345678","file":"..."}
 * {"event":"finished","file":"..."}
 * {"event":"fileSaved","file":"..."}
 * {"event":"interrupted"}
 * {"event":"info", ...}
 * {"event":"register", ...}
 * {"event":"verification","valid":true,"rowsChecked":96,"findings":[...], ...}
 * {"event":"check","flagged":false,"days":[...],"findings":[{"test":"lastDigit","verdict":"passed", ...}], ...}
 * {"event":"done","exitCode":0}
 * \endcode
 *
 * Texts are passed on as the library gives them, "<br>" included. Quiet leaves out progress and
 * the messages that flag nothing.
 */
class JsonReporter : public app::Reporter
{
public:
    explicit JsonReporter(bool quiet);

    void progressStarted(int startValue, int endValue) override;
    void progress(int value) override;
    void message(const QString &text, bool isError, int count) override;
    void error(const QString &error, const QString &hint) override;
    void finished(const QString &file) override;
    void fileSaved(const QString &file) override;
    void interrupted() override;
    void backupInfo(const app::BackupInfo &info, const app::PeriodFindings &findings) override;
    void cardListing(const QString &source, const QList<CardListing::Register> &registers) override;
    void verification(const app::Verification &verification) override;
    void check(const app::CheckReport &report) override;
    void done(int exitCode) override;

private:
    void print(const char *event, QJsonObject fields = {}, FILE *stream = stdout);
    QJsonObject aboutSubject(QJsonObject fields) const;

    const bool m_quiet;
    int m_progressEnd = 0;
};

} // namespace fiscora::cli

#endif // FISCORA_CLI_JSONREPORTER_H
