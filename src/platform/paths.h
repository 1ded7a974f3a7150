// Paths and the current directory: forming full paths the platform's way, telling what exists,
// and the few file operations the tool needs besides reading and writing. Texts are single-byte,
// zero-terminated; capacities count the terminator. One implementation per platform
// (paths_posix.cpp, paths_win32.cpp).
#pragma once

#include <cstddef>

// Forms the full path of `name` relative to the current directory into `buffer`. An empty name
// gives the current directory itself. Fails, leaving `buffer` untouched, when the platform
// refuses the name or the full path needs more than capacity - 1 characters.
bool FormFullPath(char* buffer, size_t capacity, const char* name);

// True for a character that separates the parts of a path: '/' on POSIX; '\\' and '/' on
// Windows.
bool IsPathSeparator(char c);

// True when `path` is a root directory written with its final separator ("/"; "C:\\" or "\\"),
// which names the root only with that separator.
bool IsRootDirectory(const char* path);

// True when a file or a directory exists under `path`.
bool PathExists(const char* path);

// True when a directory exists under `path`.
bool IsDirectoryPath(const char* path);

// The current directory; fails when it needs more than capacity - 1 characters.
bool GetCurrentDirectoryPath(char* buffer, size_t capacity);
bool SetCurrentDirectoryPath(const char* path);

// Makes drive `drive` (1 for A, 2 for B, ...) the current drive. There are no drives on POSIX,
// where it always fails.
bool SetCurrentDrive(int drive);

bool DeleteFileAtPath(const char* path);

// Creates a new, empty file that can be read and written later, failing when anything exists
// under that name already; the file is closed again at once.
bool CreateEmptyFileExclusively(const char* path);
