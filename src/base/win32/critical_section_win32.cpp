// The lock on Windows: the platform's critical section, which every Windows version has, with no
// runtime between the tool and the system.
#include <windows.h>

#include "base/critical_section.h"

namespace {

static_assert(sizeof(CRITICAL_SECTION) <= CCriticalSection::kStorageSize);
static_assert(alignof(CRITICAL_SECTION) <= alignof(void*));

CRITICAL_SECTION* Native(unsigned char* storage) {
  return reinterpret_cast<CRITICAL_SECTION*>(storage);
}

}  // namespace

CCriticalSection::CCriticalSection() {
  InitializeCriticalSection(Native(storage_));
}

CCriticalSection::~CCriticalSection() {
  DeleteCriticalSection(Native(storage_));
}

void CCriticalSection::Lock() {
  EnterCriticalSection(Native(storage_));
}

void CCriticalSection::Unlock() {
  LeaveCriticalSection(Native(storage_));
}
