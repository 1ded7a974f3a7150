// Keeping a service's library loaded on POSIX: the library is opened once more by its own path,
// never to be unloaded.
#include <dlfcn.h>

#include "service_dials.h"

void KeepServiceLibraryLoaded() {
  Dl_info self;
  if (dladdr(reinterpret_cast<void*>(&KeepServiceLibraryLoaded), &self) != 0 &&
      self.dli_fname != nullptr) {
    dlopen(self.dli_fname, RTLD_LAZY | RTLD_NODELETE);
  }
}
