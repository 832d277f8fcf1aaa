#ifndef FISCORA_TABLETAP_P_H
#define FISCORA_TABLETAP_P_H

#include <QtGlobal>

namespace fiscora {

/*!
 * Takes the table of an export in place of its file, for an application that only reads it as it
 * is decrypted: the lines in pieces, in their order, each piece after the line messages that name
 * its lines. take() is called in the thread of the export.
 *
 * \code
 * ExportJob job{backup, QString(), false, false, false, false, &tap};
 * ExportRun(report, stopRequested, job).run();
 * \endcode
 */
class TableTap
{
public:
    virtual void take(const char *data, qint64 size) = 0;

protected:
    ~TableTap() = default;
};

} // namespace fiscora

#endif // FISCORA_TABLETAP_P_H
