// Formatting on POSIX, by the C library's vsnprintf.
#include <cstdarg>
#include <cstdio>

#include "base/text.h"

void FormatText(char* buffer, size_t capacity, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, capacity, format, arguments);
  va_end(arguments);
}
