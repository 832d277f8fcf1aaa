#ifndef FISCORA_APP_CHECKANALYSIS_H
#define FISCORA_APP_CHECKANALYSIS_H

#include "checkreport.h"

#include <QDate>

namespace fiscora::app {

class CheckTally;
class JournalFacts;

/*!
 * Runs the auditors' tests on what one pass over a journal's table gave: the journal's facts
 * and the check's tally of the same rows.
 *
 * \code
 * CheckTally tally;
 * JournalFacts facts(TableLayout::ofExports(), firstMonth, lastMonth);
 * facts.setRowSink(&tally);
 * facts.addFile(table);
 * const CheckReport report = CheckAnalysis::analyse(facts, tally);
 * \endcode
 */
class CheckAnalysis
{
public:
    //! The period is that of \a facts, or without one the days from the first to the last record.
    static CheckReport analyse(const JournalFacts &facts, const CheckTally &tally);
};

} // namespace fiscora::app

#endif // FISCORA_APP_CHECKANALYSIS_H
