// A recursive lock, as the platform's critical section is: the thread that holds it may take it
// again, and must release it as often as it took it. It also has the standard names lock and
// unlock, so that std::lock_guard and std::scoped_lock can hold it.
#pragma once

#include <mutex>

class CCriticalSection {
 public:
  void Lock() { mutex_.lock(); }
  void Unlock() { mutex_.unlock(); }

  void lock() { Lock(); }
  void unlock() { Unlock(); }

 private:
  std::recursive_mutex mutex_;
};
