// ParseDottedAddress on arbitrary text, compared with a second reading written the plain way:
// split at full stops and line feeds, and each of the first four parts read by the C runtime's
// strtoll. A part that reads below 0 or above 255 (however far, even beyond the 64-bit range)
// gives 0. The text is split in place: only separators may change, and only into zeros.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "entry/entry_reader.h"
#include "fuzz_support.h"

namespace {

BYTE ReadPlainly(const std::string& part) {
  errno = 0;
  const long long value = std::strtoll(part.c_str(), nullptr, 10);
  return errno == 0 && value >= 0 && value <= 255 ? static_cast<BYTE>(value) : 0;
}

RASIPADDR ExpectedAddress(const std::string& text) {
  std::vector<std::string> parts;
  size_t begin = 0;
  while ((begin = text.find_first_not_of(".\n", begin)) != std::string::npos) {
    const size_t end = text.find_first_of(".\n", begin);
    parts.push_back(text.substr(begin, end - begin));
    begin = end;
  }
  parts.resize(4);
  return {ReadPlainly(parts[0]), ReadPlainly(parts[1]), ReadPlainly(parts[2]),
          ReadPlainly(parts[3])};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = std::string(reinterpret_cast<const char*>(data), size).c_str();
  // Exactly the text and its zero, on the heap, so that a read or write past it is caught.
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  RASIPADDR address;
  std::memset(&address, 0xA5, sizeof address);
  ParseDottedAddress(&address, buffer.data());

  const RASIPADDR expected = ExpectedAddress(text);
  FUZZ_CHECK(std::memcmp(&address, &expected, sizeof address) == 0);
  for (size_t i = 0; i < text.size(); ++i) {
    FUZZ_CHECK(buffer[i] == text[i] || (buffer[i] == '\0' && (text[i] == '.' || text[i] == '\n')));
  }
  return 0;
}
