// The comparison of a stored entry with the one a run would store.
#include "app/entry_comparison.h"

#include <cstring>
#include <utility>

#include "base/text.h"
#include "entry/entry_reader.h"

namespace {

// The device's fields as the keys of the file's table, so that one value text serves all.
constexpr EntryKey kDeviceKeys[] = {
    {"DeviceType",
     "szDeviceType",
     EntryKeyKind::kText,
     offsetof(RASENTRYA, szDeviceType),
     sizeof(RASENTRYA::szDeviceType),
     "",
     0,
     {}},
    {"DeviceName",
     "szDeviceName",
     EntryKeyKind::kText,
     offsetof(RASENTRYA, szDeviceName),
     sizeof(RASENTRYA::szDeviceName),
     "",
     0,
     {}},
};

// The value of `key` in `record` as a file would give it: an integer in decimal, an address
// dotted, a keyword list as the names of its bits (in the table's order, separated by blanks;
// bits without a name are no value of the file's and are left out), a text as it stands.
std::string EntryValueText(const RASENTRYA& record, const EntryKey& key) {
  switch (key.kind) {
    case EntryKeyKind::kText:
      return std::string(TextOf(record, key));
    case EntryKeyKind::kAddress:
      return DottedOf(record, key);
    case EntryKeyKind::kInteger:
      return std::to_string(DwordOf(record, key));
    case EntryKeyKind::kKeywords:
      break;
  }
  std::string names;
  for (const BitName& keyword : key.keywords) {
    if ((DwordOf(record, key) & keyword.bit) != 0) {
      names.append(names.empty() ? "" : " ").append(keyword.name);
    }
  }
  return names;
}

// True when what the service keeps counts as what the file asks for (see the header).
bool IsEqual(const EntryKey& key, const std::string& stored, const std::string& wanted) {
  if (stored == wanted) {
    return true;
  }
  if (std::strcmp(key.name, "CountryCode") == 0) {
    return wanted == "0";
  }
  return key.offset == offsetof(RASENTRYA, szDeviceType) && TextEqualsIgnoringCase(stored, wanted);
}

void CompareKey(const EntryKey& key, const RASENTRYA* stored, const RASENTRYA* wanted,
                CEntryChanges* changes) {
  std::optional<std::string> before;
  std::optional<std::string> after;
  if (stored != nullptr) {
    before = EntryValueText(*stored, key);
  }
  if (wanted != nullptr) {
    after = EntryValueText(*wanted, key);
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
  for (const EntryKey& key : kDeviceKeys) {
    CompareKey(key, stored, wanted, &changes);
  }
  return changes;
}
