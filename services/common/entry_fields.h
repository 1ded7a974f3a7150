// An entry record as text: every field of RASENTRYA but dwSize under a key of its own (Options,
// CountryID, ..., Reserved2, in the record's order), its value as text: numbers in decimal,
// addresses dotted, option, protocol and framing bits by their names (bits without a name as
// one hexadecimal number), texts with a per cent sign, control characters and blanks at their
// ends escaped as %HH, so that every value comes back exactly as stored. The stand-in service's
// phone book and the pppd service's peer files keep records so.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "entry/entry_record.h"

inline constexpr size_t kStoredFieldCount = 26;

// The key of field `field` (from 0, in the record's order).
const char* StoredFieldKey(size_t field);

// Appends the value of `field` of `record` as text.
void AppendStoredField(std::string& text, const RASENTRYA& record, size_t field);

// The field whose key is `key` (compared as a C text, letter case aside), searched from `hint`
// on, since records are written in the fields' order; kStoredFieldCount when there is none.
size_t FindStoredField(std::string_view key, size_t hint = 0);

// Sets `field` of `record` from its text (blanks around it aside). What cannot be read gives 0.
void ParseStoredField(RASENTRYA* record, size_t field, std::string_view value);

// `text` without the blanks (spaces and tabs) around it, as the services' files are read.
std::string_view TrimStoredBlanks(std::string_view text);

// The escape of names and values described above, and its inverse. A per cent sign that is not
// followed by two hexadecimal digits stands for itself, which forgives hand-made files.
std::string EscapeStoredText(const std::string& text);
// Appends the escape of `text` to `escaped`.
void AppendEscapedStoredText(std::string& escaped, std::string_view text);
std::string UnescapeStoredText(const std::string& text);
