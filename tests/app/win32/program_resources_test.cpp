// The resources of dialkit.exe as built, read back from the executable: the icon's images, the
// version information and the manifest. The device selection dialog is checked as the platform
// shows it, in the program's runs (program_runs_test.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dialkit_version.h"
#include "resource.h"

namespace {

std::string ProgramPath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  return (std::filesystem::path(path).parent_path() / "dialkit.exe").string();
}

// The bytes of resource `id` of `type` in the program, read without running it; empty when there
// is none.
std::string Resource(LPCSTR type, LPCSTR id) {
  static const HMODULE program = LoadLibraryExA(
      ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC found = program != nullptr ? FindResourceA(program, id, type) : nullptr;
  return found == nullptr
             ? std::string()
             : std::string(static_cast<const char*>(LockResource(LoadResource(program, found))),
                           SizeofResource(program, found));
}

TEST(ProgramResources, IconHasEverySize) {
  const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME));
  std::vector<int> sizes;
  // After the 6-byte header, entries of 14 bytes, each opening with its image's width (0: 256).
  for (size_t entry = 6; entry + 14 <= group.size(); entry += 14) {
    sizes.push_back(group[entry] == 0 ? 256 : static_cast<BYTE>(group[entry]));
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 256}));
}

// The numbers installers compare before they replace a file (tools/check-packages finds the
// version's text in every packaged program).
TEST(ProgramResources, VersionInformationCarriesTheProjectVersion) {
  const std::string path = ProgramPath();
  std::vector<char> information(GetFileVersionInfoSizeA(path.c_str(), nullptr));
  ASSERT_FALSE(information.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(information.size()),
                                  information.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(information.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD{MAKELONG(DIALKIT_VERSION_MINOR, DIALKIT_VERSION_MAJOR)});
  EXPECT_EQ(fixed->dwFileVersionLS, DWORD{MAKELONG(0, DIALKIT_VERSION_PATCH)});
}

TEST(ProgramResources, ManifestRunsAsInvokerWithVersion6CommonControls) {
  const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
  for (const char* part : {"level=\"asInvoker\"", "name=\"Microsoft.Windows.Common-Controls\"",
                           "version=\"6.0.0.0\"", "<supportedOS Id="}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
}

}  // namespace
