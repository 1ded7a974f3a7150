// How a service answers in the platform's manner where the answer does not depend on the
// service: which entry names it takes, the record of a new entry, the text of a result code, and
// a list of records copied into the caller's array.
#pragma once

#include <cstring>
#include <vector>

#include "entry/entry_layouts.h"
#include "entry/entry_record.h"
#include "platform/result_codes.h"
#include "platform_types.h"

// The platform's rules for entry names: one to 256 characters, not beginning with a full stop,
// none of | > < ? * \ / : and no control characters, and at least one letter or digit (every
// character of the upper half of the code page counts as one).
bool IsPlatformEntryName(const char* name);

// The record a service answers for the empty entry name: an entry with the defaults of a new one,
// so a caller can learn the record size and start from sensible values.
RASENTRYA DefaultEntryRecord();

// RasGetEntryPropertiesA's answer once the record `found` is known: its first `layoutSize` bytes
// (the size the caller's record says, a size the service takes) into the caller's record, or the
// size needed and 603 when it is missing or too small; no device-specific data. With
// `withAlternates`, an empty list of alternate numbers follows the record, as the platform's
// entries with alternate numbers have their list there.
DWORD AnswerEntryRecord(const LongEntryRecord& found, DWORD layoutSize, bool withAlternates,
                        RASENTRYA* entry, DWORD* entrySize, DWORD* deviceInfoSize);

// RasGetErrorStringA's answer: the text of `code` into the caller's buffer.
DWORD AnswerErrorString(UINT code, char* buffer, DWORD size);

// RasEnumDevicesA's and RasEnumEntriesA's answer: the records into the caller's array of `*size`
// bytes, or, when it is missing or too small, the size needed and 603; the count either way.
template <typename Record>
DWORD AnswerRecords(const std::vector<Record>& records, Record* array, DWORD* size, DWORD* count) {
  const DWORD needed = static_cast<DWORD>(records.size() * sizeof(Record));
  *count = static_cast<DWORD>(records.size());
  if (needed > 0 && (array == nullptr || *size < needed)) {
    *size = needed;
    return ERROR_BUFFER_TOO_SMALL;
  }
  if (needed > 0) {
    std::memcpy(array, records.data(), needed);
  }
  *size = needed;
  return 0;
}
