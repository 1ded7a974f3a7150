// The process-wide objects, defined in this one translation unit so that their order is fixed:
// the binding object first, then the application object, then the dial lock that the binding's
// dial operations take. They are destroyed in the reverse order when the process ends. The test
// programs that use the binding link this same definition.
#include "app/provision_app.h"
#include "base/critical_section.h"
#include "ras/ras_library.h"

CRasLibrary g_rasLibrary;
CProvisionApp g_provisionApp;
CCriticalSection g_dialLock;
