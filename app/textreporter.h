#ifndef FISCORA_CLI_TEXTREPORTER_H
#define FISCORA_CLI_TEXTREPORTER_H

#include "reporter.h"

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QStringList>

namespace fiscora::cli {

/*!
 * Text for people: report messages with their flag ("[info]", "[error]") on standard output,
 * every error as two lines (the error and the hint) on standard error, and at the end the files
 * written. Progress is a bar on a terminal and one line per step elsewhere; colours are used
 * only on a terminal, and not at all when NO_COLOR is set.
 */
class TextReporter : public Reporter
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::cli::TextReporter)

public:
    TextReporter();

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
    void printLine(FILE *stream, const QString &line);
    void endBar();
    void printFields(const QList<QPair<QString, QString>> &fields);
    void printCalendar(const QMap<QDate, IndexFileAnalyser::IndexStatus> &indexMap);
    QString flagged(const QString &text, bool isError) const;

    const bool m_outIsTerminal;
    const bool m_outColours;
    const bool m_errColours;
    int m_progressEnd = 0;
    int m_lastTenth = -1;
    bool m_barShown = false;
    QStringList m_files;
};

} // namespace fiscora::cli

#endif // FISCORA_CLI_TEXTREPORTER_H
