// Paths and the current directory on Windows: the platform's own functions and those of its C
// runtime, which resolves an empty name to the current directory as the parse expects.
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "base/text.h"
#include "platform/paths.h"

bool FormFullPath(char* buffer, size_t capacity, const char* name) {
  if (capacity == 0) {
    return false;
  }
  std::vector<char> full(capacity);
  if (_fullpath(full.data(), name, capacity) == nullptr) {
    return false;
  }
  CopyText(buffer, capacity, full.data());
  return true;
}

bool IsPathSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsRootDirectory(const char* path) {
  const bool driveRoot =
      path[0] != '\0' && path[1] == ':' && IsPathSeparator(path[2]) && path[3] == '\0';
  const bool bareRoot = IsPathSeparator(path[0]) && path[1] == '\0';
  return driveRoot || bareRoot;
}

bool PathExists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectoryPath(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool GetCurrentDirectoryPath(char* buffer, size_t capacity) {
  std::vector<char> directory(capacity + 1);
  const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(directory.size()), directory.data());
  if (length == 0 || length + 1 > capacity) {
    return false;
  }
  CopyText(buffer, capacity, directory.data());
  return true;
}

bool SetCurrentDirectoryPath(const char* path) {
  return SetCurrentDirectoryA(path) != FALSE;
}

bool SetCurrentDrive(int drive) {
  // A directory without a drive letter (a network path) names no drive from 1 to 26, and the C
  // runtime hands such a number to its invalid-parameter handler, which may end the program.
  if (drive < 1 || drive > 26) {
    return false;
  }
  return _chdrive(drive) == 0;
}

bool DeleteFileAtPath(const char* path) {
  return DeleteFileA(path) != FALSE;
}

bool CreateEmptyFileExclusively(const char* path) {
  const int file =
      _sopen(path, _O_CREAT | _O_EXCL | _O_BINARY | _O_RDONLY, _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (file < 0) {
    return false;
  }
  _close(file);
  return true;
}
