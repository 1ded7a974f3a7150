#include <cstdlib>

#include "support/test_environment.h"

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

}  // namespace test

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace test {

namespace {
class StandInSystemEnvironment final : public testing::Environment {
 public:
  void SetUp() override {
    root_ = std::make_unique<ScopedTempDirectory>();
    variable_ = std::make_unique<ScopedEnvironmentVariable>("SystemRoot", root_->path().c_str());
  }
  void TearDown() override {
    variable_.reset();
    root_.reset();
  }

 private:
  std::unique_ptr<ScopedTempDirectory> root_;
  std::unique_ptr<ScopedEnvironmentVariable> variable_;
};
}  // namespace

void IsolateSystemForTestProgram() {
  testing::AddGlobalTestEnvironment(new StandInSystemEnvironment);
}

}  // namespace test
