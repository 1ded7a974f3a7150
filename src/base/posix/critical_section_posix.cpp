// The lock on POSIX: the standard library's recursive mutex, which recurses as the platform's
// critical section does.
#include <mutex>
#include <new>

#include "base/critical_section.h"

namespace {

static_assert(sizeof(std::recursive_mutex) <= CCriticalSection::kStorageSize);
static_assert(alignof(std::recursive_mutex) <= alignof(void*));

std::recursive_mutex* Native(unsigned char* storage) {
  return std::launder(reinterpret_cast<std::recursive_mutex*>(storage));
}

}  // namespace

CCriticalSection::CCriticalSection() {
  new (storage_) std::recursive_mutex;
}

CCriticalSection::~CCriticalSection() {
  Native(storage_)->~recursive_mutex();
}

void CCriticalSection::Lock() {
  Native(storage_)->lock();
}

void CCriticalSection::Unlock() {
  Native(storage_)->unlock();
}
