// The end for want of memory, through the standard new handler: the library's allocation calls
// it before it would give up, and so does the shipped Windows program's own (see
// win32/program_runtime_win32.cpp).
#include "base/out_of_memory.h"

#include <cstdlib>
#include <new>

namespace {

// Enough for the report's few short strings and one write.
constexpr std::size_t kReserveSize = std::size_t{64} * 1024;

void* g_reserve = nullptr;
int g_exitStatus = 0;
void (*g_report)() = nullptr;

void EndForWantOfMemory() {
  // Taken before the report runs, so that an allocation failing within it ends at once.
  void (*report)() = g_report;
  g_report = nullptr;
  std::free(g_reserve);
  g_reserve = nullptr;
  if (report != nullptr) {
    report();
  }
  std::_Exit(g_exitStatus);
}

}  // namespace

CEndWhenMemoryRunsOut::CEndWhenMemoryRunsOut(int exitStatus, void (*report)()) {
  g_reserve = std::malloc(kReserveSize);
  g_exitStatus = exitStatus;
  g_report = report;
  previous_ = std::set_new_handler(EndForWantOfMemory);
}

CEndWhenMemoryRunsOut::~CEndWhenMemoryRunsOut() {
  std::set_new_handler(previous_);
  std::free(g_reserve);
  g_reserve = nullptr;
  g_report = nullptr;
}
