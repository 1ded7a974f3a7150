// The Windows loader. Libraries are looked for in the directory of the executable and then in
// the system directory, never in the current directory or along PATH, so that a library planted
// where the tool is started cannot be loaded in place of the Remote Access Service.
#include <windows.h>

#include "platform/file_system.h"
#include "platform/library_loader.h"

namespace {

class CWin32LibraryLoader final : public CLibraryLoader {
 public:
  LibraryHandle LoadByName(const char* fileName) override {
    return reinterpret_cast<LibraryHandle>(LoadLibraryExA(
        fileName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
  }

  EntryPoint FindEntryPoint(LibraryHandle library, const char* exportName) override {
    return reinterpret_cast<EntryPoint>(
        GetProcAddress(reinterpret_cast<HMODULE>(library), exportName));
  }

  void Release(LibraryHandle library) override { FreeLibrary(reinterpret_cast<HMODULE>(library)); }
};

}  // namespace

CLibraryLoader& PlatformLibraryLoader() {
  static CWin32LibraryLoader loader;
  return loader;
}

std::vector<std::string> LibrarySearchPaths(const char* fileName) {
  std::vector<std::string> paths;
  std::vector<char> path(32768);
  if (GetExecutablePath(path.data(), path.size())) {
    paths.emplace_back(path.data());
    paths.back().resize(paths.back().find_last_of("\\/") + 1);
  }
  const size_t length = GetSystemDirectoryPath(path.data(), path.size());
  if (length > 0 && length < path.size()) {
    paths.emplace_back(path.data()).append("\\");
  }
  for (std::string& directory : paths) {
    directory += fileName;
  }
  return paths;
}
