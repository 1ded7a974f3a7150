// How the platform's profile functions take the names in a profile file: the blanks they trim
// around names and values, and how they compare names. The POSIX profile component reads files
// by these rules, and dialkit-check finds the lines of a file by them.
#pragma once

#include <string_view>

#include "base/text.h"

// Tab, line feed, vertical tab, form feed, carriage return, the DOS end-of-file mark and space:
// the bytes the platform trims around names and values.
inline bool IsProfileBlank(char c) {
  return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' ';
}

inline std::string_view TrimProfileBlanks(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsProfileBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// Section and key names are equal but for the letter case of ASCII letters.
inline bool SameProfileName(std::string_view first, std::string_view second) {
  return TextEqualsIgnoringCase(first, second);
}
