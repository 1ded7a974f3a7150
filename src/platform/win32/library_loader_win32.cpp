// The Windows loader. The Remote Access Service, rasapi32.dll, is a library of the system and is
// loaded from the system directory alone. Other libraries (altras.dll) are looked for in the
// directory of the executable and then in the system directory. Nothing is ever loaded from the
// current directory or along PATH, and the service never from beside the executable, so that a
// library planted where the tool is started, or beside an installer that a person runs from a
// downloads folder, cannot be loaded in place of the Remote Access Service.
//
// Where the system's loader has the safe-search flags (Windows 8 and later, Vista and 7 with
// update KB2533623) it is asked to search exactly those directories, which also keeps the
// library's own dependencies out of the current directory. Older systems refuse the flags (the
// call fails with ERROR_INVALID_PARAMETER), so there the library is loaded by its full path in
// each directory in turn; its dependencies are then looked for from its own directory first
// (LOAD_WITH_ALTERED_SEARCH_PATH), as the platform's own libraries expect.
#include "platform/win32/library_loader_win32.h"

#include <windows.h>

#include <string>

#include "base/text.h"

extern const char kLibraryFileSuffix[] = "";

bool IsSystemLibrary(const char* libraryName) {
  return TextEqualsIgnoringCase(libraryName, "rasapi32.dll");
}

namespace {

class CWin32LibraryLoader final : public CLibraryLoader {
 public:
  constexpr explicit CWin32LibraryLoader(LibrarySearch search) : search_(search) {}

  LibraryHandle LoadByName(const char* fileName) override {
    if (search_ == LibrarySearch::kSafeSearchFlags) {
      const DWORD where = IsSystemLibrary(fileName)
                              ? LOAD_LIBRARY_SEARCH_SYSTEM32
                              : LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;
      return reinterpret_cast<LibraryHandle>(LoadLibraryExA(fileName, nullptr, where));
    }
    for (const std::string& path : LibrarySearchPaths(fileName)) {
      if (HMODULE library = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
        return reinterpret_cast<LibraryHandle>(library);
      }
    }
    return nullptr;
  }

  EntryPoint FindEntryPoint(LibraryHandle library, const char* exportName) override {
    return reinterpret_cast<EntryPoint>(
        GetProcAddress(reinterpret_cast<HMODULE>(library), exportName));
  }

  void Release(LibraryHandle library) override { FreeLibrary(reinterpret_cast<HMODULE>(library)); }

 private:
  LibrarySearch search_;
};

}  // namespace

LibrarySearch SupportedLibrarySearch() {
  // The flags came with AddDllDirectory; finding it is the documented test for them.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr
             ? LibrarySearch::kSafeSearchFlags
             : LibrarySearch::kFullPaths;
}

CLibraryLoader& Win32LibraryLoader(LibrarySearch search) {
  // Made before the program starts, with no code of its own to run.
  static constinit CWin32LibraryLoader withFlags(LibrarySearch::kSafeSearchFlags);
  static constinit CWin32LibraryLoader byFullPaths(LibrarySearch::kFullPaths);
  return search == LibrarySearch::kSafeSearchFlags ? withFlags : byFullPaths;
}

std::vector<std::string> PlatformLibraryDirectories(const std::string&) {
  return {};
}

// A library planted beside the program (an installer run from a downloads folder) would otherwise
// be loaded with the installer's rights whenever the system loads one of that name later. Where
// the loader has the safe-search flags it takes a default of them: the system directory alone.
// Elsewhere (XP with its first service pack up to 7 without the update) taking the current
// directory out of the search is what there is; older systems have neither, and both functions
// are found at run time, so that the program still loads there.
void RestrictLibrarySearchToSystemDirectory() {
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  using SetDirectory = BOOL(WINAPI*)(LPCSTR);
  using AnyFunction = void (*)();
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) {
    return;
  }
  if (const auto setDefault = reinterpret_cast<SetDefaultDirectories>(
          reinterpret_cast<AnyFunction>(GetProcAddress(kernel, "SetDefaultDllDirectories")))) {
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  } else if (const auto setDirectory = reinterpret_cast<SetDirectory>(
                 reinterpret_cast<AnyFunction>(GetProcAddress(kernel, "SetDllDirectoryA")))) {
    setDirectory("");
  }
}

CLibraryLoader& PlatformLibraryLoader() {
  return Win32LibraryLoader(SupportedLibrarySearch());
}
