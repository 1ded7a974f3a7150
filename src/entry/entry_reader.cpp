// The entry description reader. The keys are read one by one in a fixed order, each through the
// profile component: integers and texts straight into their fields, keyword lists and addresses
// through one work buffer of 216 bytes, so that only the first 215 characters of such a value
// take part. Nothing here is reported: a missing key, section or file gives the defaults.
#include "entry/entry_reader.h"

#include <cstring>
#include <span>

#include "platform/profile.h"

namespace {

// A keyword counts wherever it stands in the value, even inside a longer word, and letter case
// counts: so "IPX" also selects IP.

constexpr char kDefaultOptions[] =
    "NetworkLogon IpHeaderCompression ModemLights SwCompression RemoteDefaultGateway";
constexpr char kUnsetAddress[] = "0.0.0.0";

// The section test, keyword lists and addresses pass through this buffer: 215 characters and
// the terminating zero.
constexpr DWORD kWorkBufferCapacity = 216;

// The parts of a dotted address are separated by full stops and line feeds; blanks are no
// separators.
constexpr char kAddressSeparators[] = ".\n";

// The reads of one section of one file.
class CSectionReader {
 public:
  CSectionReader(const char* file, const char* section) : file_(file), section_(section) {}

  // False when the section is missing or holds no lines. Its content is not used.
  bool HasLines() { return GetPrivateProfileSectionA(section_, work_, sizeof work_, file_) != 0; }

  DWORD ReadInteger(const char* key, INT defaultValue) const {
    return GetPrivateProfileIntA(section_, key, defaultValue, file_);
  }

  // The profile read cuts a longer value to the field's width minus one and ends it with a zero.
  template <size_t Width>
  void ReadText(const char* key, const char* defaultText, char (&field)[Width]) const {
    GetPrivateProfileStringA(section_, key, defaultText, field, Width, file_);
  }

  // The sum of the bits of the keywords found in the value; 0 when none is found, which is also
  // what a key present with an empty value gives.
  DWORD ReadKeywords(const char* key, const char* defaultText, std::span<const BitName> keywords) {
    GetPrivateProfileStringA(section_, key, defaultText, work_, sizeof work_, file_);
    DWORD bits = 0;
    for (const BitName& keyword : keywords) {
      if (std::strstr(work_, keyword.name) != nullptr) {
        bits |= keyword.bit;
      }
    }
    return bits;
  }

  void ReadAddress(const char* key, RASIPADDR* address) {
    GetPrivateProfileStringA(section_, key, kUnsetAddress, work_, sizeof work_, file_);
    ParseDottedAddress(address, work_);
  }

 private:
  const char* file_;
  const char* section_;
  char work_[kWorkBufferCapacity] = {};
};

bool IsSpecified(const RASIPADDR& address) {
  return (address.a | address.b | address.c | address.d) != 0;
}

void SetOption(RASENTRYA* entry, DWORD bit, bool on) {
  entry->dwfOptions = on ? (entry->dwfOptions | bit) : (entry->dwfOptions & ~bit);
}

bool IsWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// One part of a dotted address, read as the C runtime reads a decimal integer, but without ever
// forming a value that could overflow: reading stops as soon as the value is out of a byte's range.
BYTE ConvertAddressPart(const char* part) {
  while (IsWhiteSpace(*part)) {
    ++part;
  }
  bool negative = false;
  if (*part == '+' || *part == '-') {
    negative = *part == '-';
    ++part;
  }
  unsigned value = 0;
  for (; *part >= '0' && *part <= '9' && value < 256; ++part) {
    value = value * 10 + static_cast<unsigned>(*part - '0');
  }
  return (negative || value >= 256) ? 0 : static_cast<BYTE>(value);
}

}  // namespace

void ParseDottedAddress(RASIPADDR* address, char* text) {
  BYTE parts[4] = {};
  for (BYTE& part : parts) {
    text += std::strspn(text, kAddressSeparators);
    if (*text == '\0') {
      break;
    }
    // The part is ended in place, so that reading it cannot run on into the next one: the white
    // space skipped before the digits includes the line feed.
    char* end = text + std::strcspn(text, kAddressSeparators);
    const bool more = *end != '\0';
    *end = '\0';
    part = ConvertAddressPart(text);
    text = more ? end + 1 : end;
  }
  *address = {parts[0], parts[1], parts[2], parts[3]};
}

int ReadEntryDescription(RASENTRYA* entry, const char* entryFilePath, const char* section) {
  // Before the section test, so that a failed test leaves nothing of an earlier record behind.
  std::memset(entry, 0, sizeof *entry);

  CSectionReader reader(entryFilePath, section != nullptr ? section : "RasEntry");
  if (section != nullptr && !reader.HasLines()) {
    return 0;
  }

  entry->dwfOptions = reader.ReadKeywords("Options", kDefaultOptions, kOptionBitNames);
  entry->dwCountryID = reader.ReadInteger("CountryID", 1);
  entry->dwCountryCode = reader.ReadInteger("CountryCode", 1);
  reader.ReadText("AreaCode", kDefaultAreaCode, entry->szAreaCode);
  reader.ReadText("LocalPhoneNumber", kDefaultLocalPhoneNumber, entry->szLocalPhoneNumber);
  entry->dwAlternateOffset = reader.ReadInteger("AlternatesOffset", 0);

  // The two address options have no keyword: they follow the addresses, whatever Options says.
  reader.ReadAddress("ipaddr", &entry->ipaddr);
  SetOption(entry, RASEO_SpecificIpAddr, IsSpecified(entry->ipaddr));
  reader.ReadAddress("ipaddrDns", &entry->ipaddrDns);
  reader.ReadAddress("ipaddrDnsAlt", &entry->ipaddrDnsAlt);
  reader.ReadAddress("ipaddrWins", &entry->ipaddrWins);
  reader.ReadAddress("ipaddrWinsAlt", &entry->ipaddrWinsAlt);
  SetOption(entry, RASEO_SpecificNameServers,
            IsSpecified(entry->ipaddrDns) || IsSpecified(entry->ipaddrDnsAlt) ||
                IsSpecified(entry->ipaddrWins) || IsSpecified(entry->ipaddrWinsAlt));

  entry->dwFrameSize = reader.ReadInteger("FrameSize", 0);
  entry->dwfNetProtocols = reader.ReadKeywords("NetProtocols", "IP", kNetProtocolBitNames);
  entry->dwFramingProtocol = reader.ReadKeywords("FramingProtocol", "PPP", kFramingBitNames);

  reader.ReadText("Script", "", entry->szScript);
  reader.ReadText("AutodialDll", "", entry->szAutodialDll);
  reader.ReadText("AutodialFunc", "", entry->szAutodialFunc);
  reader.ReadText("X25PadType", "", entry->szX25PadType);
  reader.ReadText("X25Address", "", entry->szX25Address);
  reader.ReadText("X25Facilities", "", entry->szX25Facilities);
  reader.ReadText("X25UserData", "", entry->szX25UserData);

  entry->dwChannels = reader.ReadInteger("Channels", 0);
  entry->dwReserved1 = reader.ReadInteger("Reserved1", 0);
  entry->dwReserved2 = reader.ReadInteger("Reserved2", 0);
  return 1;
}
