// An entry record as text, both ways, from the table of its fields.
#include "entry_fields.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <span>

#include "base/text.h"
#include "entry/record_fields.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr const char* kWordSeparators = " \t,|";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

DWORD ReadNumber(const std::string& text, int base) {
  return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, base));
}

void AppendBits(std::string& text, DWORD value, std::span<const BitName> names) {
  const size_t start = text.size();
  for (const BitName& name : names) {
    if ((value & name.bit) != 0) {
      text.append(text.size() == start ? "" : " ").append(name.name);
      value &= ~name.bit;
    }
  }
  if (value != 0) {
    text.append(text.size() == start ? "0x" : " 0x");
    for (int shift = 28; shift >= 0; shift -= 4) {
      text += kHexDigits[(value >> shift) & 0xF];
    }
  }
}

// Words separated by blanks, commas or bars. Names compared without regard to letter case;
// numbers (decimal or 0x...) add their bits; anything else is passed over.
DWORD ParseBits(std::string_view text, std::span<const BitName> names) {
  DWORD value = 0;
  size_t begin = 0;
  while ((begin = text.find_first_not_of(kWordSeparators, begin)) != std::string_view::npos) {
    const size_t end = std::min(text.find_first_of(kWordSeparators, begin), text.size());
    const std::string_view word = text.substr(begin, end - begin);
    begin = end;
    if (word[0] >= '0' && word[0] <= '9') {
      value |= ReadNumber(std::string(word), 0);
      continue;
    }
    // A word is compared as a C text, and only with the names that start with its letter.
    const std::string_view named = word.substr(0, word.find('\0'));
    for (const BitName& name : names) {
      if (!named.empty() && FoldLetterCase(name.name[0]) == FoldLetterCase(named[0]) &&
          TextEqualsIgnoringCase(named, name.name)) {
        value |= name.bit;
      }
    }
  }
  return value;
}

