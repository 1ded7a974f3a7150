// The resources of dialkit.exe as built, read back from the executable: the device selection
// dialog field by field as the dialog manager will read it (the resource compiler adds styles of
// its own to some statements, so only the compiled template tells what a user will get), the
// icon's images, the version information and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
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

TEST(ProgramResources, ModemSelectDialogIsExactlyAsLaidOut) {
  const std::string bytes = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_MODEM_SELECT));
  // The template (the platform's DLGTEMPLATE form) word by word; past its end it reads zeros, which
  // no field expects.
  std::vector<WORD> words(bytes.size() / 2 + 64);
  std::memcpy(words.data(), bytes.data(), bytes.size());
  size_t at = 0;
  const auto word = [&] { return at < words.size() ? words[at++] : WORD{0}; };
  const auto doubleWord = [&] {
    const WORD low = word();
    return DWORD{MAKELONG(low, word())};
  };
  const auto box = [&] {  // x, y, width, height
    std::vector<int> box;
    for (int i = 0; i < 4; ++i) {
      box.push_back(static_cast<short>(word()));
    }
    return box;
  };
  const auto text = [&] {  // a text up to its zero (ASCII only), or an ordinal as "#number"
    std::string text;
    if (at < words.size() && words[at] == 0xFFFF) {
      ++at;
      return "#" + std::to_string(word());
    }
    for (WORD unit = word(); unit != 0; unit = word()) {
      text.push_back(static_cast<char>(unit));
    }
    return text;
  };
  EXPECT_EQ(doubleWord(), DWORD{WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT});
  EXPECT_EQ(doubleWord(), 0u) << "extended style";
  const WORD count = word();
  EXPECT_EQ(box(), (std::vector<int>{0, 0, 238, 98}));
  EXPECT_EQ(text(), "") << "no menu";
  EXPECT_EQ(text(), "") << "the platform's dialog class";
  EXPECT_EQ(text(), "Create Dial Up Networking Object");
  EXPECT_EQ(word(), 8) << "font size";
  EXPECT_EQ(text(), "MS Sans Serif");

  const struct {
    WORD id;
    const char* windowClass;
    const char* text;
    std::vector<int> box;
    DWORD style;
  } expected[] = {
      {IDC_MODEM_LIST,
       "#133",
       "",
       {31, 50, 152, 65},
       WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST},
      {IDC_MODEM_PROMPT, "#130", "", {27, 20, 194, 20}, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
      {IDOK, "#128", "&OK", {121, 76, 50, 15}, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
      {IDCANCEL,
       "#128",
       "&Cancel",
       {178, 76, 50, 15},
       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
  };
  ASSERT_EQ(count, std::size(expected));
  for (const auto& control : expected) {
    SCOPED_TRACE(control.id);
    at = (at + 1) & ~size_t{1};  // items start on a double word
    EXPECT_EQ(doubleWord(), control.style);
    EXPECT_EQ(doubleWord(), 0u) << "extended style";
    EXPECT_EQ(box(), control.box);
    EXPECT_EQ(word(), control.id);
    EXPECT_EQ(text(), control.windowClass);
    EXPECT_EQ(text(), control.text);
    EXPECT_EQ(word(), 0) << "no creation data";
  }
}

TEST(ProgramResources, IconHasEverySize) {
  const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME));
  std::vector<int> sizes;
  // After the 6-byte header, entries of 14 bytes, each naming its image's width (0 for 256)
  // first and the image's identifier last.
  for (size_t entry = 6; entry + 14 <= group.size(); entry += 14) {
    WORD id = 0;
    std::memcpy(&id, group.data() + entry + 12, sizeof id);
    EXPECT_FALSE(Resource(RT_ICON, MAKEINTRESOURCEA(id)).empty());
    sizes.push_back(group[entry] == 0 ? 256 : static_cast<BYTE>(group[entry]));
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 256}));
}

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
  for (const auto& [name, value] :
       {std::pair<const char*, const char*>{"FileVersion", DIALKIT_VERSION_TEXT},
        {"ProductName", "DIALKIT"},
        {"FileDescription", DIALKIT_DESCRIPTION},
        {"OriginalFilename", "dialkit.exe"}}) {
    char* text = nullptr;
    const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    ASSERT_TRUE(
        VerQueryValueA(information.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
        << name;
    EXPECT_STREQ(text, value);
  }
}

TEST(ProgramResources, ManifestRunsAsInvokerWithVersion6CommonControls) {
  const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
  for (const char* part : {"level=\"asInvoker\"", "name=\"Microsoft.Windows.Common-Controls\"",
                           "version=\"6.0.0.0\"", "<supportedOS Id="}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
}

}  // namespace
