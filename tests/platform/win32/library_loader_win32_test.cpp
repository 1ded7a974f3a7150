// Where the Windows loader looks for a library: beside the executable and in the system
// directory only. A library planted in the current directory or in a directory on PATH is never
// loaded, though the platform's default search would take it from either.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/library_loader.h"
#include "support/test_environment.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

TEST(Win32LibraryLoader, NeverLoadsALibraryPlantedInTheCurrentDirectoryOrOnPath) {
  char program[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, sizeof program);
  test::ScopedTempDirectory planted;
  // A real library, under a name that nothing else in the process has loaded.
  fs::copy_file(fs::path(program).parent_path() / "loadertest.dll", planted.path() / "planted.dll");
  test::ScopedCurrentDirectory current(planted.path());
  test::ScopedEnvironmentVariable path("PATH", planted.path().string().c_str());

  EXPECT_EQ(PlatformLibraryLoader().LoadByName("planted.dll"), nullptr);

  // The default search finds it: so the file can be loaded, and only the search kept it out.
  // Checked last, since a loaded library is then found by its name alone.
  HMODULE found = LoadLibraryA("planted.dll");
  EXPECT_NE(found, nullptr);
  if (found != nullptr) {
    FreeLibrary(found);
  }
}

}  // namespace
