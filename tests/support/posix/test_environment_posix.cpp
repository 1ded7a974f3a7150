#include <cstdlib>

#include "support/test_environment.h"
#include "support/test_files.h"

namespace test {

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const char* value)
    : name_(name) {
  if (const char* previous = std::getenv(name)) {
    previous_ = previous;
  }
  setenv(name, value, 1);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  if (previous_) {
    setenv(name_.c_str(), previous_->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
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
