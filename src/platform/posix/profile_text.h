// The text of one profile file as the platform's profile functions see it, and the edits that
// the POSIX build makes to it. The file is taken apart into lines exactly as Windows reads it,
// but every edit works on the bytes themselves: a change touches the one line it concerns (or
// adds lines), and every other byte of the file, comments, blank lines, order, line ends and the
// spelling of names, stays as the person left it.
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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_names.h"

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

struct CProfileSection {
  static constexpr size_t kNoHeader = static_cast<size_t>(-1);
  std::string_view name;      // empty for the lines before the first header
  size_t header = kNoHeader;  // index of the header line
  size_t endLine = 0;         // index of the next section's header, or the number of lines
  std::vector<size_t> keys;   // indexes of its key lines, in file order
};

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

class CProfileText {
 public:
  explicit CProfileText(std::string bytes);
  // Names and values point into the text, which therefore stays where it was built.
  CProfileText(const CProfileText&) = delete;
  CProfileText& operator=(const CProfileText&) = delete;

  const std::string& Bytes() const { return bytes_; }
  const CProfileLine& Line(size_t index) const { return lines_[index]; }
  // Never empty: the first section is the one before the first header.
  const std::vector<CProfileSection>& Sections() const { return sections_; }

  // The first section, or the first key of `section`, with this name; null when there is none.
  const CProfileSection* FindSection(std::string_view name) const;
  const CProfileLine* FindKey(const CProfileSection& section, std::string_view name) const;

  // The whole text after an edit; the text itself does not change. SetValue takes names that
  // were already trimmed: it changes the value of the key in place (keeping the spelling of the
  // line before the value), adds a missing key after the last key of its section that is not a
  // comment, and a missing section at the end. New lines end the way the neighbouring line ends.
  // Nothing when the key, value or section name would not read back as given (a line break, or
  // brackets that turn the line into a header): such a write would corrupt the file.
  std::optional<std::string> SetValue(std::string_view section, std::string_view key,
                                      std::string_view value) const;
  // Removes the first line of a key `key` in any section `section`; unchanged when there is none.
  std::string DeleteKey(std::string_view section, std::string_view key) const;
  // Removes the first section `section`: its header and all lines up to the next header.
  std::string DeleteSection(std::string_view section) const;

 private:
  // The line end for a new line next to line `index`: its own, else the file's first, else CR LF.
  std::string_view LineEndNear(size_t index) const;

  std::string bytes_;
  size_t firstLineBegin_ = 0;  // past a byte order mark
  std::vector<CProfileLine> lines_;
  std::vector<CProfileSection> sections_;
};
