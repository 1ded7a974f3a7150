// The POSIX profile component reading arbitrary file bytes, through every read the tool makes:
// string reads of the tool's sections and keys with each capacity it uses, integer reads, the
// section test, and the library switch read from the default profile (no file name). Each string
// read must keep to its buffer (allocated at exactly its capacity), end the text with a zero
// inside it, return the text's length, leave the bytes after the zero alone, and give a prefix of
// what a larger buffer gets.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/profile.h"

namespace {

constexpr char kUntouched = '\xA5';

// Every capacity the tool reads a string with, then one that holds any value of an input.
constexpr DWORD kCapacities[] = {11, 17, 33, 129, 201, 216, 260};
constexpr DWORD kLargeCapacity = 1 << 16;

struct CRead {
  const char* section;
  const char* key;
  const char* defaultText;
};

// The tool's own sections and keys, with defaults of each kind it passes: empty, plain, dotted.
constexpr CRead kReads[] = {
    {"RasEntry", "Options", "NetworkLogon IpHeaderCompression ModemLights"},
    {"RasEntry", "ipaddr", "0.0.0.0"},
    {"VPNEntry", "NetProtocols", "IP"},
    {"Modem Selection", "DeviceName", ""},
};

std::string ReadString(const CRead& read, DWORD capacity, const char* file) {
  std::vector<char> buffer(capacity, kUntouched);
  const DWORD count = GetPrivateProfileStringA(read.section, read.key, read.defaultText,
                                               buffer.data(), capacity, file);
  FUZZ_CHECK(count < capacity);
  FUZZ_CHECK(buffer[count] == '\0' && std::strlen(buffer.data()) == count);
  for (DWORD i = count + 1; i < capacity; ++i) {
    FUZZ_CHECK(buffer[i] == kUntouched);
  }
  return std::string(buffer.data(), count);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The default profile is win.ini in the stand-in system's root.
  setenv("SystemRoot", ScratchFolder().c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path =
      WriteScratchFile("win.ini", std::string_view(reinterpret_cast<const char*>(data), size));
  const char* file = path.c_str();

  for (const CRead& read : kReads) {
    const std::string whole = ReadString(read, kLargeCapacity, file);
    for (const DWORD capacity : kCapacities) {
      FUZZ_CHECK(whole.starts_with(ReadString(read, capacity, file)));
    }
    GetPrivateProfileIntA(read.section, read.key, 1, file);
  }
  // The section test, which reads every section the same way. Each line ends with a zero and the
  // list with a further one, which the count leaves out; a list cut short ends with two zeros
  // after the count.
  constexpr DWORD kSectionCapacity = 216;
  std::vector<char> lines(kSectionCapacity, kUntouched);
  const DWORD count = GetPrivateProfileSectionA("RasEntry", lines.data(), kSectionCapacity, file);
  FUZZ_CHECK(count + 2 <= kSectionCapacity && lines[count] == '\0');
  FUZZ_CHECK(lines[count + 1] == '\0' || (count > 0 && lines[count - 1] == '\0'));
  const UINT useAltras = GetPrivateProfileIntA("Libraries", "UseAltras", 0, nullptr);
  FUZZ_CHECK(useAltras == GetPrivateProfileIntA("Libraries", "UseAltras", 0, file));
  return 0;
}
