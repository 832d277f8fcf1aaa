#ifndef FISCORA_DESKTOP_EXPORTVERDICT_H
#define FISCORA_DESKTOP_EXPORTVERDICT_H

#include "handoverprotocol.h"

#include <QCoreApplication>
#include <QStringList>

namespace fiscora::desktop {

/*!
 * What an export or a hand-over came to, in words, gathered from what the job reported: whether
 * its files are there, the MD5 proof, the records that were repaired or lost, and where the files
 * are.
 *
 * \code
 * ExportVerdict verdict;
 * connect(job, &JobThread::messageReported, [&](auto, auto text, auto isError, auto count) {
 *     verdict.addMessage(text, isError, count);
 * });
 * label->setText(verdict.title(...));
 * \endcode
 */
class ExportVerdict
{
    Q_DECLARE_TR_FUNCTIONS(fiscora::desktop::ExportVerdict)

public:
    void addMessage(const QString &text, bool isError, int count);
    void addError(const QString &error, const QString &hint);
    void addFile(const QString &file) { m_files << file; }
    void setStopped() { m_stopped = true; }
    bool stopped() const { return m_stopped; }

    /*!
     * The verdict's headline and its lines, once the job has ended with \a exitCode. \a handover
     * is what the protocol of a package states; an export has none. \a lineCheck tells whether the
     * records were checked.
     */
    QString title(int exitCode, bool package) const;
    QStringList lines(const app::HandoverFacts &handover, bool package, bool lineCheck) const;

    //! The folder that holds what was written, empty when nothing was.
    QString folder() const;
    bool wroteFiles() const { return !m_files.isEmpty(); }
    //! The archive, or the table file of an export; empty when nothing was written.
    QString written() const { return m_files.value(0); }

private:
    QStringList exportLines(bool lineCheck) const;
    QStringList packageLines(const app::HandoverFacts &handover) const;
    QStringList recordLines(bool lineCheck) const;

    QStringList m_files;
    QStringList m_errors;
    //! The messages on damaged, repaired or lost records, as the export words them.
    QStringList m_lineProblems;
    int m_indexProblems = 0;
    bool m_stopped = false;
};

} // namespace fiscora::desktop

#endif // FISCORA_DESKTOP_EXPORTVERDICT_H
