// GoogleTest's own place for a platform's adjustments, found before the one in its sources when
// it is compiled for Windows. The cross compilers' standard library has no std::mutex or
// std::condition_variable (win32 thread model), which GoogleTest's Notification is built on; this
// one waits by yielding instead. GoogleTest uses it only to start threads of its own tests.
#pragma once

#include <atomic>
#include <thread>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

// Neither copied nor assigned, as GoogleTest's own: its atomic flag can be neither.
class Notification {
 public:
  void Notify() { notified_ = true; }
  void WaitForNotification() const {
    while (!notified_) {
      std::this_thread::yield();
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
