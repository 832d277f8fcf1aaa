#ifndef FISCORA_CLI_TEXTREPORTER_H
#define FISCORA_CLI_TEXTREPORTER_H

#include "reporter.h"

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QStringList>

#include <cstdio>

namespace fiscora::app {
struct CheckFinding;
}

namespace fiscora::cli {

/*!
 * Text for people. Results (the files written, what info and list found) go to standard
 * output; progress, report lines with their flag ("[info]", "[error]") and errors, as two lines
 * (the error and the hint), to standard error, each naming the register or file it concerns.
 * Progress is a bar on a terminal and a line per tenth elsewhere; colours only on a terminal,
 * and not at all when NO_COLOR is set or TERM is "dumb". Quiet leaves out progress and the lines
 * that flag nothing.
 */
class TextReporter : public app::Reporter
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::cli::TextReporter)

public:
    explicit TextReporter(bool quiet);

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
    void printLine(FILE *stream, const QString &line);
    void endBar();
    void printFields(const QList<QPair<QString, QString>> &fields, const QString &indent = QString());
    void printMonths(const app::PeriodFindings &findings);
    void printRegister(const CardListing::Register &cashRegister);
    void printHandover(const app::Verification &verification);
    void printFindings(const QStringList &findings, const QString &noFinding);
    void printCheckSummary(const app::CheckReport &report);
    void printFinding(const app::CheckFinding &finding);
    QString flagged(const QString &text, bool isError, bool colours) const;
    QString aboutSubject(const QString &text) const;

    const bool m_quiet;
    const bool m_barShown;
    const bool m_outColours;
    const bool m_errColours;
    int m_progressEnd = 0;
    int m_lastTenth = -1;
    bool m_barOpen = false;
    QStringList m_files;
};

} // namespace fiscora::cli

#endif // FISCORA_CLI_TEXTREPORTER_H
