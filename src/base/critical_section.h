// A recursive lock, as the platform's critical section is: the thread that holds it may take it
// again, and must release it as often as it took it. It also has the standard names lock and
// unlock, so that std::lock_guard and std::scoped_lock can hold it.
//
// On Windows it is the platform's critical section itself; elsewhere a recursive mutex. The
// platform's record lives inside the object, in room this header sets aside, so that no platform
// header reaches the code that includes this one; each platform's file checks that it fits.
#pragma once

#include <cstddef>

class CCriticalSection {
 public:
  CCriticalSection();
  ~CCriticalSection();
  CCriticalSection(const CCriticalSection&) = delete;
  CCriticalSection& operator=(const CCriticalSection&) = delete;

  void Lock();
  void Unlock();

  void lock() { Lock(); }
  void unlock() { Unlock(); }

  // Room for the platform's lock record: six pointers, what the larger of them needs.
  static constexpr size_t kStorageSize = 6 * sizeof(void*);

 private:
  alignas(void*) unsigned char storage_[kStorageSize];
};
