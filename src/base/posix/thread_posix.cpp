// Threads on POSIX: the standard library's.
#include <system_error>
#include <thread>
#include <utility>

#include "base/thread.h"

struct CThread::Running {
  std::thread thread;
};

CThread::CThread() = default;

CThread::~CThread() {
  Join();
}

bool CThread::Start(std::function<void()> body) {
  if (running_) {
    return false;
  }
  auto running = std::make_unique<Running>();
  try {
    running->thread = std::thread(std::move(body));
  } catch (const std::system_error&) {
    return false;
  }
  running_ = std::move(running);
  return true;
}

void CThread::Join() {
  if (!running_) {
    return;
  }
  running_->thread.join();
  running_.reset();
}

bool CThread::IsCurrent() const {
  return running_ && running_->thread.get_id() == std::this_thread::get_id();
}
