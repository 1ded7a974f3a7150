// The process environment on Windows: the platform's own, not the C runtime's copy of it taken
// at start-up.
#include <windows.h>

#include <vector>

#include "platform/environment.h"

std::string GetEnvironmentText(const char* name) {
  // The variable may change between the two calls; ask until the value fits.
  std::vector<char> value(256);
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      return "";
    }
    if (length < value.size()) {
      return std::string(value.data(), length);
    }
    value.resize(length);
  }
}

bool AppendEnvironmentText(std::string& text, const char* name) {
  const std::string value = GetEnvironmentText(name);
  text.append(value);
  return !value.empty();
}
