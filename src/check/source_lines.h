// Where the sections and keys of a profile file stand, by line number. The profile functions tell
// what a file holds but not where; this is the one thing dialkit-check reads from the file itself,
// and it reads it by the profile functions' own rules, so that the line it names is the line
// they read. A file that begins with a UTF-16 byte-order mark is UTF-16 text, taken as the
// functions take it for the A functions (platform/profile_encoding.h); its lines are taken apart
// by the reader of the POSIX profile functions (platform/profile_lines.h).
// Everything else (which key or section counts, values, comments) comes from the profile
// functions themselves: the lines are found for the names they list, in their order, with one
// walk through the file. A name the walk cannot match to a line has the line kLineNotFound, and
// a file whose lines the system reads by other rules than these gives no wrong line, only fewer.
//
// What is kept: the file's text and, for each section header, its line and where its lines
// begin; nothing for each key line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The line of a name that the profile functions list but the walk through the file cannot find.
inline constexpr int kLineNotFound = -1;

class CSourceLines {
 public:
  explicit CSourceLines(std::string_view file);
  // The headers hold views into the object's own text, which a copy or a move would leave behind.
  CSourceLines(const CSourceLines&) = delete;
  CSourceLines& operator=(const CSourceLines&) = delete;

  // The lines of the section headers named in `sections`, the names of the file's sections as
  // the profile functions list them (in file order, the unnamed section left out).
  std::vector<int> SectionLines(const std::vector<std::string_view>& sections) const;

  // The lines of the keys named in `keys`, the keys of the first section named `section` as the
  // profile functions list them (in file order, comments left out).
  std::vector<int> KeyLines(std::string_view section,
                            const std::vector<std::string_view>& keys) const;

 private:
  struct CHeader {
    int line;
    size_t begin;  // where the line after the header begins
    std::string_view name;
  };

  std::string text_;  // the file's text, which the names are views into
  std::vector<CHeader> headers_;
};
