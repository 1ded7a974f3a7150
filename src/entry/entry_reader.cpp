// The entry description reader. The keys of kEntryKeys are read one by one in their order, each
// through the profile component: integers and texts straight into their fields, keyword lists and
// addresses through one work buffer of 216 bytes, so that only the first 215 characters of such a
// value take part. Nothing here is reported: a missing key, section or file gives the defaults.
#include "entry/entry_reader.h"

#include <cstring>

#include "platform/profile.h"

namespace {

// The parts of a dotted address are separated by full stops and line feeds; blanks are no
// separators.
constexpr char kAddressSeparators[] = ".\n";

// The reads of one section of one file.
class CSectionReader {
 public:
  CSectionReader(const char* file, const char* section) : file_(file), section_(section) {}

  // False when the section is missing or holds no lines. Its content is not used.
  bool HasLines() { return GetPrivateProfileSectionA(section_, work_, sizeof work_, file_) != 0; }

  // Reads one key into its field. The profile read cuts a longer text to the field's width minus
  // one and ends it with a zero; a keyword list gives the sum of the bits of the keywords found
  // in it, 0 when none is found, which is also what a key present with an empty value gives.
  void Read(const EntryKey& key, char* field) {
    DWORD value = 0;
    switch (key.kind) {
      case FieldKind::kText:
        GetPrivateProfileStringA(section_, key.name, key.defaultText, field,
                                 static_cast<DWORD>(key.width), file_);
        return;
      case FieldKind::kAddress: {
        GetPrivateProfileStringA(section_, key.name, key.defaultText, work_, sizeof work_, file_);
        RASIPADDR address;
        ParseDottedAddress(&address, work_);
        std::memcpy(field, &address, sizeof address);
        return;
      }
      case FieldKind::kNumber:
        value = GetPrivateProfileIntA(section_, key.name, key.defaultValue, file_);
        break;
      case FieldKind::kChoice:
      case FieldKind::kFlag:
        return;  // kinds of the later keys alone, which later_keys.h reads
      case FieldKind::kBits:
        // A keyword counts wherever it stands in the value, even inside a longer word, and letter
        // case counts: so "IPX" also selects IP.
        GetPrivateProfileStringA(section_, key.name, key.defaultText, work_, sizeof work_, file_);
        for (const BitName& keyword : key.bitNames) {
          if (std::strstr(work_, keyword.name) != nullptr) {
            value |= keyword.bit;
          }
        }
        break;
    }
    std::memcpy(field, &value, sizeof value);
  }

 private:
  const char* file_;
  const char* section_;
  char work_[kEntryWorkBufferCapacity] = {};
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

  for (const EntryKey& key : kEntryKeys) {
    reader.Read(key, reinterpret_cast<char*>(entry) + key.offset);
  }
  // The two address options have no keyword: they follow the addresses, whatever Options says.
  SetOption(entry, RASEO_SpecificIpAddr, IsSpecified(entry->ipaddr));
  SetOption(entry, RASEO_SpecificNameServers,
            IsSpecified(entry->ipaddrDns) || IsSpecified(entry->ipaddrDnsAlt) ||
                IsSpecified(entry->ipaddrWins) || IsSpecified(entry->ipaddrWinsAlt));
  return 1;
}
