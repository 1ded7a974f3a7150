// The recursive lock: the holder may take it again; another thread waits until it has been
// released as often as it was taken.
#include "framework/critical_section.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(CriticalSection, HolderTakesItAgainOthersWaitForTheLastRelease) {
  CCriticalSection lock;
  std::atomic<bool> otherEntered{false};
  lock.Lock();
  lock.Lock();
  std::thread other([&]() {
    std::lock_guard<CCriticalSection> guard(lock);
    otherEntered = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(otherEntered);
  lock.Unlock();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(otherEntered);
  lock.Unlock();
  other.join();
  EXPECT_TRUE(otherEntered);
}

}  // namespace
