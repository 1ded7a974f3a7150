// The loader seam: which loader the binding uses; and where the platform loaders look.
#include "platform/library_loader.h"

#include <filesystem>
#include <memory>

#include "platform/paths.h"
#include "platform/system_info.h"

namespace {

CLibraryLoader* g_replacementLoader = nullptr;

// Room for the longest path either platform gives.
constexpr size_t kPathCapacity = 32768;

// A name without a directory or a drive in it.
bool IsBareFileName(const char* name) {
  if (*name == '\0') {
    return false;
  }
  for (; *name != '\0'; ++name) {
    if (IsPathSeparator(*name) || *name == ':') {
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<std::string> LibrarySearchPaths(const char* libraryName) {
  std::vector<std::string> paths;
  if (!IsBareFileName(libraryName)) {
    return paths;
  }
  const std::string fileName = std::string(libraryName) + kLibraryFileSuffix;
  // Left unfilled: the path functions write what they answer, and zeroing the room for the
  // longest path costs more than the rest of the search.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kPathCapacity);
  if (!IsSystemLibrary(libraryName) && GetExecutablePath(buffer.get(), kPathCapacity)) {
    // Everything up to the last separator, which stays: a root directory keeps its own.
    const std::string executable = buffer.get();
    size_t end = executable.size();
    while (end > 0 && !IsPathSeparator(executable[end - 1])) {
      --end;
    }
    if (end > 0) {
      const std::string directory = executable.substr(0, end);
      paths.push_back(directory + fileName);
      for (const std::string& other : PlatformLibraryDirectories(directory)) {
        paths.push_back(other + fileName);
      }
    }
  }
  const size_t length = GetSystemDirectoryPath(buffer.get(), kPathCapacity);
  if (length > 0 && length < kPathCapacity) {
    std::string directory(buffer.get(), length);
    if (!IsPathSeparator(directory.back())) {
      directory += static_cast<char>(std::filesystem::path::preferred_separator);
    }
    paths.push_back(directory + fileName);
  }
  return paths;
}

CLibraryLoader& CurrentLibraryLoader() {
  return g_replacementLoader != nullptr ? *g_replacementLoader : PlatformLibraryLoader();
}

CLibraryLoader* ReplaceLibraryLoader(CLibraryLoader* loader) {
  CLibraryLoader* previous = g_replacementLoader;
  g_replacementLoader = loader;
  return previous;
}
