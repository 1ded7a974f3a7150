// What the checks of dialkit-check share: the sections the tool reads, texts as the tool's reader
// and the profile functions treat them, names and their near misses, and the lists the profile
// functions hand out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "entry/entry_reader.h"

inline constexpr char kDialUpSection[] = "RasEntry";
inline constexpr char kVpnSection[] = "VPNEntry";
inline constexpr size_t kWorkBufferCharacters = kEntryWorkBufferCapacity - 1;

// The white space that the reader skips before a part of an address, as the C runtime does.
inline bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

inline bool IsWordCharacter(char c) {
  return IsDigit(c) || (FoldLetterCase(c) >= 'A' && FoldLetterCase(c) <= 'Z');
}

std::string_view TrimSpace(std::string_view text);

// The edit distance, letter case aside, or something above `limit` once it is certain to exceed
// it.
size_t Distance(std::string_view first, std::string_view second, size_t limit);

// The candidate that `written` most likely misspells: a few edits away, fewer for shorter names.
template <typename Names>
const char* Nearest(std::string_view written, const Names& names) {
  const char* nearest = nullptr;
  size_t best = 0;
  for (const std::string_view name : names) {
    const size_t limit = std::max<size_t>(1, (std::min(written.size(), name.size()) + 2) / 3);
    const size_t distance = Distance(written, name, limit);
    if (distance <= limit && (nearest == nullptr || distance < best)) {
      nearest = name.data();  // each name is a whole zero-terminated text
      best = distance;
    }
  }
  return nearest;
}

// `text` in backquotes, as the messages quote the file.
std::string Quoted(std::string_view text);
// "; did you mean `name`?", or nothing without a name.
std::string DidYouMean(const char* name);

// Where a value holds what looks like a comment: a ';' or '#' at its start or after a blank.
// The profile functions know comments only as lines of their own.
size_t CommentStart(std::string_view value);

// A text that the profile functions hand out, read into a buffer that grows until the text fits
// with room to spare: a count of capacity - 2 may already be a cut one (a quoted value loses a
// character when it just fills the buffer). No text is longer than the file it comes from, so a
// list that may be as long as the file starts at the file's size: each read of a list takes the
// whole section or file apart again.
enum class Expected { kShort, kUpToTheFile };

template <typename Read>
std::string ReadWhole(Read read, size_t fileSize, Expected expected = Expected::kShort) {
  std::string buffer(expected == Expected::kShort ? 256 : fileSize + 4, '\0');
  for (;;) {
    const DWORD count = read(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (count + 2 < buffer.size() || buffer.size() > fileSize + 4) {
      buffer.resize(std::min<size_t>(count, buffer.size()));
      return buffer;
    }
    buffer.assign(buffer.size() * 2, '\0');
  }
}

// The texts of a list that the profile functions hand out, each ended by a zero.
std::vector<std::string_view> ListItems(std::string_view list);

// The indices 0 to count - 1 in the order that `before` (given `context`) sorts them, equal ones
// kept in their order: the one sort of the checker's lists, which a file may make long.
std::vector<size_t> StableOrder(size_t count,
                                bool (*before)(const void* context, size_t first, size_t second),
                                const void* context);

// For each name, the index of the first of the names that equal it, letter case aside (its own
// for the first), found with one sort rather than a look back from each name.
std::vector<size_t> FirstOfSameName(const std::vector<std::string_view>& names);

// Where the first of a name stands, for a finding about a later one.
std::string OnLine(int line);

// The key of the entry description that `name` names; null for none.
const EntryKey* FindEntryKey(std::string_view name);

// "option", "protocol" or "framing": what a keyword of `key` selects.
const char* SelectionNoun(const EntryKey& key);
