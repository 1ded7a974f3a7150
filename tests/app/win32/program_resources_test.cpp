// The resources of dialkit.exe as built, read back from the executable: the device selection
// dialog word by word as the dialog manager will read it (the resource compiler adds styles of its
// own to some statements, so only the compiled template tells what a user will get), the icon's
// images, the version information and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <initializer_list>
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

// A dialog template in the platform's DLGTEMPLATE form, written word by word.
class CTemplateWords {
 public:
  CTemplateWords& Words(std::initializer_list<int> values) {
    for (const int value : values) {
      words.push_back(static_cast<WORD>(value));
    }
    return *this;
  }
  CTemplateWords& DoubleWord(DWORD value) { return Words({LOWORD(value), HIWORD(value)}); }
  CTemplateWords& Text(const char* text) {  // ASCII only
    for (; *text != '\0'; ++text) {
      words.push_back(static_cast<WORD>(*text));
    }
    return Words({0});
  }
  CTemplateWords& Item(DWORD style, std::initializer_list<int> box, int id, int atom,
                       const char* text) {
    if (words.size() % 2 != 0) {
      words.push_back(0);  // items start on a double word
    }
    DoubleWord(style).DoubleWord(0).Words(box).Words({id, 0xFFFF, atom});
    return Text(text).Words({0});  // no creation data
  }

  std::vector<WORD> words;
};

TEST(ProgramResources, ModemSelectDialogIsExactlyAsLaidOut) {
  const std::string bytes = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_MODEM_SELECT));
  std::vector<WORD> words(bytes.size() / 2);
  std::memcpy(words.data(), bytes.data(), words.size() * 2);
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
  CTemplateWords expected;
  // Style, extended style, four items, the box, no menu, the platform's dialog class.
  expected.DoubleWord(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT).DoubleWord(0);
  expected.Words({4, 0, 0, 238, 98, 0, 0}).Text("Create Dial Up Networking Object");
  expected.Words({8}).Text("MS Sans Serif");
  expected.Item(kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, {31, 50, 152, 65},
                IDC_MODEM_LIST, 0x85, "");
  expected.Item(kChild | WS_GROUP | SS_LEFT, {27, 20, 194, 20}, IDC_MODEM_PROMPT, 0x82, "");
  expected.Item(kButton, {121, 76, 50, 15}, IDOK, 0x80, "&OK");
  expected.Item(kButton, {178, 76, 50, 15}, IDCANCEL, 0x80, "&Cancel");
  EXPECT_EQ(words.size(), expected.words.size());
  for (size_t i = 0; i < std::min(words.size(), expected.words.size()); ++i) {
    ASSERT_EQ(words[i], expected.words[i]) << "word " << i;
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
