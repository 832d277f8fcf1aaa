#include "fiscora.h"
#include "indexfileanalyser.h"
#include "logging_p.h"

// The resource bundle (index.xml and the GDPdU DTD) registers itself when the library is loaded
// and unregisters when it is unloaded: rcc's generated code carries a static initializer.

const char *getFiscoraLibVersion()
{
    return FISCORA_VERSION_STRING;
}

namespace fiscora {

// Each category is a function-local static, created on first use under the runtime's guard,
// so worker threads that log for the first time at once still share one object.
Q_LOGGING_CATEGORY(lcSdCardReader, "sdcardreader")
Q_LOGGING_CATEGORY(lcKtlCypher, "ktlcypher")
Q_LOGGING_CATEGORY(lcIndexFileAnalyser, "indexfileanalyser")

// A queued connection of KTLCypher::finishSuccessful looks the analyser's type up by its name
// when the signal is emitted, so the name is known from the moment the library is loaded.
static void registerMetaTypes()
{
    qRegisterMetaType<IndexFileAnalyser>();
}
Q_CONSTRUCTOR_FUNCTION(registerMetaTypes)

} // namespace fiscora
