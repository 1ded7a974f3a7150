// ReadEntryDescription on arbitrary files, for the dial-up section (no name: always filled) and
// the VPN section (filled, or all zeros). A filled record must be one the service can take byte
// for byte: every text field ends with a zero inside its width and holds only zeros after it,
// the padding and the fields left to others (size, device) are zero, the two address options
// agree with the addresses, and no option, protocol or framing bit lies outside its set.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path =
      WriteScratchFile("isp.ini", std::string_view(reinterpret_cast<const char*>(data), size));
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
  return 0;
}
