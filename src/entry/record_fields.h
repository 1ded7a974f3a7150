// The fields of the dial-up entry record, as one table: each field's name in text, its place and
// width in RASENTRYA and the kind of value it holds. The entry description reader, the checker,
// the services' stored records and the pppd peer file all name and read the fields through it, so
// that a field is spelled and placed once.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "entry/entry_layouts.h"
#include "entry/entry_record.h"

enum class FieldKind {
  kBits,     // a DWORD of bits, each with a name (bitNames)
  kNumber,   // a DWORD
  kText,     // a zero-ended text of `width` bytes at most, zero included
  kAddress,  // a RASIPADDR
  kChoice,   // a DWORD that holds one of the values bitNames names
  kFlag,     // 0 or 1: the one bit of bitNames clear or set in a DWORD of bits
};

struct RecordField {
  const char* name;        // in text: the entry description's key, where the file has one
  const char* storedName;  // the key of the services' stored records
  const char* field;       // the member of RASENTRYA or LongEntryRecord
  FieldKind kind;
  size_t offset;  // in LongEntryRecord, whose first part is RASENTRYA
  size_t width;   // in bytes
  std::span<const BitName> bitNames;
};

#define DIALKIT_RECORD_FIELD(name, storedName, member, kind, bitNames)       \
  RecordField {                                                              \
    name, storedName, #member, FieldKind::kind, offsetof(RASENTRYA, member), \
        sizeof(RASENTRYA::member), bitNames                                  \
  }
#define DIALKIT_FIELD(name, member, kind) DIALKIT_RECORD_FIELD(name, name, member, kind, {})
#define DIALKIT_LATER_FIELD(name, storedName, member, kind, bitNames)              \
  RecordField {                                                                    \
    name, storedName, #member, FieldKind::kind, offsetof(LongEntryRecord, member), \
        sizeof(LongEntryRecord::member), bitNames                                  \
  }

// Every field but dwSize that the tool names, in the record's order: RASENTRYA's, then those of
// the later layouts that an administrator sets (docs/entry-description-file.md says why these).
// The stored records spell dwAlternateOffset's key after the field, the entry description after
// its own key: files of both kinds are out there.
inline constexpr RecordField kFieldTable[] = {
    DIALKIT_RECORD_FIELD("Options", "Options", dwfOptions, kBits, kOptionBitNames),
    DIALKIT_FIELD("CountryID", dwCountryID, kNumber),
    DIALKIT_FIELD("CountryCode", dwCountryCode, kNumber),
    DIALKIT_FIELD("AreaCode", szAreaCode, kText),
    DIALKIT_FIELD("LocalPhoneNumber", szLocalPhoneNumber, kText),
    DIALKIT_RECORD_FIELD("AlternatesOffset", "AlternateOffset", dwAlternateOffset, kNumber, {}),
    DIALKIT_FIELD("ipaddr", ipaddr, kAddress),
    DIALKIT_FIELD("ipaddrDns", ipaddrDns, kAddress),
    DIALKIT_FIELD("ipaddrDnsAlt", ipaddrDnsAlt, kAddress),
    DIALKIT_FIELD("ipaddrWins", ipaddrWins, kAddress),
    DIALKIT_FIELD("ipaddrWinsAlt", ipaddrWinsAlt, kAddress),
    DIALKIT_FIELD("FrameSize", dwFrameSize, kNumber),
    DIALKIT_RECORD_FIELD("NetProtocols", "NetProtocols", dwfNetProtocols, kBits,
                         kNetProtocolBitNames),
    DIALKIT_RECORD_FIELD("FramingProtocol", "FramingProtocol", dwFramingProtocol, kBits,
                         kFramingBitNames),
    DIALKIT_FIELD("Script", szScript, kText),
    DIALKIT_FIELD("AutodialDll", szAutodialDll, kText),
    DIALKIT_FIELD("AutodialFunc", szAutodialFunc, kText),
    DIALKIT_FIELD("DeviceType", szDeviceType, kText),
    DIALKIT_FIELD("DeviceName", szDeviceName, kText),
    DIALKIT_FIELD("X25PadType", szX25PadType, kText),
    DIALKIT_FIELD("X25Address", szX25Address, kText),
    DIALKIT_FIELD("X25Facilities", szX25Facilities, kText),
    DIALKIT_FIELD("X25UserData", szX25UserData, kText),
    DIALKIT_FIELD("Channels", dwChannels, kNumber),
    DIALKIT_FIELD("Reserved1", dwReserved1, kNumber),
    DIALKIT_FIELD("Reserved2", dwReserved2, kNumber),
    // The stored records keep dwfOptions2 whole, by the names of its bits.
    DIALKIT_LATER_FIELD("IdleDisconnectSeconds", "IdleDisconnectSeconds", dwIdleDisconnectSeconds,
                        kNumber, {}),
    DIALKIT_LATER_FIELD("EncryptionType", "EncryptionType", dwEncryptionType, kChoice,
                        kEncryptionTypeNames),
    DIALKIT_LATER_FIELD("VpnStrategy", "VpnStrategy", dwVpnStrategy, kChoice, kVpnStrategyNames),
    DIALKIT_LATER_FIELD("UsePreSharedKey", "Options2", dwfOptions2, kFlag, kPreSharedKeyBits),
    DIALKIT_LATER_FIELD("DnsSuffix", "DnsSuffix", szDnsSuffix, kText, {}),
};

