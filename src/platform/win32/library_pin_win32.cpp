// Keeping a library loaded on Windows: the module this code lies in is loaded once more
// by its own path, and that reference is never released. Every Windows has these three functions.
#include <windows.h>

#include "platform/library_pin.h"

void KeepThisLibraryLoaded() {
  MEMORY_BASIC_INFORMATION memory;
  if (VirtualQuery(reinterpret_cast<void*>(&KeepThisLibraryLoaded), &memory, sizeof memory) != 0) {
    char path[MAX_PATH];
    const DWORD length =
        GetModuleFileNameA(static_cast<HMODULE>(memory.AllocationBase), path, sizeof path);
    // A path cut off at the buffer's end would name another file.
    if (length != 0 && length < sizeof path) {
      LoadLibraryA(path);
    }
  }
}
