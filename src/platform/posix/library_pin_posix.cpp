// Keeping a library loaded on POSIX: the library is opened once more by its own path, never to be
// unloaded.
#include <dlfcn.h>

#include "platform/library_pin.h"

void KeepThisLibraryLoaded() {
  Dl_info self;
  if (dladdr(reinterpret_cast<void*>(&KeepThisLibraryLoaded), &self) != 0 &&
      self.dli_fname != nullptr) {
    dlopen(self.dli_fname, RTLD_LAZY | RTLD_NODELETE);
  }
}
