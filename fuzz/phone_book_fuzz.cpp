// The stand-in service's phone-book parser on arbitrary text. Every entry it makes holds a record
// of the right size whose text fields end inside their widths; and what it made survives being
// written and read again exactly: the same entries, in the same order, with the same names and
// the same records byte for byte.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "phone_book_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PhoneBook book = ParsePhoneBook(std::string(reinterpret_cast<const char*>(data), size));
  for (const StoredEntry& entry : book) {
    FUZZ_CHECK(entry.record.dwSize == kEntryRecordSize && TextFieldsEnd(entry.record, false));
  }
  const PhoneBook again = ParsePhoneBook(FormatPhoneBook(book));
  FUZZ_CHECK(again.size() == book.size());
  for (size_t i = 0; i < book.size(); ++i) {
    FUZZ_CHECK(again[i].name == book[i].name);
    FUZZ_CHECK(std::memcmp(&again[i].record, &book[i].record, sizeof(RASENTRYA)) == 0);
  }
  return 0;
}
