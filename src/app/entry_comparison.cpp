// The comparison of a stored entry with the one a run would store.
#include "app/entry_comparison.h"

#include <cstring>
#include <utility>

#include "base/text.h"
#include "entry/entry_reader.h"
#include "entry/later_keys.h"

namespace {

// The device's fields beside the file's keys, so that one value text serves all.
constexpr const RecordField* kDeviceFields[] = {&FieldNamed("szDeviceType"),
                                                &FieldNamed("szDeviceName")};

DWORD DwordAt(const char* place) {
  DWORD value;
  std::memcpy(&value, place, sizeof value);
  return value;
}

// The value of `key` in `record` (the bytes of a RASENTRYA, or of a LongEntryRecord for a later
// key) as a file would give it: an integer in decimal, an address dotted, a keyword list as the
// names of its bits (in the table's order, separated by blanks; bits without a name are no value
// of the file's and are left out), a choice by its word, a flag as 0 or 1 (set by either
// pre-shared key bit, since the strategy picks the one), a text as it stands.
std::string EntryValueText(const char* record, const RecordField& key) {
  const char* place = record + key.offset;
  switch (key.kind) {
    case FieldKind::kText:
      return std::string(FieldText(place, key.width));
    case FieldKind::kAddress: {
      RASIPADDR address;
      std::memcpy(&address, place, sizeof address);
      return DottedAddress(address);
    }
    case FieldKind::kNumber:
      return std::to_string(DwordAt(place));
    case FieldKind::kFlag:
      return (DwordAt(place) &
              (RASEO2_UsePreSharedKey | RASEO2_UsePreSharedKeyForIkev2Initiator)) != 0
                 ? "1"
                 : "0";
    case FieldKind::kChoice:
      for (const BitName& name : key.bitNames) {
        if (name.bit == DwordAt(place)) {
          return name.name;
        }
      }
      return std::to_string(DwordAt(place));
    case FieldKind::kBits:
      break;
  }
  std::string names;
  for (const BitName& keyword : key.bitNames) {
    if ((DwordAt(place) & keyword.bit) != 0) {
      names.append(names.empty() ? "" : " ").append(keyword.name);
    }
  }
  return names;
}

// True when what the service keeps counts as what the file asks for (see the header).
bool IsEqual(const RecordField& key, const std::string& stored, const std::string& wanted) {
  if (stored == wanted) {
    return true;
  }
  if (std::strcmp(key.name, "CountryCode") == 0) {
    return wanted == "0";
  }
  return key.offset == offsetof(RASENTRYA, szDeviceType) && TextEqualsIgnoringCase(stored, wanted);
}

template <typename Record>
void CompareKey(const RecordField& key, const Record* stored, const Record* wanted,
                CEntryChanges* changes) {
  std::optional<std::string> before;
  std::optional<std::string> after;
  if (stored != nullptr) {
    before = EntryValueText(reinterpret_cast<const char*>(stored), key);
  }
  if (wanted != nullptr) {
    after = EntryValueText(reinterpret_cast<const char*>(wanted), key);
  }
  if (!before || !after || !IsEqual(key, *before, *after)) {
    changes->push_back({key.name, std::move(before), std::move(after)});
  }
}

}  // namespace

CEntryChanges CompareEntryRecords(const RASENTRYA* stored, const RASENTRYA* wanted) {
  CEntryChanges changes;
  if (stored == nullptr && wanted == nullptr) {
    return changes;
  }
  for (const EntryKey& key : kEntryKeys) {
    CompareKey(key, stored, wanted, &changes);
  }
  for (const RecordField* field : kDeviceFields) {
    CompareKey(*field, stored, wanted, &changes);
  }
  return changes;
}

void CompareLaterKeys(const CLaterKeys& keys, const LongEntryRecord* stored,
                      const LongEntryRecord& wanted, CEntryChanges* changes) {
  for (const RecordField& key : kLaterRecordFields) {
    if (keys.IsSet(key)) {
      CompareKey(key, stored, &wanted, changes);
    }
  }
}
