#include "fiscora.h"

// The resource bundle (index.xml and the GDPdU DTD) registers itself when the library is loaded
// and unregisters when it is unloaded: rcc's generated code carries a static initializer.

const char *getFiscoraLibVersion()
{
    return FISCORA_VERSION_STRING;
}
