// Storing an entry whose file sets keys that only the later entry records carry. Such an entry is
// stored with the longest record the service takes: each layout is tried, longest first, and one
// the service answers 632 for (a size it does not know) gives way to the next shorter one. The
// fields beyond the 1768 bytes are the service's own answer at that size (the entry's, or for a
// new entry the default it gives), with the file's keys written over them; a file without such
// keys never comes here, and stores exactly the 1768-byte record.
#pragma once

#include <cstdint>
#include <string>

#include "entry/entry_layouts.h"
#include "entry/later_keys.h"
#include "platform/result_codes.h"

// What the service keeps under a name at the longest size it takes.
struct CLongEntry {
  uint32_t answer = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;  // about the entry's own name
  const EntryLayout* layout = &kEntryLayouts[std::size(kEntryLayouts) - 1];
  LongEntryRecord record = {};  // the entry, or a new entry's default, up to layout->size

  const LongEntryRecord* Stored() const { return answer == 0 ? &record : nullptr; }
};

// Asks the service about `entryName` from the longest layout down.
CLongEntry ReadLongEntry(const char* entryName);

// The record a store writes: `known`'s fields, the device-assigned `base`, then the file's keys.
// A new entry, or one whose kind the service left open, gets the kind of its device: VPN or phone.
LongEntryRecord MergedEntry(const CLongEntry& known, const RASENTRYA& base, const CLaterKeys& keys,
                            bool vpn);

// Why the Windows whose service answered with `layout` cannot carry what `merged` asks for:
// "VpnStrategy=Ikev2Only needs Windows 7 ...", naming the key and the Windows it needs; empty when
// it can. A key with a value the tool does not know is named the same way. The system's version
// is asked only where the layout cannot tell.
std::string LaterKeyNotCarried(const CLaterKeys& keys, const LongEntryRecord& merged,
                               const EntryLayout& layout);

// Stores `merged` at `known`'s layout, and on 632 at each shorter one that still carries the
// file's keys (`notCarried` says why one does not, and nothing is stored). The service's code.
uint32_t StoreLongEntry(const char* entryName, const CLaterKeys& keys, LongEntryRecord merged,
                        const CLongEntry& known, std::string* notCarried);
