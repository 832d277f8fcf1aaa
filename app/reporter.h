#ifndef FISCORA_CLI_REPORTER_H
#define FISCORA_CLI_REPORTER_H

#include <fiscora/indexfileanalyser.h>

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <memory>

namespace fiscora::cli {

//! What "fiscora info" found in a backup file.
struct BackupInfo
{
    QString file;
    //! What the backup header says.
    IndexFileAnalyser analyser;
    //! Size and MD5 digest of the data behind the header.
    qint64 bodySize = 0;
    QByteArray bodyMd5;

    bool md5Matches() const { return bodyMd5 == analyser.getMD5Value(); }
    int headerVersion() const;
    //! Serial number and firmware version as text, without the header's zero filling.
    QString serialNumber() const;
    QString firmwareVersion() const;
};

/*!
 * Shows what a job reports: as text for people (TextReporter) or as one JSON object per line
 * for scripts (JsonReporter). The calls follow the signals of the library's workers.
 *
 * \code
 * const auto reporter = Reporter::create(command.json);
 * reporter->error(tr("..."), tr("..."));
 * reporter->done(1);
 * \endcode
 */
class Reporter
{
public:
    virtual ~Reporter() = default;

    static std::unique_ptr<Reporter> create(bool json);

    //! Progress from now on runs from \a startValue to \a endValue.
    virtual void progressStarted(int startValue, int endValue) = 0;
    virtual void progress(int value) = 0;
    //! A report text; \a count numbers an index report from 1, 0 for the other messages.
    virtual void message(const QString &text, bool isError, int count) = 0;
    virtual void error(const QString &error, const QString &hint) = 0;
    //! A backup file or a table file is complete.
    virtual void finished(const QString &file) = 0;
    //! A GDPdU description file was written.
    virtual void fileSaved(const QString &file) = 0;
    //! The user asked the running job to stop.
    virtual void interrupted() = 0;
    virtual void backupInfo(const BackupInfo &info) = 0;
    //! The last call: the application ends with \a exitCode.
    virtual void done(int exitCode) = 0;
};

//! Writes \a bytes to \a stream at once, so that a reader on a pipe sees each line as it comes.
void writeBytes(FILE *stream, const QByteArray &bytes);
//! Writes \a text to \a stream in UTF-8 at once.
void writeText(FILE *stream, const QString &text);

} // namespace fiscora::cli

#endif // FISCORA_CLI_REPORTER_H
