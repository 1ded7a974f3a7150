// File system and system information: the few services of the platform's runtime that the tool
// uses. Each is one small function with one implementation per platform. Texts are single-byte,
// zero-terminated; capacities count the terminator.
#pragma once

#include <cstddef>
#include <string>

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

// The system directory (on POSIX the stand-in system's, see platform/posix/stand_in_system.h),
// with the contract of GetSystemDirectoryA: the length copied, or, when the directory does not
// fit, the capacity it needs and nothing copied; 0 on failure.
size_t GetSystemDirectoryPath(char* buffer, size_t capacity);

// True on a system of the NT family. The POSIX stand-in system counts as one.
bool IsNtFamilySystem();

// The full path of the running executable; fails when it needs more than capacity - 1 characters.
bool GetExecutablePath(char* buffer, size_t capacity);

// Appends `line` and the platform's line end ("\r\n" on Windows, "\n" on POSIX) to the file at
// `path`, creating it when missing, with one write to the end of the file, so that lines that
// two processes append to one file at once never mix. Fails when the file cannot be opened or the
// write is short; on POSIX also, without opening it, when what exists under `path` is no regular
// file (a FIFO, a device), so that the append never waits and never writes into such a file.
bool AppendLineToFile(const char* path, const std::string& line);

// The local date and time, as "YYYY-MM-DD HH:MM:SS".
std::string LocalDateTimeText();

// Reads the regular file at `path` whole into `bytes`, up to the size it had when it was opened.
// Nothing else is read so: a directory, a device, a pipe or a socket is refused at once, without
// waiting for a writer or reading without end. Fails, with `problem` (unless null) saying why in
// a few words, when the file is no regular file or cannot be opened or read.
bool ReadRegularFile(const char* path, std::string* bytes, std::string* problem);
