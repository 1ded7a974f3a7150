// The process environment on POSIX, where the C runtime's environment is the process's own.
#include <cstdlib>

#include "platform/environment.h"

std::string GetEnvironmentText(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool AppendEnvironmentText(std::string& text, const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    return false;
  }
  text.append(value);
  return true;
}
