#include "logging_p.h"

namespace fiscora {

// Each category is a function-local static, created on first use under the runtime's guard,
// so worker threads that log for the first time at once still share one object.
Q_LOGGING_CATEGORY(lcSdCardReader, "sdcardreader")
Q_LOGGING_CATEGORY(lcKtlCypher, "ktlcypher")
Q_LOGGING_CATEGORY(lcIndexFileAnalyser, "indexfileanalyser")

} // namespace fiscora
