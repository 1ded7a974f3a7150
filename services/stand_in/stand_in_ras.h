// The stand-in Remote Access Service: the fifteen functions of platform/ras_service.h, built as
// rasapi32.dll and once more as altras.dll, for machines and test runs without the platform's
// service (there is none on Linux, and Wine's own is a stub). It behaves as the platform's
// service does where the tool relies on it; docs/stand-in-service.md says what each function
// does and where the service keeps its data.
//
// Besides the platform's functions it exports one of its own, so that a test can prove which
// library the loader really found.
#pragma once

#include "platform_types.h"

extern "C" {

// "rasapi32.dll" or "altras.dll": the name this build of the stand-in was made for.
const char* WINAPI StandInLibraryName();

}  // extern "C"

using StandInLibraryNameProc = decltype(&StandInLibraryName);
