// The Win32 type names that the portable code is written against, for the Windows build.
// They are spelled exactly as <windows.h> spells them, so that a platform file may include both
// headers; portable code never includes <windows.h> itself.
#pragma once

#include <cstdint>

typedef unsigned long DWORD;
typedef int BOOL;
typedef int INT;
typedef unsigned int UINT;
typedef unsigned char BYTE;

#ifndef WINAPI
#define WINAPI __stdcall
#endif
// Functions that the system DLLs export are declared as imports, as <windows.h> declares them.
#define DIALKIT_IMPORT __declspec(dllimport)

struct HWND__;
typedef HWND__* HWND;
