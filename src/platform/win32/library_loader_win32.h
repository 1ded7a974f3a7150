// The two ways the Windows loader can find a library (see library_loader_win32.cpp), for the
// loader's tests: each way can be tested on any system, also where the platform's loader takes
// the other.
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

// Keeps the libraries that the system loads for the program after its start (the theme library,
// the input method and the like) out of the program's folder and the current folder: to be called
// first thing, before anything else can load one.
void RestrictLibrarySearchToSystemDirectory();
