// The profile component: the four Win32 functions through which every profile file is read and
// written (sections in square brackets, key=value lines). On Windows these are the platform's own
// functions; the POSIX build supplies its own implementation with the same behaviour.
//
// A null file name means the platform's default profile: win.ini in the Windows directory on
// Windows, win.ini in the stand-in system's root on POSIX (see platform/posix/stand_in_system.h).
#pragma once

#include "platform_types.h"

extern "C" {

// Copies the value of `key` in `section`, or `defaultText` when the file, section or key is
// missing, into `buffer`: at most capacity - 1 characters and a terminating zero. Returns the
// number of characters copied. A present key with an empty value gives the empty text.
DIALKIT_IMPORT DWORD WINAPI GetPrivateProfileStringA(const char* section, const char* key,
                                                     const char* defaultText, char* buffer,
                                                     DWORD capacity, const char* fileName);

// The value of `key` read as a decimal number, or `defaultValue` when the key is missing.
DIALKIT_IMPORT UINT WINAPI GetPrivateProfileIntA(const char* section, const char* key,
                                                 INT defaultValue, const char* fileName);

// Copies the lines of `section` as key=value texts, each ended by a zero, the list ended by a
// further zero. Returns the number of characters copied without the final zero; 0 when the
// section is missing or holds no lines.
DIALKIT_IMPORT DWORD WINAPI GetPrivateProfileSectionA(const char* section, char* buffer,
                                                      DWORD capacity, const char* fileName);

// Sets `key` in `section` to `value`, creating the section and the file when missing. Nonzero on
// success.
DIALKIT_IMPORT BOOL WINAPI WritePrivateProfileStringA(const char* section, const char* key,
                                                      const char* value, const char* fileName);

}  // extern "C"
