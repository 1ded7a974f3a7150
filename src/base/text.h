// Text routines of the tool's runtime for single-byte, zero-terminated texts in fixed-capacity
// fields. Every text that lands in such a field (record fields, command-line values, message
// texts) is copied with CopyText, so that no copy can run past its field and every field ends
// in a zero byte inside its width.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Copies at most capacity - 1 characters of `source`, and never more than `maxLength`, into
// `destination`, and fills the rest of the field with zero bytes, so that a record built from
// such copies carries no stale bytes. A capacity of 0 copies nothing. Returns the number of
// characters copied. `source` may overlap `destination`.
inline size_t CopyText(char* destination, size_t capacity, const char* source,
                       size_t maxLength = SIZE_MAX) {
  if (capacity == 0) {
    return 0;
  }
  size_t length = 0;
  while (length + 1 < capacity && length < maxLength && source[length] != '\0') {
    ++length;
  }
  std::memmove(destination, source, length);
  std::memset(destination + length, 0, capacity - length);
  return length;
}

template <size_t Capacity>
size_t CopyText(char (&destination)[Capacity], const char* source) {
  return CopyText(destination, Capacity, source);
}

// Writes `format` with its arguments into `buffer` as the platform's printf family does, cut to
// capacity - 1 characters and always ending in a zero byte; a capacity of 0 writes nothing. The
// tool's formats are its messages' "%s" and "%u": on Windows the system's C runtime writes them,
// not a printf of the compiler's runtime that would come along with the program.
void FormatText(char* buffer, size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The ASCII letters folded to upper case; every other byte, including those of the upper half
// of the code page, stays as it is, as the platform's case-blind comparisons treat them.
inline char FoldLetterCase(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// The text of a fixed-capacity field that a platform service may fill to its end without a
// terminator: up to the first zero byte, or the whole field.
inline std::string_view FieldText(const char* field, size_t capacity) {
  const std::string_view text(field, capacity);
  return text.substr(0, text.find('\0'));
}
template <size_t Capacity>
std::string_view FieldText(const char (&field)[Capacity]) {
  return FieldText(field, Capacity);
}

// True when the two texts are equal but for the letter case of ASCII letters.
inline bool TextEqualsIgnoringCase(std::string_view first, std::string_view second) {
  if (first.size() != second.size()) {
    return false;
  }
  // Names are mostly written in one letter case, so bytes are folded only where they differ.
  for (size_t i = 0; i < first.size(); ++i) {
    if (first[i] != second[i] && FoldLetterCase(first[i]) != FoldLetterCase(second[i])) {
      return false;
    }
  }
  return true;
}

// The same for zero-terminated texts.
inline bool TextEqualsIgnoringCase(const char* first, const char* second) {
  for (;; ++first, ++second) {
    if (FoldLetterCase(*first) != FoldLetterCase(*second)) {
      return false;
    }
    if (*first == '\0') {
      return true;
    }
  }
}