// Up to four parts; a missing or out-of-range part gives 0.
RASIPADDR ParseAddress(const std::string& text) {
  BYTE parts[4] = {};
  std::string_view rest = text;
  for (BYTE& value : parts) {
    const size_t end = std::min(rest.find('.'), rest.size());
    const DWORD number = ReadNumber(std::string(rest.substr(0, end)), 10);
    value = number <= 255 ? static_cast<BYTE>(number) : 0;
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return RASIPADDR{parts[0], parts[1], parts[2], parts[3]};
}

// A choice by its name; a value without one in decimal.
void AppendChoice(std::string& text, DWORD value, std::span<const BitName> names) {
  for (const BitName& name : names) {
    if (name.bit == value) {
      text.append(name.name);
      return;
    }
  }
  text.append(std::to_string(value));
}

DWORD ParseChoice(std::string_view text, std::span<const BitName> names) {
  for (const BitName& name : names) {
    if (TextEqualsIgnoringCase(text, name.name)) {
      return name.bit;
    }
  }
  return ReadNumber(std::string(text), 10);
}

// The field at its offset in `record`, the bytes of a RASENTRYA or of a LongEntryRecord.
void AppendField(std::string& text, const char* record, const RecordField& field) {
  const char* place = record + field.offset;
  switch (field.kind) {
    case FieldKind::kNumber:
      text.append(std::to_string(DwordAt(place)));
      return;
    case FieldKind::kBits:
    case FieldKind::kFlag:
      AppendBits(text, DwordAt(place), field.bitNames);
      return;
    case FieldKind::kChoice:
      AppendChoice(text, DwordAt(place), field.bitNames);
      return;
    case FieldKind::kAddress: {
      RASIPADDR address;
      std::memcpy(&address, place, sizeof address);
      text.append(DottedAddress(address));
      return;
    }
    case FieldKind::kText:
      AppendEscapedStoredText(text, FieldText(place, field.width));
      return;
  }
}

void ParseField(char* record, const RecordField& field, std::string_view value) {
  char* place = record + field.offset;
  DWORD number = 0;
  RASIPADDR address = {};
  switch (field.kind) {
    case FieldKind::kNumber:
      number = ReadNumber(std::string(value), 10);
      std::memcpy(place, &number, sizeof number);
      return;
    case FieldKind::kBits:
    case FieldKind::kFlag:
      number = ParseBits(value, field.bitNames);
      std::memcpy(place, &number, sizeof number);
      return;
    case FieldKind::kChoice:
      number = ParseChoice(value, field.bitNames);
      std::memcpy(place, &number, sizeof number);
      return;
    case FieldKind::kAddress:
      address = ParseAddress(std::string(value));
      std::memcpy(place, &address, sizeof address);
      return;
    case FieldKind::kText:
      // Most texts hold no escape, and are copied as they stand (up to a zero, as a C text).
      if (value.find('%') == std::string_view::npos) {
        CopyText(place, field.width, value.data(), value.size());
      } else {
        CopyText(place, field.width, UnescapeStoredText(std::string(value)).c_str());
      }
      return;
  }
}

bool IsZeroField(const char* record, const RecordField& field) {
  const char* place = record + field.offset;
  return std::all_of(place, place + field.width, [](char c) { return c == 0; });
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

}  // namespace

void AppendStoredRecord(std::string& text, const RASENTRYA& record, std::string_view linePrefix) {
  for (const RecordField& field : kRecordFields) {
    text.append(linePrefix).append(field.storedName).append("=");
    AppendField(text, reinterpret_cast<const char*>(&record), field);
    text.append("\n");
  }
}

void AppendLaterStoredFields(std::string& text, const LongEntryRecord& record,
                             std::string_view linePrefix) {
  const char* bytes = reinterpret_cast<const char*>(&record);
  for (const RecordField& field : kLaterRecordFields) {
    if (!IsZeroField(bytes, field)) {
      text.append(linePrefix).append(field.storedName).append("=");
      AppendField(text, bytes, field);
      text.append("\n");
    }
  }
}

bool ReadLaterStoredLine(LongEntryRecord* record, std::string_view line) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    return false;
  }
  const std::string_view key = TrimStoredBlanks(line.substr(0, equals));
  for (const RecordField& field : kLaterRecordFields) {
    if (TextEqualsIgnoringCase(key, field.storedName)) {
      ParseField(reinterpret_cast<char*>(record), field, TrimStoredBlanks(line.substr(equals + 1)));
      return true;
    }
  }
  return false;
}

void ReadStoredLine(RASENTRYA* record, std::string_view line, size_t* next) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    return;
  }
  // Keys are compared as C texts.
  std::string_view key = TrimStoredBlanks(line.substr(0, equals));
  key = key.substr(0, key.find('\0'));
  constexpr size_t kFieldCount = std::size(kRecordFields);
  for (size_t tried = 0, field = *next % kFieldCount; tried < kFieldCount;
       ++tried, field = (field + 1) % kFieldCount) {
    if (TextEqualsIgnoringCase(key, kRecordFields[field].storedName)) {
      ParseField(reinterpret_cast<char*>(record), kRecordFields[field],
                 TrimStoredBlanks(line.substr(equals + 1)));
      *next = field + 1;
      return;
    }
  }
}

void AppendEscapedStoredText(std::string& escaped, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool atEnd = i == 0 || i + 1 == text.size();
    if (byte == '%' || byte < 0x20 || byte == 0x7F || (atEnd && IsBlank(text[i]))) {
      escaped += '%';
      escaped += kHexDigits[byte >> 4];
      escaped += kHexDigits[byte & 0xF];
    } else {
      escaped += text[i];
    }
  }
}

std::string EscapeStoredText(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendEscapedStoredText(escaped, text);
  return escaped;
}

std::string UnescapeStoredText(const std::string& text) {
  std::string plain;
  plain.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
        HexDigit(text[i + 2]) >= 0) {
      plain += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

std::string_view TrimStoredBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}
