// Reading and writing the stand-in service's phone book: one section per entry, its fields as
// common/entry_fields.h writes them.
#include "phone_book_file.h"

#include <string_view>

#include "base/text.h"
#include "entry_fields.h"
#include "platform/directories.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"
#include "service_files.h"

namespace {

StoredEntry NewEntry(const std::string& name) {
  StoredEntry entry{name, {}};
  entry.record.dwSize = kEntryRecordSize;
  return entry;
}

}  // namespace

LongEntryRecord StoredEntry::Whole() const {
  LongEntryRecord whole = later;
  whole.base = record;
  return whole;
}

void StoredEntry::Keep(const LongEntryRecord& whole) {
  later = whole;
  later.base = {};
  record = whole.base;
}

std::string FormatPhoneBook(const PhoneBook& book) {
  std::string text = "; Phone book of the stand-in Remote Access Service: one section per entry.\n";
  text.reserve(text.size() + book.size() * 1024);
  for (const StoredEntry& entry : book) {
    text.append("\n[");
    AppendEscapedStoredText(text, entry.name);
    text.append("]\n");
    AppendStoredRecord(text, entry.record, "");
    AppendLaterStoredFields(text, entry.later, "");
  }
  return text;
}

PhoneBook ParsePhoneBook(const std::string& text) {
  PhoneBook book;
  StoredEntry* current = nullptr;
  size_t nextField = 0;
  for (std::string_view line : TextLines(text)) {
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    line = TrimStoredBlanks(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') {
      continue;
    }
    if (line[0] == '[') {
      current = nullptr;
      if (line.back() != ']' || line.size() < 2) {
        continue;
      }
      const std::string name = UnescapeStoredText(std::string(line.substr(1, line.size() - 2)));
      current = FindStoredEntry(book, name);
      if (current == nullptr) {
        book.push_back(NewEntry(name));
        current = &book.back();
      }
      continue;
    }
    // The phone book lists the fields in their order, so the search starts at the field after
    // the last one found.
    if (current != nullptr && !ReadLaterStoredLine(&current->later, line)) {
      ReadStoredLine(&current->record, line, &nextField);
    }
  }
  return book;
}

StoredEntry* FindStoredEntry(PhoneBook& book, const std::string& name) {
  for (StoredEntry& entry : book) {
    if (TextEqualsIgnoringCase(entry.name.c_str(), name.c_str())) {
      return &entry;
    }
  }
  return nullptr;
}

bool ReadPhoneBook(const std::string& path, PhoneBook* book) {
  std::string text;
  if (!ReadServiceFile(path, &text)) {
    return false;
  }
  *book = ParsePhoneBook(text);
  return true;
}

bool WritePhoneBook(const std::string& path, const PhoneBook& book) {
  // The folder is made only when it is missing: taking the path apart costs more than the rest.
  size_t folderEnd = path.size();
  while (folderEnd > 0 && !IsPathSeparator(path[folderEnd - 1])) {
    --folderEnd;
  }
  // A folder that cannot be made shows as the file that cannot be written.
  if (folderEnd > 0 && !PathExists(path.substr(0, folderEnd).c_str())) {
    MakeDirectories(path.substr(0, folderEnd - 1));
  }
  return ReplaceFileContents(path.c_str(), FormatPhoneBook(book));
}
