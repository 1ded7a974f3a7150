// Where the Windows loader looks for a library, both where the system's loader takes the
// safe-search flags and where it does not (then by full paths): the service, rasapi32.dll, in the
// system directory only, though copies lie beside the executable and in the current directory;
// other libraries beside the executable first, then in the system directory. A library planted
// in the current directory or in a directory on PATH is never loaded, though the platform's
// default search would take it from either.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/library_loader_win32.h"
#include "support/test_environment.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

fs::path ModuleDirectory(HMODULE module) {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(module, path, sizeof path);
  return fs::path(path).parent_path();
}

TEST(Win32LibraryLoader, LoadsTheServiceFromTheSystemDirectoryOnlyAndNothingFromElsewhere) {
  const fs::path programDirectory = ModuleDirectory(nullptr);
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, sizeof system);
  test::ScopedTempDirectory planted;
  // A real library, under a name that nothing else in the process has loaded, and one under the
  // service's name.
  fs::copy_file(programDirectory / "loadertest.dll", planted.path() / "planted.dll");
  fs::copy_file(programDirectory / "loadertest.dll", planted.path() / "rasapi32.dll");
  test::ScopedCurrentDirectory current(planted.path());
  test::ScopedEnvironmentVariable path("PATH", planted.path().string().c_str());

  const struct {
    const char* where;
    const char* fileName;
    fs::path from;  // none: not loaded at all
  } cases[] = {
      {"in the current directory and on PATH only", "planted.dll", {}},
      // The stand-in lies beside the test program and in the system directory.
      {"the service, also beside the executable", "rasapi32.dll", system},
      {"beside the executable, before the system's", "altras.dll", programDirectory},
      {"in the system directory only", "version.dll", system},
  };
  for (const LibrarySearch search : {LibrarySearch::kSafeSearchFlags, LibrarySearch::kFullPaths}) {
    CLibraryLoader& loader = Win32LibraryLoader(search);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.where) +
                   (search == LibrarySearch::kFullPaths ? ", by full paths" : ", with the flags"));
      LibraryHandle library = loader.LoadByName(c.fileName);
      EXPECT_EQ(library != nullptr, !c.from.empty());
      if (library != nullptr) {
        EXPECT_TRUE(!c.from.empty() &&
                    fs::equivalent(ModuleDirectory(reinterpret_cast<HMODULE>(library)), c.from));
        loader.Release(library);
      }
    }
  }

  // The default search finds the planted library: so the file can be loaded, and only the
  // search kept it out. Checked last, since a loaded library is then found by its name alone.
  EXPECT_TRUE(FreeLibrary(LoadLibraryA("planted.dll")));  // false for no library
}

}  // namespace
