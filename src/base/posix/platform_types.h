// The Win32 type names that the portable code is written against, as this POSIX build gives them.
// The widths are those of Win32 (DWORD is 32 bits everywhere), so every record that crosses to
// the platform has the same layout on both builds. Calling conventions do not exist here.
#pragma once

#include <cstdint>

typedef uint32_t DWORD;
typedef int BOOL;
typedef int INT;
typedef unsigned int UINT;
typedef unsigned char BYTE;

#define WINAPI
#define DIALKIT_IMPORT

struct HWND__;
typedef HWND__* HWND;
