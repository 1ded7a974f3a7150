// Waiting for a child process with a bound, so that a child that never ends fails its test and
// names it, rather than holding up the whole run.
#pragma once

#include <sys/types.h>

#include <functional>

namespace test {

// Waits up to `seconds` for `child` to end, calling `meanwhile` (when given) between two looks;
// its wait status. A child still running then is killed, the test fails, and the result is -1.
int WaitForChild(pid_t child, int seconds = 20, const std::function<void()>& meanwhile = {});

}  // namespace test
