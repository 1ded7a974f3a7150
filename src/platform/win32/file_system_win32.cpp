// File system and system information on Windows: the platform's own functions and those of its
// C runtime, which resolves an empty name to the current directory as the parse expects.
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/text.h"
#include "platform/local_time.h"
#include "platform/log_append.h"
#include "platform/paths.h"
#include "platform/system_info.h"
#include "platform/win32/file_append_win32.h"
#include "platform/win32/plain_file_win32.h"

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

size_t GetSystemDirectoryPath(char* buffer, size_t capacity) {
  return GetSystemDirectoryA(buffer, static_cast<UINT>(capacity));
}

bool IsNtFamilySystem() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool GetExecutablePath(char* buffer, size_t capacity) {
  std::vector<char> path(capacity + 1);
  const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length + 1 > capacity) {
    return false;
  }
  CopyText(buffer, capacity, path.data());
  return true;
}

namespace {

// A file on a disk with this one name: no pipe, no device, no directory, no link, and no second
// name (a hard link) of a file elsewhere.
bool IsPlainDiskFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information = {};
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &information) &&
         (information.dwFileAttributes &
          (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 &&
         information.nNumberOfLinks == 1;
}

}  // namespace

HANDLE OpenPlainDiskFile(const char* path, DWORD access, DWORD share, bool ntFamily) {
  const DWORD flags =
      ntFamily ? FILE_FLAG_OPEN_REPARSE_POINT | SECURITY_SQOS_PRESENT | SECURITY_ANONYMOUS : 0;
  HANDLE file = CreateFileA(path, access | FILE_READ_ATTRIBUTES, share, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | flags, nullptr);
  if (file != INVALID_HANDLE_VALUE && !IsPlainDiskFile(file)) {
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

bool AppendLineWithAccess(const char* path, const std::string& line, AppendAccess access) {
  const bool appendData = access == AppendAccess::kAppendData;
  HANDLE file = OpenPlainDiskFile(path, appendData ? FILE_APPEND_DATA : GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, appendData);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  const std::string text = line + "\r\n";
  DWORD written = 0;
  const BOOL wrote =
      (appendData || SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER) &&
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return wrote && written == text.size();
}

// Append access alone makes every write go to the end of the file as it is at that moment, which
// the C runtime's append mode (a seek, then a write) does not promise when two processes write.
// The 95 family grants no write access through it, so there the line is written at the end as it
// was found: still one write per line, so lines never mix within a line, but two processes that
// append at the very same moment can write over each other's line.
bool AppendLineToFile(const char* path, const std::string& line) {
  return AppendLineWithAccess(
      path, line, IsNtFamilySystem() ? AppendAccess::kAppendData : AppendAccess::kWriteAtEnd);
}

std::string LocalDateTimeText() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  char text[32] = "";
  FormatText(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
  return text;
}

std::string ToolFilesDirectory(const std::string& executableDirectory) {
  return executableDirectory;
}
