// Where the system and the running program are: the system directory, the executable's path, and
// which family of Windows (or the POSIX stand-in system) runs the tool.
#pragma once

#include <cstddef>
#include <string>

// The system directory (on POSIX the stand-in system's, see platform/posix/stand_in_system.h),
// with the contract of GetSystemDirectoryA: the length copied, or, when the directory does not
// fit, the capacity it needs and nothing copied; 0 on failure.
size_t GetSystemDirectoryPath(char* buffer, size_t capacity);

// True on a system of the NT family. The POSIX stand-in system counts as one.
bool IsNtFamilySystem();

// The full path of the running executable; fails when it needs more than capacity - 1 characters.
bool GetExecutablePath(char* buffer, size_t capacity);

// Where the tool whose executable lies in `executableDirectory` keeps its settings file and work
// file, and takes a relative INIT from: that directory itself, but for an installed POSIX tool
// (one with its installed library directory, platform/posix/library_trust.h), which keeps them in
// dialkit/ of the system configuration directory of its prefix, when that exists: /etc/dialkit
// for the prefix /usr, PREFIX/etc/dialkit for any other (GNU's rule).
std::string ToolFilesDirectory(const std::string& executableDirectory);
