#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>

#include "support/platform_under_test.h"
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

// Set up by GoogleTest before the first test and torn down after the last one.
class StandInSystemEnvironment final : public testing::Environment {
 public:
  void SetUp() override { variable_.emplace("SystemRoot", root_.emplace().path().c_str()); }
  void TearDown() override {
    variable_.reset();
    root_.reset();
  }

 private:
  std::optional<ScopedTempDirectory> root_;
  std::optional<ScopedEnvironmentVariable> variable_;
};
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

void IsolateSystemForTestProgram() {
  testing::AddGlobalTestEnvironment(new StandInSystemEnvironment);
}

PlatformUnderTest CurrentPlatformUnderTest() {
  return PlatformUnderTest::kOurs;
}

}  // namespace test
