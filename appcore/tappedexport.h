#ifndef FISCORA_APP_TAPPEDEXPORT_H
#define FISCORA_APP_TAPPEDEXPORT_H

#include "jobrunner.h"

#include <fiscora/indexfileanalyser.h>

#include <QThread>

#include <atomic>

namespace fiscora::app {

class TablePipe;

/*!
 * The library's export with its table going into a pipe instead of a file, in a thread of its
 * own. It has the signals of KTLCypher, so that JobRunner runs it as it runs the decryptor, and
 * finishSuccessful() names no file. The pipe ends with the export, however it ends.
 *
 * \code
 * TappedExport worker(request, pipe);
 * connect(&worker, &TappedExport::processMessages, ...);
 * worker.start();
 * \endcode
 */
class TappedExport : public QThread
{
    Q_OBJECT

public:
    TappedExport(const ExportRequest &request, TablePipe &pipe);

    //! Asks the export to stop after its current record.
    void stopProcess() { m_stopRequested = true; }

Q_SIGNALS:
    void finishSuccessful(const QString &filename, const fiscora::IndexFileAnalyser &analyse);
    void processMessages(const QString &message, bool isError, int messageCount);
    void error(const QString &error, const QString &hint);
    void initProgressBar(int startValue, int endValue);
    void updateProgressBar(int currenValue);
    void fileSaved(const QString &filename);

private:
    void run() override;

    const ExportRequest m_request;
    TablePipe &m_pipe;
    std::atomic_bool m_stopRequested{false};
};

} // namespace fiscora::app

#endif // FISCORA_APP_TAPPEDEXPORT_H
