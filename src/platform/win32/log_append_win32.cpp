// Appending a line to a log on Windows, only ever to a plain disk file.
#include "platform/win32/log_append_win32.h"

#include <windows.h>

#include <string>

#include "platform/log_append.h"
#include "platform/system_info.h"
#include "platform/win32/plain_file_win32.h"

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
