// Reading a regular file whole on Windows, in a file of its own so that only the program that
// reads files whole (dialkit-check) carries it.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/whole_file.h"

// A directory cannot be opened as a file at all; a device (CON, COM1) or a pipe can, and the
// open file's type tells them from a file on a disk.
bool ReadRegularFile(const char* path, std::string* bytes, std::string* problem) {
  std::string unasked;
  if (problem == nullptr) {
    problem = &unasked;
  }
  bytes->clear();
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      *problem = "not a regular file";
    } else if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      *problem = "No such file or directory";
    } else {
      *problem = "cannot be opened (Windows error " + std::to_string(error) + ")";
    }
    return false;
  }
  bool read = GetFileType(file) == FILE_TYPE_DISK;
  if (!read) {
    *problem = "not a regular file";
  } else {
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    const uint64_t size = (static_cast<uint64_t>(high) << 32) | low;
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
      read = false;
      *problem = "cannot be read (Windows error " + std::to_string(GetLastError()) + ")";
    } else if (size > bytes->max_size()) {
      read = false;
      *problem = "too large to be read";
    }
    if (read) {
      bytes->resize(static_cast<size_t>(size));
    }
    size_t got = 0;
    while (read && got < bytes->size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes->size() - got, 1 << 30));
      DWORD count = 0;
      read = ReadFile(file, bytes->data() + got, chunk, &count, nullptr) != 0;
      if (!read) {
        *problem = "cannot be read (Windows error " + std::to_string(GetLastError()) + ")";
      } else if (count == 0) {
        break;
      }
      got += count;
    }
    bytes->resize(got);
  }
  CloseHandle(file);
  return read;
}
