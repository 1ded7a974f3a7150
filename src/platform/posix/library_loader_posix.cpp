// The POSIX loader, over dlopen. A library is named as on Windows ("rasapi32.dll") and found as
// the shared library of that name followed by ".so" ("rasapi32.dll.so"), the way Wine names its
// own libraries. It is looked for in exactly three places, in this order:
//   1. the directory of the running executable (the real file, after symbolic links), where a
//      build puts the stand-in service;
//   2. the installed tool's library directory, relative to that one (../lib/dialkit in GNU's
//      default layout, under any prefix), where `cmake --install` puts the stand-in service,
//      when nobody can add to it who cannot add to the executable's own directory;
//   3. the stand-in system directory (platform/posix/stand_in_system.h).
// Never in the current directory, and never along LD_LIBRARY_PATH or the linker's default
// paths: dlopen is always given a full path, and a name that holds a slash is refused.
#include <dlfcn.h>
#include <sys/stat.h>

#include <string>

#include "platform/file_system.h"
#include "platform/library_loader.h"

extern const char kLibraryFileSuffix[] = ".so";

bool IsSystemLibrary(const char*) {
  return false;
}

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
      // A symbol of the library is bound when it is first called, as the executable's own are:
      // a service imports far more than one run calls.
      if (void* library = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL)) {
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

std::string InstalledLibraryDirectory(const std::string& executableDirectory) {
  char buffer[4096];  // not zeroed: FormFullPath writes the path with its terminator
  struct stat executableFolder;
  if (!FormFullPath(buffer, sizeof buffer,
                    (executableDirectory + DIALKIT_INSTALLED_LIBRARY_DIRECTORY).c_str()) ||
      stat(executableDirectory.c_str(), &executableFolder) != 0) {
    return {};
  }
  // The library directory lies outside the executable's, below a folder the two share (the
  // prefix). A tool started from a folder in /tmp must not load what someone else put into
  // /tmp/lib/dialkit: every directory from the library's up to the shared one must exist, belong
  // to the owner of the executable's directory or to root, and be closed to other users' writes.
  const std::string directory = buffer;
  for (std::string step = directory;; step.erase(step.rfind('/'))) {
    struct stat status;
    if (stat(step.empty() ? "/" : step.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        (status.st_mode & S_IWOTH) != 0 ||
        (status.st_uid != 0 && status.st_uid != executableFolder.st_uid)) {
      return {};
    }
    if (executableDirectory.compare(0, step.size() + 1, step + '/') == 0) {
      return directory + '/';
    }
  }
}

CLibraryLoader& PlatformLibraryLoader() {
  static CPosixLibraryLoader loader;
  return loader;
}
