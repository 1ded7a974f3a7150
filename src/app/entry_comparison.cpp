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
    before = FieldValueText(reinterpret_cast<const char*>(stored), key);
  }
  if (wanted != nullptr) {
    after = FieldValueText(reinterpret_cast<const char*>(wanted), key);
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
