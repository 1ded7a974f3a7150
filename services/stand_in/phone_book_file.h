// The stand-in service's phone book: a text file that a person can read and edit, one section
// per entry and one key per field of the entry record:
//
//   [My ISP]
//   Options=IpHeaderCompression RemoteDefaultGateway ModemLights SwCompression NetworkLogon
//   CountryID=49
//   ...
//   ipaddrDns=10.0.0.53
//   ...
//   DeviceType=modem
//   DeviceName=Standard 28800 bps Modem
//
// The fields of the later layouts follow where they are not zero (VpnStrategy=Ikev2Only, ...).
// Numbers are decimal, addresses dotted, option, protocol and framing bits named (bits without a
// name as one hexadecimal number). Section names and values that hold a per cent sign, control
// characters, or blanks at their ends carry those bytes as %HH, so that every name and value
// comes back exactly as stored; brackets need no escape, since a section name runs to the last
// closing bracket of its line. docs/stand-in-service.md describes the format in full.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "entry/entry_layouts.h"
#include "entry/entry_record.h"

struct StoredEntry {
  std::string name;
  RASENTRYA record;  // dwSize always kEntryRecordSize
  // The entry's fields of the later layouts, those beyond its base; zero where never stored.
  LongEntryRecord later = {};

  LongEntryRecord Whole() const;
  void Keep(const LongEntryRecord& whole);
};

using PhoneBook = std::vector<StoredEntry>;

std::string FormatPhoneBook(const PhoneBook& book);

// Reads what it understands and passes over the rest: comments (lines starting with ; or #),
// lines outside a section, unknown keys. A key missing from a section leaves its field zero; a
// section that repeats an earlier name (letter case aside) adds to that entry.
PhoneBook ParsePhoneBook(const std::string& text);

// The entry of this name, compared without regard to letter case; null when there is none.
StoredEntry* FindStoredEntry(PhoneBook& book, const std::string& name);

// False when the file cannot be opened.
bool ReadPhoneBook(const std::string& path, PhoneBook* book);

// Replaces the file as a whole (see platform/file_replacement.h), creating its folder when
// missing. False when it cannot be written; the file is then unchanged.
bool WritePhoneBook(const std::string& path, const PhoneBook& book);
