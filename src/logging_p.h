#ifndef FISCORA_LOGGING_P_H
#define FISCORA_LOGGING_P_H

#include <QLoggingCategory>

namespace fiscora {

// One category per class that logs. The host application decides through its logging rules
// (QLoggingCategory::setFilterRules, QT_LOGGING_RULES) which levels appear.
Q_DECLARE_LOGGING_CATEGORY(lcSdCardReader)
Q_DECLARE_LOGGING_CATEGORY(lcKtlCypher)
Q_DECLARE_LOGGING_CATEGORY(lcIndexFileAnalyser)

} // namespace fiscora

#endif // FISCORA_LOGGING_P_H
