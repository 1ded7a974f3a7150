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

// The executable's resources, without running it.
class ProgramResources : public testing::Test {
 protected:
  void SetUp() override {
    program_ = LoadLibraryExA(ProgramPath().c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program_, nullptr) << ProgramPath();
  }
  void TearDown() override {
    if (program_ != nullptr) {
      FreeLibrary(program_);
    }
  }

  // The bytes of resource `id` of `type`; empty when there is none.
  std::string Resource(LPCSTR type, LPCSTR id) const {
    HRSRC found = FindResourceA(program_, id, type);
    if (found == nullptr) {
      return {};
    }
    const void* bytes = LockResource(LoadResource(program_, found));
    return std::string(static_cast<const char*>(bytes), SizeofResource(program_, found));
  }

  HMODULE program_ = nullptr;
};

// Reads a dialog template (the platform's DLGTEMPLATE form) in order; past its end reads zeros.
class TemplateReader {
 public:
  explicit TemplateReader(const std::string& bytes) : bytes_(bytes) {}

  WORD Word() {
    WORD value = 0;
    if (offset_ + sizeof value <= bytes_.size()) {
      std::memcpy(&value, bytes_.data() + offset_, sizeof value);
    }
    offset_ += sizeof value;
    return value;
  }
  DWORD DoubleWord() {
    const WORD low = Word();
    return MAKELONG(low, Word());
  }
  // x, y, width, height.
  std::vector<int> Box() {
    std::vector<int> box;
    for (int i = 0; i < 4; ++i) {
      box.push_back(static_cast<short>(Word()));
    }
    return box;
  }
  // A text of UTF-16 units up to a zero (only ASCII is expected), or an ordinal as "#number".
  std::string Text() {
    std::string text;
    for (WORD unit = Word(); unit != 0; unit = Word()) {
      if (unit == 0xFFFF && text.empty()) {
        return "#" + std::to_string(Word());
      }
      text.push_back(static_cast<char>(unit));
    }
    return text;
  }
  void AlignToDoubleWord() { offset_ = (offset_ + 3) & ~size_t{3}; }
  bool Overran() const { return offset_ > bytes_.size(); }

 private:
  const std::string& bytes_;
  size_t offset_ = 0;
};

TEST_F(ProgramResources, ModemSelectDialogIsExactlyAsLaidOut) {
  const std::string bytes = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_MODEM_SELECT));
  ASSERT_FALSE(bytes.empty());
  TemplateReader reader(bytes);
  EXPECT_EQ(reader.DoubleWord(), DWORD{WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT});
  EXPECT_EQ(reader.DoubleWord(), 0u) << "extended style";
  const WORD count = reader.Word();
  EXPECT_EQ(reader.Box(), (std::vector<int>{0, 0, 238, 98}));
  EXPECT_EQ(reader.Text(), "") << "no menu";
  EXPECT_EQ(reader.Text(), "") << "the platform's dialog class";
  EXPECT_EQ(reader.Text(), "Create Dial Up Networking Object");
  EXPECT_EQ(reader.Word(), 8) << "font size";
  EXPECT_EQ(reader.Text(), "MS Sans Serif");

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
    reader.AlignToDoubleWord();
    EXPECT_EQ(reader.DoubleWord(), control.style);
    EXPECT_EQ(reader.DoubleWord(), 0u) << "extended style";
    EXPECT_EQ(reader.Box(), control.box);
    EXPECT_EQ(reader.Word(), control.id);
    EXPECT_EQ(reader.Text(), control.windowClass);
    EXPECT_EQ(reader.Text(), control.text);
    EXPECT_EQ(reader.Word(), 0) << "no creation data";
  }
  EXPECT_FALSE(reader.Overran());
}

TEST_F(ProgramResources, IconHasEverySizeAndEachImageLoads) {
  const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME));
  std::vector<int> sizes;
  // After the 6-byte header, entries of 14 bytes: width first (0 for 256), the image's id last.
  for (size_t entry = 6; entry + 14 <= group.size(); entry += 14) {
    const int size = group[entry] == 0 ? 256 : static_cast<BYTE>(group[entry]);
    WORD id = 0;
    std::memcpy(&id, group.data() + entry + 12, sizeof id);
    std::string image = Resource(RT_ICON, MAKEINTRESOURCEA(id));
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()),
                                          static_cast<DWORD>(image.size()), TRUE, 0x00030000, size,
                                          size, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr) << size;
    DestroyIcon(icon);
    sizes.push_back(size);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 256}));
}

TEST_F(ProgramResources, VersionInformationCarriesTheProjectVersion) {
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
  EXPECT_EQ(fixed->dwFileType, DWORD{VFT_APP});
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

TEST_F(ProgramResources, ManifestRunsAsInvokerWithVersion6CommonControls) {
  const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
  for (const char* part : {"level=\"asInvoker\"", "name=\"Microsoft.Windows.Common-Controls\"",
                           "version=\"6.0.0.0\"", "<supportedOS Id="}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
}

}  // namespace
