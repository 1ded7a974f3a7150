// A write of the POSIX profile component into arbitrary file bytes, then a read. The input's
// first line is what is written: "value", or "section<TAB>key<TAB>value" (the settings file's
// section and DeviceName otherwise); the rest is the file. A write that succeeds must read back
// (as the platform reads any value: blanks trimmed, one pair of matching quotes dropped) and must
// change at most the one line it concerns: everything before and after the change is the old
// file's, and the old bytes that were replaced hold no line end. A write that fails leaves the
// file exactly as it was.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/posix/profile_text.h"
#include "platform/profile.h"

namespace {

std::string ExpectedValue(std::string_view value) {
  value = TrimProfileBlanks(value);
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t lineEnd = std::min(input.find('\n'), input.size());
  const std::string_view line = input.substr(0, lineEnd);
  const size_t first = line.find('\t');
  const size_t second = first == line.npos ? first : line.find('\t', first + 1);
  const bool named = second != line.npos;
  // Names and values are zero-terminated texts.
  const std::string section(named ? line.substr(0, first) : "Modem Selection");
  const std::string key(named ? line.substr(first + 1, second - first - 1) : "DeviceName");
  const std::string value(named ? line.substr(second + 1) : line);
  const std::string before(input.substr(std::min(lineEnd + 1, input.size())));
  const std::string path = WriteScratchFile("settings.ini", before);

  const BOOL written =
      WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
  std::ifstream file(path, std::ios::binary);
  const std::string after{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (!written) {
    FUZZ_CHECK(after == before);
    return 0;
  }
  static char read[1 << 16];
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "\x01(missing)", read, sizeof read,
                           path.c_str());
  FUZZ_CHECK(read == ExpectedValue(value.c_str()));

  // The old bytes between the longest common start and the longest common end after it.
  const auto common = std::mismatch(before.begin(), before.end(), after.begin(), after.end());
  const auto tail = std::mismatch(before.rbegin(), std::make_reverse_iterator(common.first),
                                  after.rbegin(), std::make_reverse_iterator(common.second));
  const std::string_view replaced(common.first, tail.first.base());
  FUZZ_CHECK(replaced.find_first_of("\r\n") == std::string_view::npos);
  return 0;
}
