// What storing an entry changes in what the service keeps under its name, key by key, in the
// words of the entry description file: its 24 keys, and the device's two under the settings
// file's names, DeviceType and DeviceName. Values are texts as a file would give them (numbers in
// decimal, addresses dotted, keyword lists as their keywords), so that a program reading the
// run's report sees what a person wrote.
//
// Equal means equal as far as the file decides. A service may fill in or normalise what the file
// leaves to it, and such a field must not make every run a change: a CountryCode of 0 asks the
// service for the code of the CountryID, so whatever it keeps there is equal; a device type is
// compared without regard to letter case, since services spell their types their own way
// ("modem", "MODEM"); Options, NetProtocols and FramingProtocol compare only the bits that have
// names, the only ones a file can set. docs/run-report.md lists every key's rule.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "entry/entry_record.h"
#include "entry/later_keys.h"

struct CEntryChange {
  const char* key;
  std::optional<std::string> before;  // none: there was no entry, or it could not be read
  std::optional<std::string> after;   // none: the entry goes
};

using CEntryChanges = std::vector<CEntryChange>;

// The keys whose values differ between `stored` and `wanted`, in the file's order, the device's
// two last. A null record has no values: every key then counts as changed (a new entry, an entry
// that could not be read back, an entry removed). Nothing for two null records.
CEntryChanges CompareEntryRecords(const RASENTRYA* stored, const RASENTRYA* wanted);

// Appends the changes of the later keys that the file sets, the only ones it decides: `stored` is
// what the service keeps at the longest size it takes (null: no entry, or none read), `wanted`
// the record that would be stored.
void CompareLaterKeys(const CLaterKeys& keys, const LongEntryRecord* stored,
                      const LongEntryRecord& wanted, CEntryChanges* changes);
