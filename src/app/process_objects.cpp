// The process-wide objects, defined in this one translation unit so that their order is fixed:
// the binding object first, then the application object. They are destroyed in the reverse
// order when the process ends.
#include "app/provision_app.h"
#include "ras/ras_library.h"

CRasLibrary g_rasLibrary;
CProvisionApp g_provisionApp;
