// The comparison of a stored entry with the one a run would store.
#include "app/entry_comparison.h"

#include <cstring>
#include <utility>

#include "base/text.h"
#include "entry/entry_reader.h"

namespace {

// The device's fields beside the file's keys, so that one value text serves all.
constexpr const RecordField* kDeviceFields[] = {&FieldNamed("szDeviceType"),
                                                &FieldNamed("szDeviceName")};

// The value of `key` in `record` as a file would give it: an integer in decimal, an address
// dotted, a keyword list as the names of its bits (in the table's order, separated by blanks;
// bits without a name are no value of the file's and are left out), a text as it stands.
std::string EntryValueText(const RASENTRYA& record, const RecordField& key) {
  switch (key.kind) {
    case FieldKind::kText:
      return std::string(TextOf(record, key));
    case FieldKind::kAddress:
      return DottedOf(record, key);
    case FieldKind::kNumber:
      return std::to_string(DwordOf(record, key));
    case FieldKind::kBits:
      break;
  }
  std::string names;
  for (const BitName& keyword : key.bitNames) {
    if ((DwordOf(record, key) & keyword.bit) != 0) {
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

void CompareKey(const RecordField& key, const RASENTRYA* stored, const RASENTRYA* wanted,
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
  for (const RecordField* field : kDeviceFields) {
    CompareKey(*field, stored, wanted, &changes);
  }
  return changes;
}
