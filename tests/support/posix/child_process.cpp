#include "support/posix/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>

#include <gtest/gtest.h>

namespace test {

int WaitForChild(pid_t child, int seconds, const std::function<void()>& meanwhile) {
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
    if (meanwhile) {
      meanwhile();
    } else {
      usleep(10000);
    }
  }
}

}  // namespace test
