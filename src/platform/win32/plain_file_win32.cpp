// Opening only a plain disk file on Windows, for the files the tool writes for others to read.
#include "platform/win32/plain_file_win32.h"

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
