// A thread of the process's own, started on a function and joined before its object goes. The
// tool runs on one thread and uses none; the stand-in service runs its dials on them, and tests
// play the service's notification thread with one. On Windows it is a thread of the platform's C
// runtime, so that programs need no threads runtime beside it.
#pragma once

#include <functional>
#include <memory>

class CThread {
 public:
  CThread();
  // Joins a thread that was started and not joined yet.
  ~CThread();
  CThread(const CThread&) = delete;
  CThread& operator=(const CThread&) = delete;

  // Runs `body` on a new thread. False when the platform cannot start one, or when this object
  // already holds a thread that has not been joined.
  bool Start(std::function<void()> body);
  // Waits until the thread has ended; nothing when none was started or it was joined already.
  void Join();
  // True when called on this object's thread, while it has not been joined.
  bool IsCurrent() const;

 private:
  struct Running;
  std::unique_ptr<Running> running_;
};
