// The phone book's entry list, operation EnumEntries of the binding. The service is asked at
// most three times: again with the room it asked for, and again after an empty system phone
// book was made where an NT-family system could not open one.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/text.h"
#include "platform/paths.h"
#include "platform/result_codes.h"
#include "platform/system_info.h"
#include "ras/entry_point_call.h"
#include "ras/ras_library.h"
#include "ras/record_array.h"

namespace {

constexpr int kMostAttempts = 3;

// Makes the system phone book "ras\rasphone.pbk" under the system directory as a new, empty
// file. False when the path cannot be formed or the file cannot be made, in particular when it
// exists already: so it is made at most once per list, and never over an existing phone book.
bool CreateEmptySystemPhoneBook() {
  // 259 less the 16 characters of the relative path, so that the whole path fits in 260 bytes.
  constexpr size_t kDirectoryCapacity = 243;
  char path[260];
  const size_t length = GetSystemDirectoryPath(path, kDirectoryCapacity);
  if (length == 0 || length >= kDirectoryCapacity) {
    return false;
  }
  const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
  const std::string relative = std::string("ras") + separator + "rasphone.pbk";
  size_t end = length;
  if (path[end - 1] != separator) {
    path[end++] = separator;
  }
  CopyText(path + end, sizeof path - end, relative.c_str());
  return CreateEmptyFileExclusively(path);
}

}  // namespace

uint32_t CRasLibrary::EnumEntries(RASENTRYNAMEA** entries, uint32_t* count) {
  *entries = nullptr;
  *count = 0;
  DWORD size = sizeof(RASENTRYNAMEA);
  for (int attempts = 0;;) {
    DWORD allocated = size;
    auto* buffer =
        static_cast<RASENTRYNAMEA*>(AllocateRecordArray(&allocated, sizeof(RASENTRYNAMEA)));
    if (buffer == nullptr) {
      return ERROR_NOT_ENOUGH_MEMORY;
    }
    buffer->dwSize = sizeof(RASENTRYNAMEA);
    size = allocated;
    DWORD listed = 0;
    const uint32_t result =
        CallEntryPoint(enumEntries_, nullptr, phoneBookPath_, buffer, &size, &listed);
    if (result == 0) {
      const uint32_t records = RecordsInBuffer(listed, allocated, sizeof(RASENTRYNAMEA));
      // Callers compare these names as terminated texts.
      for (uint32_t i = 0; i < records; ++i) {
        buffer[i].szEntryName[sizeof buffer[i].szEntryName - 1] = '\0';
      }
      *entries = buffer;
      *count = records;
      return 0;
    }
    std::free(buffer);
    if (result == ERROR_CANNOT_OPEN_PHONEBOOK && IsNtFamilySystem()) {
      if (!CreateEmptySystemPhoneBook()) {
        return ERROR_CANNOT_OPEN_PHONEBOOK;
      }
    } else if (result != ERROR_BUFFER_TOO_SMALL) {
      return result;
    }
    if (++attempts >= kMostAttempts) {
      return result;
    }
  }
}
