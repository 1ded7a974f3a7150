// The resources of dialkit.exe as built, read back from the executable: the device selection
// dialog field by field as the dialog manager will read it, the icon's images, the version
// information and the manifest. The resource compiler adds styles of its own to some statements,
// so only the compiled template tells what a user will get.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
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

// Reads a dialog template (the platform's DLGTEMPLATE form) in order, word by word.
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
  short Coordinate() { return static_cast<short>(Word()); }

  // A text of UTF-16 units up to a zero (past the end reads as zeros); only ASCII is expected.
  std::string Text() {
    std::string text;
    for (WORD unit = Word(); unit != 0; unit = Word()) {
      text.push_back(static_cast<char>(unit));
    }
    return text;
  }
  // A name or an ordinal: 0xFFFF and a number, or a text. `ordinal` is 0 for a text.
  std::string NameOrOrdinal(WORD* ordinal) {
    if (offset_ + 2 <= bytes_.size() && static_cast<unsigned char>(bytes_[offset_]) == 0xFF &&
        static_cast<unsigned char>(bytes_[offset_ + 1]) == 0xFF) {
      Word();
      *ordinal = Word();
      return {};
    }
    *ordinal = 0;
    return Text();
  }
  void AlignToDoubleWord() { offset_ = (offset_ + 3) & ~size_t{3}; }
  bool Overran() const { return offset_ > bytes_.size(); }

 private:
  const std::string& bytes_;
  size_t offset_ = 0;
};

struct ControlTemplate {
  WORD id;
  WORD classAtom;
  std::string text;
  short x, y, width, height;
  DWORD style;
};

TEST_F(ProgramResources, ModemSelectDialogIsExactlyAsLaidOut) {
  const std::string bytes = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_MODEM_SELECT));
  ASSERT_FALSE(bytes.empty());
  TemplateReader reader(bytes);
  EXPECT_EQ(reader.DoubleWord(), DWORD{WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT});
  EXPECT_EQ(reader.DoubleWord(), 0u) << "extended style";
  const WORD count = reader.Word();
  EXPECT_EQ(reader.Coordinate(), 0);
  EXPECT_EQ(reader.Coordinate(), 0);
  EXPECT_EQ(reader.Coordinate(), 238);
  EXPECT_EQ(reader.Coordinate(), 98);
  WORD ordinal = 0;
  EXPECT_EQ(reader.NameOrOrdinal(&ordinal), "") << "no menu";
  EXPECT_EQ(reader.NameOrOrdinal(&ordinal), "") << "the platform's dialog class";
  EXPECT_EQ(reader.Text(), "Create Dial Up Networking Object");
  EXPECT_EQ(reader.Word(), 8) << "font size";
  EXPECT_EQ(reader.Text(), "MS Sans Serif");

  const ControlTemplate expected[] = {
      {IDC_MODEM_LIST, 0x0085, "", 31, 50, 152, 65,
       WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST},
      {IDC_MODEM_PROMPT, 0x0082, "", 27, 20, 194, 20, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
      {IDOK, 0x0080, "&OK", 121, 76, 50, 15, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
      {IDCANCEL, 0x0080, "&Cancel", 178, 76, 50, 15,
       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
  };
  ASSERT_EQ(count, std::size(expected));
  for (const ControlTemplate& control : expected) {
    SCOPED_TRACE(control.id);
    reader.AlignToDoubleWord();
    EXPECT_EQ(reader.DoubleWord(), control.style);
    EXPECT_EQ(reader.DoubleWord(), 0u) << "extended style";
    EXPECT_EQ(reader.Coordinate(), control.x);
    EXPECT_EQ(reader.Coordinate(), control.y);
    EXPECT_EQ(reader.Coordinate(), control.width);
    EXPECT_EQ(reader.Coordinate(), control.height);
    EXPECT_EQ(reader.Word(), control.id);
    EXPECT_EQ(reader.NameOrOrdinal(&ordinal), "");
    EXPECT_EQ(ordinal, control.classAtom);
    EXPECT_EQ(reader.NameOrOrdinal(&ordinal), control.text);
    EXPECT_EQ(reader.Word(), 0) << "no creation data";
  }
  EXPECT_FALSE(reader.Overran());
}

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width;  // 0 stands for 256
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST_F(ProgramResources, IconHasEverySizeAndEachImageLoads) {
  const std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_GE(group.size(), 6u);
  WORD header[3] = {};
  std::memcpy(header, group.data(), sizeof header);
  EXPECT_EQ(header[1], 1) << "an icon, not a cursor";
  ASSERT_EQ(group.size(), 6 + header[2] * sizeof(IconGroupEntry));
  std::vector<int> sizes;
  for (WORD i = 0; i < header[2]; ++i) {
    IconGroupEntry entry = {};
    std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
    const int size = entry.width == 0 ? 256 : entry.width;
    sizes.push_back(size);
    SCOPED_TRACE(size);
    EXPECT_EQ(entry.bitCount, 32);
    std::string image = Resource(RT_ICON, MAKEINTRESOURCEA(entry.id));
    ASSERT_EQ(image.size(), entry.bytes);
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()),
                                          static_cast<DWORD>(image.size()), TRUE, 0x00030000, size,
                                          size, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) {
      DestroyIcon(icon);
    }
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 256}));
}

TEST_F(ProgramResources, VersionInformationCarriesTheProjectVersion) {
  const std::string path = ProgramPath();
  DWORD ignored = 0;
  std::vector<char> information(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  ASSERT_FALSE(information.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(information.size()),
                                  information.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(information.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  const DWORD version = MAKELONG(DIALKIT_VERSION_MINOR, DIALKIT_VERSION_MAJOR);
  EXPECT_EQ(fixed->dwFileVersionMS, version);
  EXPECT_EQ(fixed->dwProductVersionMS, version);
  EXPECT_EQ(fixed->dwFileVersionLS, DWORD{MAKELONG(0, DIALKIT_VERSION_PATCH)});
  EXPECT_EQ(fixed->dwFileType, DWORD{VFT_APP});

  const struct {
    const char* name;
    std::string value;
  } texts[] = {
      {"FileVersion", DIALKIT_VERSION_TEXT},
      {"ProductVersion", DIALKIT_VERSION_TEXT},
      {"ProductName", "DIALKIT"},
      {"FileDescription", DIALKIT_DESCRIPTION},
      {"CompanyName", "DIALKIT developers"},
      {"OriginalFilename", "dialkit.exe"},
  };
  for (const auto& text : texts) {
    SCOPED_TRACE(text.name);
    char* value = nullptr;
    const std::string key = std::string("\\StringFileInfo\\040904B0\\") + text.name;
    ASSERT_TRUE(
        VerQueryValueA(information.data(), key.c_str(), reinterpret_cast<void**>(&value), &length));
    EXPECT_EQ(std::string(value), text.value);
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
