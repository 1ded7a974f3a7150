// Threads on Windows: started through the C runtime (_beginthreadex), which sets up its own
// per-thread data for the code the thread runs, and waited for on the thread's handle.
#include <process.h>
#include <windows.h>

#include <utility>

#include "base/thread.h"

struct CThread::Running {
  std::function<void()> body;
  HANDLE handle = nullptr;
  unsigned id = 0;
};

namespace {

unsigned __stdcall RunBody(void* running) {
  static_cast<std::function<void()>*>(running)->operator()();
  return 0;
}

}  // namespace

CThread::CThread() = default;

CThread::~CThread() {
  Join();
}

bool CThread::Start(std::function<void()> body) {
  if (running_) {
    return false;
  }
  auto running = std::make_unique<Running>();
  running->body = std::move(body);
  const uintptr_t handle = _beginthreadex(nullptr, 0, RunBody, &running->body, 0, &running->id);
  if (handle == 0) {
    return false;
  }
  running->handle = reinterpret_cast<HANDLE>(handle);
  running_ = std::move(running);
  return true;
}

void CThread::Join() {
  if (!running_) {
    return;
  }
  WaitForSingleObject(running_->handle, INFINITE);
  CloseHandle(running_->handle);
  running_.reset();
}

bool CThread::IsCurrent() const {
  return running_ && running_->id == GetCurrentThreadId();
}
