// The keys of an entry description that only the later, longer entry records carry (the tunnel
// strategy, the encryption requirement, the DNS suffix, ...: kLaterRecordFields). Unlike
// RASENTRYA's keys, which always give the record a value, these count only where the file sets
// them: the rest of a later record is the service's own, so a file without them stores exactly
// the 1768-byte record, and one with them changes only what it names.
#pragma once

#include <cstddef>
#include <string>

#include "entry/entry_layouts.h"
#include "entry/record_fields.h"

inline constexpr size_t kLaterKeyCount = kLaterRecordFields.size();

struct CLaterKeys {
  LongEntryRecord values = {};    // each set key's value in its field; the rest zero
  bool set[kLaterKeyCount] = {};  // by the keys' order in kLaterRecordFields
  // The first key whose value is no value of the key (a word it does not know, a number that is
  // none), and that value; null when every value was understood.
  const RecordField* unknown = nullptr;
  std::string unknownValue;

  bool Any() const;
  bool IsSet(const RecordField& key) const;
};

// The later keys of `section` (null: "RasEntry") of the file at `entryFilePath`, read through the
// profile component. A word is compared without regard to letter case; a text is cut to its field.
CLaterKeys ReadLaterEntryKeys(const char* entryFilePath, const char* section);

// The value of a choice or flag key named by `word` into *value; false for a word it does not
// know. A flag's words are 0 and 1, and its value the bit or 0.
bool LaterKeyValue(const RecordField& key, const std::string& word, DWORD* value);

// Writes the set keys over `record`, which the service gave at `size` bytes and which must hold
// them. The file's UsePreSharedKey names the bit of the tunnel the strategy uses: IKEv2's where
// the strategy is IKEv2 only or first, else L2TP's. EncryptionType, where set, wins over the
// Options word RequireDataEncryption: that bit is made to agree with it, so that the two fields
// never say different things.
void ApplyLaterKeys(const CLaterKeys& keys, LongEntryRecord* record);
// The part of ApplyLaterKeys that falls in RASENTRYA: RequireDataEncryption made to agree.
void AgreeBaseOptions(const CLaterKeys& keys, RASENTRYA* record);

// Whether the strategy's tunnel is IKEv2, alone or first.
bool UsesIkev2(DWORD strategy);
