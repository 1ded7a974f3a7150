// Environment variables for tests, set for the life of a guard and restored afterwards, and the
// system each test program runs against.
#pragma once

#include <optional>
#include <string>

namespace test {

class ScopedEnvironmentVariable {
 public:
  // Sets `name` to `value`; at the end the variable is as it was, or removed if it was not set.
  ScopedEnvironmentVariable(const char* name, const char* value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// Gives the test program a system of its own for its whole run: on POSIX a fresh stand-in system
// in a temporary directory (removed at the end), so that no test reaches the user's; on Windows
// the system is the Wine prefix that the test run was given, and nothing is done.
void IsolateSystemForTestProgram();

// Which implementation of the platform's functions a test program meets: the POSIX build's own,
// or the Win32 functions, of real Windows or of Wine. Tables that record platform behaviour use
// it for their marks.
enum class PlatformUnderTest { kOurs, kWindows, kWine };

PlatformUnderTest CurrentPlatformUnderTest();

}  // namespace test
