// The POSIX loader, over dlopen. A library is named as on Windows ("rasapi32.dll") and found as
// the shared library of that name followed by ".so" ("rasapi32.dll.so"), the way Wine names its
// own libraries. It is looked for in exactly three places, in this order:
//   1. the directory of the running executable (the real file, after symbolic links), where a
//      build puts the stand-in service;
//   2. the installed tool's library directory, relative to that one (../lib/dialkit in GNU's
//      default layout, under any prefix), where `cmake --install` puts the stand-in service;
//   3. the stand-in system directory (platform/posix/stand_in_system.h).
// Never in the current directory, and never along LD_LIBRARY_PATH or the linker's default
// paths: dlopen is always given a full path, and a name that holds a slash is refused.
#include <dlfcn.h>

#include <string>

#include "platform/file_system.h"
#include "platform/library_loader.h"

extern const char kLibraryFileSuffix[] = ".so";
extern const char kInstalledLibraryDirectory[] = DIALKIT_INSTALLED_LIBRARY_DIRECTORY;

namespace {

class CPosixLibraryLoader final : public CLibraryLoader {
 public:
  LibraryHandle LoadByName(const char* fileName) override {
    if (*fileName == '\0') {
      return nullptr;
    }
    for (const std::string& path : LibrarySearchPaths(fileName)) {
      if (!PathExists(path.c_str())) {
        continue;
      }
      if (void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
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

CLibraryLoader& PlatformLibraryLoader() {
  static CPosixLibraryLoader loader;
  return loader;
}
