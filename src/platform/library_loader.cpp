// The loader seam: which loader the binding uses.
#include "platform/library_loader.h"

namespace {
CLibraryLoader* g_replacementLoader = nullptr;
}  // namespace

CLibraryLoader& CurrentLibraryLoader() {
  return g_replacementLoader != nullptr ? *g_replacementLoader : PlatformLibraryLoader();
}

CLibraryLoader* ReplaceLibraryLoader(CLibraryLoader* loader) {
  CLibraryLoader* previous = g_replacementLoader;
  g_replacementLoader = loader;
  return previous;
}
