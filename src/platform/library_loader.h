// Loading libraries at run time: the three operations the remote-access binding needs.
//
// The loader is a seam: the binding always goes through CurrentLibraryLoader(), which is the
// platform's loader unless a test has put a fake in its place (with fake libraries that export
// chosen entry points), so every path of the binding can be reached without the real service.
#pragma once

#include <string>
#include <vector>

// An opaque loaded library.
struct LoadedLibrary;
using LibraryHandle = LoadedLibrary*;

// An entry point as found; cast to the function's real type before calling.
using EntryPoint = void (*)();

class CLibraryLoader {
 public:
  // Loads the library with this platform file name ("rasapi32.dll"); null when it cannot.
  virtual LibraryHandle LoadByName(const char* fileName) = 0;
  // The exported function of this name; null when the library does not export it.
  virtual EntryPoint FindEntryPoint(LibraryHandle library, const char* exportName) = 0;
  virtual void Release(LibraryHandle library) = 0;

 protected:
  ~CLibraryLoader() = default;
};

// The platform's loader. Where it looks for a library is documented in its implementation.
CLibraryLoader& PlatformLibraryLoader();

// The full paths at which the platform's loader looks for the library `libraryName`
// ("rasapi32.dll"), in its order: the directory of the running executable, then the platform's
// own directories (PlatformLibraryDirectories), then the system directory
// (GetSystemDirectoryPath); for a system library (IsSystemLibrary) the system directory alone. The executable is the real file, after symbolic
// links. The file is the library's name followed by the platform's kLibraryFileSuffix. A
// directory the platform cannot name is left out; so is everything for a name that is not a bare
// file name, since a path in it would lead elsewhere. A report of a library that could not be
// loaded names these paths.
std::vector<std::string> LibrarySearchPaths(const char* libraryName);

// True for a library that is part of the system ("rasapi32.dll" on Windows), which is loaded from
// the system directory only: a copy beside the executable is never taken, since that is where a
// planted library waits when an installer runs from a downloads folder. None on POSIX, where the
// stand-in service lies beside the tool.
bool IsSystemLibrary(const char* libraryName);

// What the platform's loader adds to a library's name to make its file name: nothing on Windows,
// ".so" on POSIX ("rasapi32.dll.so", the way Wine names its own libraries).
extern const char kLibraryFileSuffix[];

// The directories, each a full path ending in its separator, where the platform's loader looks
// after the executable's own directory `executableDirectory` and before the system directory;
// what they are is documented with the platform's loader.
std::vector<std::string> PlatformLibraryDirectories(const std::string& executableDirectory);

// The loader in use.
CLibraryLoader& CurrentLibraryLoader();

// Puts `loader` in place (null: the platform's again) and returns the one it replaces. Tests only.
CLibraryLoader* ReplaceLibraryLoader(CLibraryLoader* loader);
