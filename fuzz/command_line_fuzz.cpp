// ParseCommandLine on arbitrary argument text, in a folder where a.ini exists and missing.ini does
// not. Whatever the text, the parse ends, every value stays terminated inside its 340 bytes, the
// ask flag is 0 or 1, and a success names a path that exists. A second parse of the same text
// agrees with the first: the parse depends on nothing but the text and the folder.
#include <cstdint>
#include <cstring>
#include <string>

#include "app/command_line.h"
#include "fuzz_support.h"
#include "platform/paths.h"
#include "platform/result_codes.h"

namespace {

// The parse's values, checked, as one text. The parse runs once per process in the tool, so the
// values start out empty.
std::string Parse(const char* text) {
  char* const values[] = {g_entryFilePath, g_mainEntryName, g_vpnEntryName};
  for (char* value : values) {
    std::memset(value, 0, kCommandLineTextCapacity);
  }
  g_askForDevice = 7;
  const int32_t result = ParseCommandLine(text);
  std::string parsed = std::to_string(result) + " " + std::to_string(g_askForDevice);
  for (const char* value : values) {
    FUZZ_CHECK(std::memchr(value, '\0', kCommandLineTextCapacity) != nullptr);
    parsed.append(1, '\0').append(value);
  }
  FUZZ_CHECK(result == 0 || result == kInitPathNotFormed || result == kInitFileNotFound);
  FUZZ_CHECK(g_askForDevice == 0 || g_askForDevice == 1);
  if (result == 0) {
    FUZZ_CHECK(*g_entryFilePath != '\0' && PathExists(g_entryFilePath));
  }
  if (result == kInitFileNotFound && *g_entryFilePath != '\0') {
    FUZZ_CHECK(!PathExists(g_entryFilePath));
  }
  return parsed;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  WriteScratchFile("a.ini", "[RasEntry]\n");
  FUZZ_CHECK(SetCurrentDirectoryPath(ScratchFolder().c_str()));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The platform hands the parse a zero-terminated text: a zero byte ends it.
  const std::string text(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(Parse(text.c_str()) == Parse(text.c_str()));
  return 0;
}
