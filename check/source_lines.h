// Where the sections and keys of a profile file stand, by line number. The profile functions tell
// what a file holds but not where; this is the one thing dialkit-check reads from the file itself,
// and it reads it by the profile functions' own rules, so that the line it names is the line
// they read:
// - a file that begins with a UTF-16 byte-order mark is UTF-16 text, taken as the functions take
//   it for the A functions (platform/profile_encoding.h); any other byte-order mark at the start
//   is skipped;
// - a line ends at a carriage return, a line feed, or the pair;
// - blanks (tab to carriage return, the DOS end-of-file mark, space) around a line and around a
//   name do not count;
// - a line that starts with '[' and holds a ']' is a section header, named by what lies between
//   the '[' and the last ']'; any other line that is not blank is a key, named by what lies before
//   its first '=' (the whole line when it has none); a zero byte ends a name;
// - names are compared without regard to the letter case of ASCII letters.
// Everything else (which key or section counts, values, comments) comes from the profile
// functions themselves.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CSourceLines {
 public:
  explicit CSourceLines(std::string_view file);

  int LineCount() const { return lineCount_; }

  // The line of the header of the `n`th section (from 0) named `section`; 0 when there is none.
  int SectionLine(std::string_view section, size_t n) const;

  // The line of the `n`th key (from 0) named `key` in the first section named `section`; 0 when
  // there is none.
  int KeyLine(std::string_view section, std::string_view key, size_t n) const;

 private:
  struct CNamedLine {
    int line;
    bool header;
    std::string_view name;
  };
  std::string text_;  // the file's text, which the names are views into
  std::vector<CNamedLine> named_;
  int lineCount_ = 0;
};
