// The entry description reader: turns one section of an entry description file (the profile file
// named by INIT) into a dial-up entry record. It is the only part of the tool that knows the
// file's keys, and it reads them through the profile component alone.
// docs/entry-description-file.md describes the file for the people who write one.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "entry/entry_record.h"

// The phone number an entry gets when its section names none: fixed texts that the tool
// carries. They are placeholders that reach no one (555-0100 is kept free for made-up numbers),
// so a forgotten number shows itself instead of dialling a stranger.
inline constexpr char kDefaultAreaCode[] = "555";
inline constexpr char kDefaultLocalPhoneNumber[] = "5550100";

// The reader's work buffer: keyword lists and addresses are read into it, so that only the first
// kEntryWorkBufferCapacity - 1 characters of such a value take part.
inline constexpr DWORD kEntryWorkBufferCapacity = 216;

// The keys of a section, in the order in which they are read, each with its field of the record.
// This table is the reader's whole knowledge of the file; dialkit-check judges a file by it too.
enum class EntryKeyKind {
  kKeywords,  // a DWORD: the bits of the keywords found in the value
  kInteger,   // a DWORD, read by the profile component's integer read
  kText,      // a text field, cut to its width minus one
  kAddress,   // a RASIPADDR, from a dotted address
};

struct EntryKey {
  const char* name;
  const char* field;
  EntryKeyKind kind;
  size_t offset;            // of the field in RASENTRYA
  size_t width;             // of the field in bytes
  const char* defaultText;  // when the key is missing; keyword lists, texts and addresses
  INT defaultValue;         // when the key is missing; integers
  std::span<const BitName> keywords;
};

#define DIALKIT_ENTRY_KEY(name, member, kind, defaultText, defaultValue, keywords)             \
  EntryKey {                                                                                   \
    name, #member, EntryKeyKind::kind, offsetof(RASENTRYA, member), sizeof(RASENTRYA::member), \
        defaultText, defaultValue, keywords                                                    \
  }

inline constexpr EntryKey kEntryKeys[] = {
    DIALKIT_ENTRY_KEY("Options", dwfOptions, kKeywords,
                      "NetworkLogon IpHeaderCompression ModemLights SwCompression "
                      "RemoteDefaultGateway",
                      0, kOptionBitNames),
    DIALKIT_ENTRY_KEY("CountryID", dwCountryID, kInteger, nullptr, 1, {}),
    DIALKIT_ENTRY_KEY("CountryCode", dwCountryCode, kInteger, nullptr, 1, {}),
    DIALKIT_ENTRY_KEY("AreaCode", szAreaCode, kText, kDefaultAreaCode, 0, {}),
    DIALKIT_ENTRY_KEY("LocalPhoneNumber", szLocalPhoneNumber, kText, kDefaultLocalPhoneNumber, 0,
                      {}),
    DIALKIT_ENTRY_KEY("AlternatesOffset", dwAlternateOffset, kInteger, nullptr, 0, {}),
    DIALKIT_ENTRY_KEY("ipaddr", ipaddr, kAddress, "0.0.0.0", 0, {}),
    DIALKIT_ENTRY_KEY("ipaddrDns", ipaddrDns, kAddress, "0.0.0.0", 0, {}),
    DIALKIT_ENTRY_KEY("ipaddrDnsAlt", ipaddrDnsAlt, kAddress, "0.0.0.0", 0, {}),
    DIALKIT_ENTRY_KEY("ipaddrWins", ipaddrWins, kAddress, "0.0.0.0", 0, {}),
    DIALKIT_ENTRY_KEY("ipaddrWinsAlt", ipaddrWinsAlt, kAddress, "0.0.0.0", 0, {}),
    DIALKIT_ENTRY_KEY("FrameSize", dwFrameSize, kInteger, nullptr, 0, {}),
    DIALKIT_ENTRY_KEY("NetProtocols", dwfNetProtocols, kKeywords, "IP", 0, kNetProtocolBitNames),
    DIALKIT_ENTRY_KEY("FramingProtocol", dwFramingProtocol, kKeywords, "PPP", 0, kFramingBitNames),
    DIALKIT_ENTRY_KEY("Script", szScript, kText, "", 0, {}),
    DIALKIT_ENTRY_KEY("AutodialDll", szAutodialDll, kText, "", 0, {}),
    DIALKIT_ENTRY_KEY("AutodialFunc", szAutodialFunc, kText, "", 0, {}),
    DIALKIT_ENTRY_KEY("X25PadType", szX25PadType, kText, "", 0, {}),
    DIALKIT_ENTRY_KEY("X25Address", szX25Address, kText, "", 0, {}),
    DIALKIT_ENTRY_KEY("X25Facilities", szX25Facilities, kText, "", 0, {}),
    DIALKIT_ENTRY_KEY("X25UserData", szX25UserData, kText, "", 0, {}),
    DIALKIT_ENTRY_KEY("Channels", dwChannels, kInteger, nullptr, 0, {}),
    DIALKIT_ENTRY_KEY("Reserved1", dwReserved1, kInteger, nullptr, 0, {}),
    DIALKIT_ENTRY_KEY("Reserved2", dwReserved2, kInteger, nullptr, 0, {}),
};

#undef DIALKIT_ENTRY_KEY

// The field of `key` in `record`, and its value as each kind of key holds it.
const char* FieldOf(const RASENTRYA& record, const EntryKey& key);
DWORD DwordOf(const RASENTRYA& record, const EntryKey& key);
std::string_view TextOf(const RASENTRYA& record, const EntryKey& key);
std::string DottedOf(const RASENTRYA& record, const EntryKey& key);

// Fills the caller's record from `section` of the file at `entryFilePath` (a full path). The
// whole record is zero-filled first; dwSize, szDeviceType and szDeviceName stay zero for the
// run and device assignment to fill, every other field gets its key's value or the key's
// default.
//
// A null section reads "RasEntry" without a test, so that a missing file or section gives a
// record of defaults. A named section must exist and hold at least one line: otherwise the
// result is 0 and the record is all zeros. Returns 1 when the record was filled.
int ReadEntryDescription(RASENTRYA* entry, const char* entryFilePath, const char* section);

// Fills `address` from a dotted text a.b.c.d. Full stops and line feeds separate the parts (a run
// of them counts as one, leading ones are skipped); the first four parts count, missing ones give
// 0. Each part is read as a decimal number: leading white space and a sign are taken, then digits
// up to the first other character. A part without digits, a negative part, and a part of 256 or
// more (however many digits it has) give 0. The text is split in place and so is changed.
void ParseDottedAddress(RASIPADDR* address, char* text);
