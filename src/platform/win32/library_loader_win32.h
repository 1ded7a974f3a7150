// The two ways the Windows loader can find a library, for the loader's tests: each way is tested
// on a system whose loader would take the other (see library_loader_win32.cpp).
#pragma once

#include "platform/library_loader.h"

enum class LibrarySearch {
  // The system's loader searches the executable's directory and the system directory itself.
  kSafeSearchFlags,
  // The library is loaded by its full path in each of the two directories in turn.
  kFullPaths,
};

// The way this system allows: the safe-search flags where its loader has them.
LibrarySearch SupportedLibrarySearch();

// The loader that searches `search`'s way.
CLibraryLoader& Win32LibraryLoader(LibrarySearch search);
