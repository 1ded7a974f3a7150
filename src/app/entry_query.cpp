// The entry query: the record grows to the size the service asks for, and never shrinks.
#include "app/entry_query.h"

#include <utility>

#include "ras/ras_library.h"

uint32_t CEntryQuery::Ask(const char* entryName) {
  if (size_ > capacity_) {
    if (RecordPointer larger{static_cast<RASENTRYA*>(std::calloc(1, size_))}) {
      grown_ = std::move(larger);
      capacity_ = size_;
    } else {
      size_ = capacity_;
    }
  }
  RASENTRYA* record = grown_ != nullptr ? grown_.get() : &first_;
  record->dwSize = size_;
  return g_rasLibrary.GetEntryProperties(entryName, record, &size_, nullptr, nullptr);
}

CStoredEntry ReadStoredEntry(CEntryQuery* query, const char* entryName) {
  CStoredEntry stored;
  stored.answer = query->Ask(entryName);
  if (stored.answer == 0) {
    stored.record = query->Record();
  }
  return stored;
}
