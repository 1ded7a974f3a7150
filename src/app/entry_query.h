// Asking the service what it keeps under a name, as both runs do before they write: the answer
// decides whether an entry is new, equal, to be overwritten or to be removed.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "entry/entry_record.h"
#include "platform/result_codes.h"

// The run's query record and query size. An answer may report that an entry needs more than the
// record's 1768 bytes, and the next query passes that size on; the record then grows to it, so
// that no answer is ever written past its end. The first record needs no allocation, so that a
// query is always asked: a run short of memory must not take "no answer" for "no such entry" and
// replace an entry without the question.
class CEntryQuery {
 public:
  // The service's answer, asked with the record's size field set to the query size as the last
  // query left it, or, when a larger record cannot be had, to the size of the one there is.
  uint32_t Ask(const char* entryName);
  // The record of the last answer that was 0: what the service keeps under the name.
  const RASENTRYA& Record() const { return grown_ != nullptr ? *grown_ : first_; }

 private:
  struct Free {
    void operator()(RASENTRYA* record) const { std::free(record); }
  };
  using RecordPointer = std::unique_ptr<RASENTRYA, Free>;

  RASENTRYA first_ = {};
  RecordPointer grown_;
  DWORD capacity_ = kEntryRecordSize;
  DWORD size_ = kEntryRecordSize;
};

// What the service answered about one name: its entry, none (623), or an answer that tells
// neither, which counts as an entry that differs from any other, so that it is never taken for
// an equal one or for none.
struct CStoredEntry {
  uint32_t answer = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  RASENTRYA record = {};

  bool Absent() const { return answer == ERROR_CANNOT_FIND_PHONEBOOK_ENTRY; }
  // The record, when the service gave one; null otherwise.
  const RASENTRYA* Read() const { return answer == 0 ? &record : nullptr; }
};

// Asks `query` about `entryName` and keeps the answer.
CStoredEntry ReadStoredEntry(CEntryQuery* query, const char* entryName);
