// Handing a path to a caller's fixed buffer, for the POSIX functions that answer with paths.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

// Copies `text` whole, with its terminator, into the caller's buffer, or fails without touching
// it. The rest of the buffer is left as it is: the callers' buffers have room for the longest
// path, and filling it all would cost more than what is copied.
inline bool CopyWhole(char* buffer, size_t capacity, const std::string& text) {
  if (text.size() + 1 > capacity) {
    return false;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}
