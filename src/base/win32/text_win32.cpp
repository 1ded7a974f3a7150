// Formatting on Windows, by the system's C runtime (msvcrt.dll), which every Windows version has.
#include <cstdarg>
#include <cstdio>

#include "base/text.h"

void FormatText(char* buffer, size_t capacity, const char* format, ...) {
  if (capacity == 0) {
    return;
  }
  va_list arguments;
  va_start(arguments, format);
  // _vsnprintf leaves the buffer without a terminator when the text fills it.
  _vsnprintf(buffer, capacity - 1, format, arguments);
  va_end(arguments);
  buffer[capacity - 1] = '\0';
}
