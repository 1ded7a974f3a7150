#include <windows.h>

#include <vector>

#include "support/test_environment.h"

namespace test {

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const char* value)
    : name_(name) {
  const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
  if (size > 0) {
    std::vector<char> previous(size);
    GetEnvironmentVariableA(name, previous.data(), size);
    previous_ = previous.data();
  }
  SetEnvironmentVariableA(name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  SetEnvironmentVariableA(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

void IsolateSystemForTestProgram() {}

// Wine tells itself apart from Windows by an export of its own in ntdll.
PlatformUnderTest CurrentPlatformUnderTest() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  const bool wine = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  return wine ? PlatformUnderTest::kWine : PlatformUnderTest::kWindows;
}

}  // namespace test
