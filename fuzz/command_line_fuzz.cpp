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

struct CParseValues {
  int32_t result;
  std::string entryFilePath;
  std::string mainEntryName;
  std::string vpnEntryName;
  int32_t askForDevice;
};

bool IsTerminated(const char* text) {
  return std::memchr(text, '\0', kCommandLineTextCapacity) != nullptr;
}

// The parse runs once per process in the tool, so the values start out empty.
CParseValues Parse(const std::string& text) {
  std::memset(g_entryFilePath, 0, sizeof g_entryFilePath);
  std::memset(g_mainEntryName, 0, sizeof g_mainEntryName);
  std::memset(g_vpnEntryName, 0, sizeof g_vpnEntryName);
  g_askForDevice = 7;
  const int32_t result = ParseCommandLine(text.c_str());
  FUZZ_CHECK(IsTerminated(g_entryFilePath));
  FUZZ_CHECK(IsTerminated(g_mainEntryName));
  FUZZ_CHECK(IsTerminated(g_vpnEntryName));
  return {result, g_entryFilePath, g_mainEntryName, g_vpnEntryName, g_askForDevice};
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
  const CParseValues first = Parse(text.c_str());

  FUZZ_CHECK(first.result == 0 || first.result == kInitPathNotFormed ||
             first.result == kInitFileNotFound);
  FUZZ_CHECK(first.askForDevice == 0 || first.askForDevice == 1);
  if (first.result == 0) {
    FUZZ_CHECK(!first.entryFilePath.empty() && PathExists(first.entryFilePath.c_str()));
  }
  if (first.result == kInitFileNotFound && !first.entryFilePath.empty()) {
    FUZZ_CHECK(!PathExists(first.entryFilePath.c_str()));
  }

  const CParseValues second = Parse(text.c_str());
  FUZZ_CHECK(second.result == first.result && second.entryFilePath == first.entryFilePath &&
             second.mainEntryName == first.mainEntryName &&
             second.vpnEntryName == first.vpnEntryName &&
             second.askForDevice == first.askForDevice);
  return 0;
}
