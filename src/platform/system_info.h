// Where the system and the running program are: the system directory, the executable's path, and
// which family of Windows (or the POSIX stand-in system) runs the tool.
#pragma once

#include <cstddef>

// The system directory (on POSIX the stand-in system's, see platform/posix/stand_in_system.h),
// with the contract of GetSystemDirectoryA: the length copied, or, when the directory does not
// fit, the capacity it needs and nothing copied; 0 on failure.
size_t GetSystemDirectoryPath(char* buffer, size_t capacity);

// True on a system of the NT family. The POSIX stand-in system counts as one.
bool IsNtFamilySystem();

// The full path of the running executable; fails when it needs more than capacity - 1 characters.
bool GetExecutablePath(char* buffer, size_t capacity);
