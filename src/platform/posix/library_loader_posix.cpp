// The POSIX loader, over dlopen. A library is named as on Windows ("rasapi32.dll") and found as
// the shared library of that name followed by ".so" ("rasapi32.dll.so"), the way Wine names its
// own libraries. It is looked for in exactly three places, in this order:
//   1. the directory of the running executable (the real file, after symbolic links), where a
//      build puts the stand-in service;
//   2. the installed tool's library directory, relative to that one (../lib/dialkit in GNU's
//      default layout, under any prefix), where `cmake --install` puts the service;
//   3. the stand-in system directory (platform/posix/stand_in_system.h), which the environment
//      may name.
// Never in the current directory, and never along LD_LIBRARY_PATH or the linker's default
// paths: dlopen is always given a full path, and a name that holds a slash is refused. A library
// is loaded only where it is trusted (platform/posix/library_trust.h): in the executable's
// directory, that directory and the library; in the installed directory, every directory from it
// up to the prefix it shares with the executable's; in the system directory, every directory up
// to the root, since the environment that names it may come from anyone.
#include <dlfcn.h>
#include <sys/stat.h>

#include <string>

#include "platform/library_loader.h"
#include "platform/paths.h"
#include "platform/posix/library_trust.h"

extern const char kLibraryFileSuffix[] = ".so";

bool IsSystemLibrary(const char*) {
  return false;
}

namespace {

// The directory of a path, ending in its separator.
std::string DirectoryOf(const std::string& path) {
  return path.substr(0, path.rfind('/') + 1);
}

// The longest directory, ending in its separator, that holds both directories (each ending in
// its separator).
std::string SharedDirectory(const std::string& first, const std::string& second) {
  size_t shared = 0;
  for (size_t i = 0; i < first.size() && i < second.size() && first[i] == second[i]; ++i) {
    shared = first[i] == '/' ? i + 1 : shared;
  }
  return first.substr(0, shared);
}

class CPosixLibraryLoader final : public CLibraryLoader {
 public:
  LibraryHandle LoadByName(const char* fileName) override {
    struct stat program;
    const std::vector<std::string> candidates = LibrarySearchPaths(fileName);
    // The first place is the executable's directory and, of three, the second the installed one.
    if (candidates.empty() || stat("/proc/self/exe", &program) != 0) {
      return nullptr;
    }
    const std::string directory = DirectoryOf(candidates.front());
    const std::string installed = candidates.size() == 3 ? DirectoryOf(candidates[1]) : "";
    for (const std::string& candidate : candidates) {
      const std::string place = DirectoryOf(candidate);
      const std::string top = place == directory   ? directory
                              : place == installed ? SharedDirectory(directory, installed)
                                                   : "/";
      if (!PathExists(candidate.c_str()) || !IsTrustedLibrary(candidate, top, program.st_uid)) {
        continue;
      }
      // A symbol of the library is bound when it is first called, as the executable's own are:
      // a service imports far more than one run calls.
      if (void* library = dlopen(candidate.c_str(), RTLD_LAZY | RTLD_LOCAL)) {
        return static_cast<LibraryHandle>(library);
      }
    }
    return nullptr;
  }

  EntryPoint FindEntryPoint(LibraryHandle library, const char* exportName) override {
    return reinterpret_cast<EntryPoint>(dlsym(library, exportName));
  }

  void Release(LibraryHandle library) override { dlclose(library); }
};

}  // namespace

std::vector<std::string> PlatformLibraryDirectories(const std::string& executableDirectory) {
  std::string installed = InstalledLibraryDirectory(executableDirectory);
  return installed.empty() ? std::vector<std::string>() : std::vector<std::string>{installed};
}

CLibraryLoader& PlatformLibraryLoader() {
  static CPosixLibraryLoader loader;
  return loader;
}
