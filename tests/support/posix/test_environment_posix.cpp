#include <cstdlib>

#include "support/test_environment.h"
#include "support/test_files.h"

namespace test {

namespace {
void Set(const std::string& name, const char* value) {
  if (value != nullptr) {
    setenv(name.c_str(), value, 1);
  } else {
    unsetenv(name.c_str());
  }
}

}  // namespace

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const char* value)
    : name_(name) {
  if (const char* previous = std::getenv(name)) {
    previous_ = previous;
  }
  Set(name_, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  Set(name_, previous_ ? previous_->c_str() : nullptr);
}

// Made at the first call, and removed when the program ends: after the last test, and never by the
// test's child processes, which all end with _exit.
void IsolateSystemForTestProgram() {
  static const ScopedTempDirectory root;
  static const ScopedEnvironmentVariable variable("SystemRoot", root.path().c_str());
}

PlatformUnderTest CurrentPlatformUnderTest() {
  return PlatformUnderTest::kOurs;
}

}  // namespace test
