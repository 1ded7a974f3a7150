// Waiting for a child process with a bound, so that a child that never ends fails its test and
// names it, rather than holding up the whole run.
#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>

namespace test {

// Waits up to `seconds` for `child` to end, calling `meanwhile` between two looks; its wait
// status. A child still running then is killed, the test fails, and the result is -1.
inline int WaitForChild(
    pid_t child, int seconds = 20, const std::function<void()>& meanwhile = [] { usleep(10000); }) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  for (;;) {
    const pid_t ended = waitpid(child, &status, WNOHANG);
    if (ended == child) {
      return status;
    }
    if (ended < 0 && errno != EINTR) {
      ADD_FAILURE() << "process " << child << " cannot be waited for";
      return -1;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      ADD_FAILURE() << "process " << child << " did not end within " << seconds << " s";
      return -1;
    }
    meanwhile();
  }
}

}  // namespace test
