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

#include "entry/entry_layouts.h"
#include "entry/entry_record.h"

// Appends each field of `record` as a line of its own, in the record's order: `linePrefix`, the
// key, an equals sign, the value, a line feed.
void AppendStoredRecord(std::string& text, const RASENTRYA& record, std::string_view linePrefix);

// Appends the named fields of the later layouts (kLaterRecordFields) that are not zero, the same
// way: a record of 1768 bytes, whose later fields are all zero, adds no line.
void AppendLaterStoredFields(std::string& text, const LongEntryRecord& record,
                             std::string_view linePrefix);

// Sets the later field that a "Key=value" line names; false when it names none.
bool ReadLaterStoredLine(LongEntryRecord* record, std::string_view line);

// Sets the field that a "Key=value" line names (blanks around the key and the value aside, the
// key compared as a C text and without regard to letter case); a line without an equals sign or
// with a key of no field sets nothing. `next` is where the search for the key begins, since
// records are written in the fields' order; it is left past the field found.
void ReadStoredLine(RASENTRYA* record, std::string_view line, size_t* next);

// `text` without the blanks (spaces and tabs) around it, as the services' files are read.
std::string_view TrimStoredBlanks(std::string_view text);

// The escape of names and values described above, and its inverse. A per cent sign that is not
// followed by two hexadecimal digits stands for itself, which forgives hand-made files.
std::string EscapeStoredText(const std::string& text);
// Appends the escape of `text` to `escaped`.
void AppendEscapedStoredText(std::string& escaped, std::string_view text);
std::string UnescapeStoredText(const std::string& text);
