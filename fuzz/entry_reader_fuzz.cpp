// ReadEntryDescription on arbitrary files, for the dial-up section (no name: always filled) and
// the VPN section (filled, or all zeros). A filled record must be one the service can take byte
// for byte: every text field ends with a zero inside its width and holds only zeros after it,
// the padding and the fields left to others (size, device) are zero, the two address options
// agree with the addresses, and no option, protocol or framing bit lies outside its set.
//
// The same bytes, up to a zero, as an address for ParseDottedAddress, compared with a second
// reading written the plain way: split at full stops and line feeds, and each of the first four
// parts read by the C runtime's strtoll. A part that reads below 0 or above 255 (however far, even
// beyond the 64-bit range) gives 0. The text is split in place: only separators may change, and
// only into zeros.
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "entry/entry_reader.h"
#include "entry/entry_record.h"
#include "fuzz_support.h"

namespace {

constexpr size_t kPaddingBegin =
    offsetof(RASENTRYA, szX25UserData) + sizeof(RASENTRYA::szX25UserData);
constexpr size_t kPaddingEnd = offsetof(RASENTRYA, dwChannels);

bool AllZero(const unsigned char* bytes, size_t count) {
  return std::all_of(bytes, bytes + count, [](unsigned char byte) { return byte == 0; });
}

bool IsSpecified(const RASIPADDR& address) {
  return (address.a | address.b | address.c | address.d) != 0;
}

void CheckFilledRecord(const RASENTRYA& entry) {
  FUZZ_CHECK(TextFieldsEnd(entry, true));
  const auto* bytes = reinterpret_cast<const unsigned char*>(&entry);
  FUZZ_CHECK(AllZero(bytes + kPaddingBegin, kPaddingEnd - kPaddingBegin));
  FUZZ_CHECK(entry.dwSize == 0 && entry.szDeviceType[0] == '\0' && entry.szDeviceName[0] == '\0');

  FUZZ_CHECK(((entry.dwfOptions & RASEO_SpecificIpAddr) != 0) == IsSpecified(entry.ipaddr));
  FUZZ_CHECK(((entry.dwfOptions & RASEO_SpecificNameServers) != 0) ==
             (IsSpecified(entry.ipaddrDns) || IsSpecified(entry.ipaddrDnsAlt) ||
              IsSpecified(entry.ipaddrWins) || IsSpecified(entry.ipaddrWinsAlt)));
  FUZZ_CHECK(entry.dwfOptions <= 0xFFFF);
  FUZZ_CHECK((entry.dwfNetProtocols & ~(RASNP_NetBEUI | RASNP_Ipx | RASNP_Ip)) == 0);
  FUZZ_CHECK((entry.dwfNetProtocols & RASNP_Ipx) == 0 || (entry.dwfNetProtocols & RASNP_Ip) != 0);
  FUZZ_CHECK((entry.dwFramingProtocol & ~(RASFP_Ppp | RASFP_Slip | RASFP_Ras)) == 0);
}

BYTE ReadPlainly(const std::string& part) {
  errno = 0;
  const long long value = std::strtoll(part.c_str(), nullptr, 10);
  return errno == 0 && value >= 0 && value <= 255 ? static_cast<BYTE>(value) : 0;
}

void CheckDottedAddress(const std::string& text) {
  std::vector<std::string> parts;
  for (size_t begin = 0; (begin = text.find_first_not_of(".\n", begin)) != std::string::npos;) {
    const size_t end = text.find_first_of(".\n", begin);
    parts.push_back(text.substr(begin, end - begin));
    begin = end;
  }
  parts.resize(4);
  const RASIPADDR expected = {ReadPlainly(parts[0]), ReadPlainly(parts[1]), ReadPlainly(parts[2]),
                              ReadPlainly(parts[3])};
  // Exactly the text and its zero, on the heap, so that a read or write past it is caught.
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  RASIPADDR address;
  std::memset(&address, 0xA5, sizeof address);
  ParseDottedAddress(&address, buffer.data());
  FUZZ_CHECK(std::memcmp(&address, &expected, sizeof address) == 0);
  for (size_t i = 0; i < text.size(); ++i) {
    FUZZ_CHECK(buffer[i] == text[i] || (buffer[i] == '\0' && (text[i] == '.' || text[i] == '\n')));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = WriteScratchFile("isp.ini", bytes);
  RASENTRYA entry;

  std::memset(&entry, 0x5A, sizeof entry);
  FUZZ_CHECK(ReadEntryDescription(&entry, path.c_str(), nullptr) == 1);
  CheckFilledRecord(entry);

  std::memset(&entry, 0x5A, sizeof entry);
  if (ReadEntryDescription(&entry, path.c_str(), "VPNEntry") == 1) {
    CheckFilledRecord(entry);
  } else {
    FUZZ_CHECK(AllZero(reinterpret_cast<const unsigned char*>(&entry), sizeof entry));
  }
  CheckDottedAddress(std::string(bytes.substr(0, bytes.find('\0'))));
  return 0;
}
