// UTF-8 and standard output on Windows. The system converts from the ANSI code page into UTF-16
// on every version; the step from UTF-16 to UTF-8 is the tool's own, since the 95 family's
// conversion functions know no UTF-8.
#include <windows.h>

#include <vector>

#include "platform/profile_encoding.h"
#include "platform/program_output.h"
#include "platform/system_info.h"
#include "platform/win32/plain_file_win32.h"

namespace {

bool IsHighSurrogate(uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(uint32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::string TextInUtf8(std::string_view text) {
  std::string utf8;
  if (text.empty()) {
    return utf8;
  }
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(units > 0 ? units : 0));
  if (units <= 0 || MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), units) <= 0) {
    for (const char c : text) {
      AppendUtf8(utf8, Windows1252Character(static_cast<unsigned char>(c)));
    }
    return utf8;
  }
  utf8.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    uint32_t character = static_cast<uint16_t>(wide[i]);
    if (IsHighSurrogate(character) && i + 1 < wide.size() &&
        IsLowSurrogate(static_cast<uint16_t>(wide[i + 1]))) {
      character =
          0x10000 + ((character - 0xD800) << 10) + (static_cast<uint16_t>(wide[++i]) - 0xDC00);
    } else if (IsHighSurrogate(character) || IsLowSurrogate(character)) {
      character = 0xFFFD;
    }
    AppendUtf8(utf8, character);
  }
  return utf8;
}

bool WriteStandardOutput(std::string_view bytes) {
  // A GUI program has a standard output only where its parent passed one.
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) {
    return false;
  }
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

// The file is cut only once it is known to be a plain disk file (plain_file_win32.h).
bool WriteOutputFile(const char* path, const std::string& bytes) {
  const HANDLE file = OpenPlainDiskFile(path, GENERIC_WRITE, 0, IsNtFamilySystem());
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  const bool whole =
      SetEndOfFile(file) &&
      (bytes.empty() ||
       (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size()));
  return CloseHandle(file) && whole;
}
