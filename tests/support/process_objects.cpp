// The process-wide objects that the program itself defines, for the test programs that link code
// which uses them, in the program's order: the binding object, then the dial lock.
#include "ras/ras_library.h"

CRasLibrary g_rasLibrary;
CCriticalSection g_dialLock;
