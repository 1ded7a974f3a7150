// The process-wide objects that the program itself defines, for the test programs that link code
// which uses them.
#include "ras/ras_library.h"

CRasLibrary g_rasLibrary;
