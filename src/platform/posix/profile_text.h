// The text of one profile file as the platform's profile functions see it, and the edits that
// the POSIX build makes to it. The file is taken apart into lines exactly as Windows reads it
// (platform/profile_lines.h), but every edit works on the bytes themselves: a change touches the
// one line it concerns (or adds lines), and every other byte of the file, comments, blank lines,
// order, line ends and the spelling of names, stays as the person left it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_lines.h"

struct CProfileSection {
  static constexpr size_t kNoHeader = static_cast<size_t>(-1);
  std::string_view name;      // empty for the lines before the first header
  size_t header = kNoHeader;  // index of the header line
  size_t endLine = 0;         // index of the next section's header, or the number of lines
  std::vector<size_t> keys;   // indexes of its key lines, in file order
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