#undef DIALKIT_LATER_FIELD
#undef DIALKIT_FIELD
#undef DIALKIT_RECORD_FIELD

consteval size_t BaseFieldCount() {
  size_t count = 0;
  while (count < std::size(kFieldTable) && kFieldTable[count].offset < kEntryRecordSize) {
    ++count;
  }
  return count;
}

// The fields of RASENTRYA, which every service stores, and those of the later layouts.
inline constexpr std::span<const RecordField> kRecordFields{kFieldTable, BaseFieldCount()};
inline constexpr std::span<const RecordField> kLaterRecordFields =
    std::span<const RecordField>(kFieldTable).subspan(BaseFieldCount());

// Named by a table that names a field RASENTRYA does not have; never defined, and not constexpr,
// so that such a table stops the build.
void NoFieldOfThisName();

// The row of the member named `field` ("szScript"), for tables built with the build.
consteval const RecordField& FieldNamed(std::string_view field) {
  for (const RecordField& row : kFieldTable) {
    if (field == row.field) {
      return row;
    }
  }
  NoFieldOfThisName();
  return kFieldTable[0];
}

// The DWORD at `bytes`, which need not be aligned.
DWORD DwordAt(const char* bytes);

// The field's bytes in `record`, and its value as each kind of field holds it. A text that fills
// its field without a zero ends at the field's end. A RASENTRYA holds only kRecordFields.
const char* FieldOf(const RASENTRYA& record, const RecordField& field);
DWORD DwordOf(const RASENTRYA& record, const RecordField& field);
std::string_view TextOf(const RASENTRYA& record, const RecordField& field);
const char* FieldOf(const LongEntryRecord& record, const RecordField& field);
DWORD DwordOf(const LongEntryRecord& record, const RecordField& field);
std::string_view TextOf(const LongEntryRecord& record, const RecordField& field);
std::string DottedOf(const RASENTRYA& record, const RecordField& field);

// "a.b.c.d", each part in decimal.
std::string DottedAddress(const RASIPADDR& address);

// The value of `key` in `record` (the bytes of a RASENTRYA, or of a LongEntryRecord for a later
// key) as a file would give it: an integer in decimal, an address dotted, a keyword list as the
// names of its bits (in the table's order, separated by blanks; bits without a name are no value
// of the file's and are left out), a choice by its word, a flag as 0 or 1 (set by either
// pre-shared key bit, since the strategy picks the one), a text as it stands.
std::string FieldValueText(const char* record, const RecordField& key);
