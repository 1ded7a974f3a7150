// Taking the text of a profile file apart into lines, exactly as the platform's profile functions
// read it: the POSIX build's profile component reads and edits files by these lines, and
// dialkit-check names the line of each section and key by them, so that both read one grammar.
//
// How the platform reads a profile file, found by observation:
// - A line ends at a carriage return, a line feed, or the pair; runs of them make blank lines,
//   which count for nothing. Blanks (see IsProfileBlank) around a line are ignored.
// - A line that starts with '[' and holds a ']' is a section header; the name lies between the
//   '[' and the last ']' on the line, blanks trimmed. A '[' line without ']' is an ordinary line.
// - Any other line is a key: the name up to the first '=', the value after it, both trimmed. A
//   line without '=' is a key without a value. Lines starting with ';' are keys too: the key and
//   section listings skip them, but a lookup of a key spelled with the ';' finds them.
// - A key with an empty name is dropped when the key before it in the same section also had an
//   empty name.
// - Lines before the first header form a section with the empty name.
// - Names are compared without regard to the letter case of ASCII letters; every other byte is
//   compared as it is. Where a name occurs twice, the first occurrence counts.
// A leading UTF-8 byte order mark is skipped; all other bytes are taken as they are.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/profile_names.h"

// The UTF-8 byte order mark, which the platform skips at the start of a file.
inline constexpr std::string_view kProfileByteOrderMark = "\xEF\xBB\xBF";

// One line of the file; offsets count from the start of the file.
struct CProfileLine {
  enum Kind { kNothing, kSection, kKey };
  Kind kind = kNothing;    // kNothing: blank, or a dropped key
  size_t begin = 0;        // its first byte
  size_t contentEnd = 0;   // its line end, or the end of the file
  size_t end = 0;          // the next line's first byte
  std::string_view name;   // section or key name
  bool hasValue = false;   // a key line with an equals sign
  std::string_view value;  // a key's value
  size_t valueBegin = 0;   // where a key's value starts, or would start
  size_t nameEnd = 0;      // just past a key's name
  bool IsComment() const { return kind == kKey && !name.empty() && name[0] == ';'; }
};

// A line of its own, `text` without a line end, read as a file's line would be.
CProfileLine ReadProfileLine(std::string_view text);

// Where the first line of `bytes` starts: past a byte order mark.
size_t FirstProfileLine(std::string_view bytes);

// Takes the lines of `bytes` apart in file order, from `position` (the start of a line) to the
// end, and marks the keys that the file drops as kNothing. A section starts with no key before
// it, so a reader may start at any section's first line.
class CProfileLineReader {
 public:
  CProfileLineReader(std::string_view bytes, size_t position);
  // The next line; false at the end of the bytes.
  bool Next(CProfileLine& line);
  // The next section header, passing over the lines before it; false at the end of the bytes.
  bool NextHeader(CProfileLine& header);

 private:
  // The bounds of the line at the position, which moves on to the next line.
  void TakeLine(CProfileLine& line);

  std::string_view bytes_;
  size_t position_;
  size_t nextFeed_;    // the first line feed at or after the last line's start, or the end
  size_t nextReturn_;  // the same for carriage returns
  bool afterUnnamedKey_ = false;  // the section's last key so far has an empty name
};
