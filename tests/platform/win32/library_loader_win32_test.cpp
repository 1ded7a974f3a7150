// Where the Windows loader looks for a library, both where the system's loader takes the
// safe-search flags and where it does not (then by full paths): beside the executable first, then
// in the system directory, and nowhere else. A library planted in the current directory or in a
// directory on PATH is never loaded, though the platform's default search would take it from
// either.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/library_loader_win32.h"
#include "support/test_environment.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

struct LoadCase {
  const char* where;
  const char* fileName;
  const char* exportName;  // what the library that must be loaded exports; null: none may load
};

TEST(Win32LibraryLoader, LoadsFromTheExecutablesDirectoryThenTheSystemDirectoryOnly) {
  char program[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, sizeof program);
  test::ScopedTempDirectory planted;
  // A real library, under a name that nothing else in the process has loaded.
  fs::copy_file(fs::path(program).parent_path() / "loadertest.dll", planted.path() / "planted.dll");
  test::ScopedCurrentDirectory current(planted.path());
  test::ScopedEnvironmentVariable path("PATH", planted.path().string().c_str());

  const LoadCase cases[] = {
      {"in the current directory and on PATH only", "planted.dll", nullptr},
      // The system has one too (Wine's), but the stand-in lies beside the test program.
      {"beside the executable, before the system's", "rasapi32.dll", "StandInLibraryName"},
      {"in the system directory only", "version.dll", "GetFileVersionInfoA"},
  };
  for (const LibrarySearch search : {LibrarySearch::kSafeSearchFlags, LibrarySearch::kFullPaths}) {
    CLibraryLoader& loader = Win32LibraryLoader(search);
    for (const LoadCase& c : cases) {
      SCOPED_TRACE(std::string(c.where) +
                   (search == LibrarySearch::kFullPaths ? ", by full paths" : ", with the flags"));
      LibraryHandle library = loader.LoadByName(c.fileName);
      if (c.exportName == nullptr) {
        EXPECT_EQ(library, nullptr);
      } else {
        ASSERT_NE(library, nullptr);
        EXPECT_NE(loader.FindEntryPoint(library, c.exportName), nullptr);
      }
      if (library != nullptr) {
        loader.Release(library);
      }
    }
  }

  // The default search finds the planted library: so the file can be loaded, and only the
  // search kept it out. Checked last, since a loaded library is then found by its name alone.
  HMODULE found = LoadLibraryA("planted.dll");
  EXPECT_NE(found, nullptr);
  if (found != nullptr) {
    FreeLibrary(found);
  }
}

}  // namespace
