// The two forms of dialkit-check's report, which carry the same facts: the text form (one finding
// per line in the form that editors and build systems jump from, FILE:LINE: severity: message
// [code], then the records) and one JSON document. Text from the file is escaped in both, so that
// it cannot send commands to a terminal: in the text form every byte outside printable ASCII is
// shown as \xNN; in JSON, control characters are \u escapes and a byte above 127 is the character
// of the same number (\u0080 to \u00ff), the file's code page being unknown.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "findings.h"

// Writes the parts one after another. The programs write through this rather than the printf
// family, which on Windows would bring the compiler runtime's own printf into the program.
void Put(std::FILE* out, std::initializer_list<std::string_view> parts);

void WriteTextReport(std::FILE* out, const char* file, const CEntryFileCheck& check);
void WriteJsonReport(std::FILE* out, const char* file, const CEntryFileCheck& check);
