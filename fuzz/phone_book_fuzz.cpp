// The stand-in service's phone-book parser on arbitrary text. Every entry it makes holds a record
// of the right size whose text fields end inside their widths; and what it made survives being
// written and read again exactly: the same entries, in the same order, with the same names and
// the same records byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "phone_book_file.h"

namespace {

template <size_t Width>
bool IsTerminated(const char (&field)[Width]) {
  return std::memchr(field, '\0', Width) != nullptr;
}

void CheckEntry(const StoredEntry& entry) {
  const RASENTRYA& record = entry.record;
  FUZZ_CHECK(record.dwSize == kEntryRecordSize);
  FUZZ_CHECK(IsTerminated(record.szAreaCode) && IsTerminated(record.szLocalPhoneNumber) &&
             IsTerminated(record.szScript) && IsTerminated(record.szAutodialDll) &&
             IsTerminated(record.szAutodialFunc) && IsTerminated(record.szDeviceType) &&
             IsTerminated(record.szDeviceName) && IsTerminated(record.szX25PadType) &&
             IsTerminated(record.szX25Address) && IsTerminated(record.szX25Facilities) &&
             IsTerminated(record.szX25UserData));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PhoneBook book = ParsePhoneBook(std::string(reinterpret_cast<const char*>(data), size));
  for (const StoredEntry& entry : book) {
    CheckEntry(entry);
  }

  const PhoneBook again = ParsePhoneBook(FormatPhoneBook(book));
  FUZZ_CHECK(again.size() == book.size());
  for (size_t i = 0; i < book.size(); ++i) {
    FUZZ_CHECK(again[i].name == book[i].name);
    FUZZ_CHECK(std::memcmp(&again[i].record, &book[i].record, sizeof(RASENTRYA)) == 0);
  }
  return 0;
}
