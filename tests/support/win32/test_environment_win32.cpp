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

}  // namespace test

namespace test {
void IsolateSystemForTestProgram() {}
}  // namespace test
