// The profile component against one table of platform behaviour. The same table runs against the
// POSIX build's own functions and, in the Windows build, against the real Win32 functions, which
// is where its rows come from. Each row gives the file's bytes, the call, and what the call
// returns and leaves in a buffer prefilled with a sentinel: every byte after the expected ones
// must still hold the sentinel, so a write past the expected bytes (or the capacity) shows.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "support/platform_under_test.h"
#include "support/test_files.h"

namespace {

using namespace std::string_view_literals;

enum Call { kString, kInt, kSection };

// Marks, in the manner of Wine's own tests: a marked row stays in the table.
enum Mark {
  kSame,
  // Wine gives something else than Windows (known from Wine's own conformance tests): under Wine
  // the row is expected to fail, and reports when Wine starts to pass it.
  kWineDiffers,
  // The platform writes past the capacity; the POSIX build never does. The Win32 functions are
  // checked within the capacity only.
  kPlatformOverruns,
};

struct ProfileRow {
  const char* what;
  std::optional<std::string_view> file;  // no value: no file at all
  Call call;
  const char* section;
  const char* key;
  const char* defaultText;  // of the string read
  DWORD capacity;           // of the string and section reads
  DWORD result;             // the count returned, or the integer read's value
  std::string_view bytes;   // what the call leaves at the start of the buffer
  Mark mark = kSame;
};

constexpr INT kIntDefault = -7;
constexpr DWORD kGotIntDefault = static_cast<DWORD>(kIntDefault);
constexpr char kSentinel = '\xCC';

constexpr std::string_view kValue = "[s]\r\nk=value\r\n";
constexpr std::string_view kQuoted = "[s]\r\nk=\"abc\"\r\n";
constexpr std::string_view kLines = "[s]\r\na=1\r\n;c\r\nb\r\n\r\nc=\"q\"\r\n[t]\r\n";

const ProfileRow kRows[] = {
    // Names, blanks and quotes.
    {"names ignore letter case", "[Sec]\r\nKey=v\r\n", kString, "sEC", "kEY", "dflt", 20, 1,
     "v\0"sv},
    {"blanks around names and values", " [ s ] \r\n  k  =  v  w  \r\n", kString, "s", "k", "dflt",
     20, 4, "v  w\0"sv},
    {"tab, VT, FF and ^Z are blanks", "\t[s]\t\r\n\tk\t=\x0b\x0cv\x1a\t\r\n", kString, "s", "k",
     "dflt", 20, 1, "v\0"sv},
    {"blanks around the caller's names", "[s]\r\nk=v\r\n", kString, " s ", "\tk ", "dflt", 20, 1,
     "v\0"sv},
    {"matching double quotes removed", kQuoted, kString, "s", "k", "dflt", 20, 3, "abc\0"sv},
    {"matching single quotes removed", "[s]\r\nk='abc'\r\n", kString, "s", "k", "dflt", 20, 3,
     "abc\0"sv},
    {"blanks inside quotes kept", "[s]\r\nk= \" a \" \r\n", kString, "s", "k", "dflt", 20, 3,
     " a \0"sv},
    {"quotes that do not match stay", "[s]\r\nk='abc\"\r\n", kString, "s", "k", "dflt", 20, 5,
     "'abc\"\0"sv},
    {"a pair of quotes alone is empty", "[s]\r\nk=\"\"\r\n", kString, "s", "k", "dflt", 20, 0,
     "\0"sv},
    {"the value runs to the line end", "[s]\r\nk=a=b ; c\r\n", kString, "s", "k", "dflt", 20, 7,
     "a=b ; c\0"sv},
    {"bytes of the upper half as they are", "[s]\r\nk=\xE9\xFF\x81\r\n", kString, "s", "k", "dflt",
     20, 3, "\xE9\xFF\x81\0"sv},
    {"byte order mark skipped", "\xEF\xBB\xBF[s]\r\nk=v\r\n", kString, "s", "k", "dflt", 20, 1,
     "v\0"sv},
    // Comments, lines without '=', duplicates, keys before the first section.
    {"';' lines found by their spelling", "[s]\r\n;c=1\r\nk=v\r\n", kString, "s", ";c", "dflt", 20,
     1, "1\0"sv},
    {"'#' starts no comment", "[s]\r\n#c=1\r\n", kString, "s", "#c", "dflt", 20, 1, "1\0"sv},
    {"a key without '=' gives the default", "[s]\r\nk\r\n", kString, "s", "k", "dflt", 20, 4,
     "dflt\0"sv},
    {"an empty value is not the default", "[s]\r\nk=\r\n", kString, "s", "k", "dflt", 20, 0,
     "\0"sv},
    {"the first of duplicate keys", "[s]\r\nk=1\r\nk=2\r\n", kString, "s", "k", "dflt", 20, 1,
     "1\0"sv},
    {"a duplicate section is not searched", "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n", kString, "s",
     "b", "dflt", 20, 4, "dflt\0"sv},
    {"keys before the first section", "k=1\r\n[s]\r\n", kString, "s", "k", "dflt", 20, 4,
     "dflt\0"sv},
    {"'[' without ']' is a key line", "[s]\r\n[t\r\nk=v\r\n", kString, "s", "k", "dflt", 20, 1,
     "v\0"sv},
    {"a header ends at its last ']'", "[s]x]\r\nk=v\r\n", kString, "s]x", "k", "dflt", 20, 1,
     "v\0"sv},
    // Line ends.
    {"LF line ends", "[s]\nk=v\n", kString, "s", "k", "dflt", 20, 1, "v\0"sv},
    {"CR line ends", "[s]\rk=v\r", kString, "s", "k", "dflt", 20, 1, "v\0"sv},
    {"mixed ends, blank lines, no last end", "[s]\r\n\r\n\n\rk=v", kString, "s", "k", "dflt", 20, 1,
     "v\0"sv},
    // The default text.
    {"a missing file gives the default", std::nullopt, kString, "s", "k", "dflt", 20, 4,
     "dflt\0"sv},
    {"trailing spaces of the default go", "[s]\r\n", kString, "s", "k", "  d \t  ", 20, 5,
     "  d \t\0"sv},
    {"quotes around the default go", "[s]\r\n", kString, "s", "k", "\"d\"", 20, 1, "d\0"sv},
    // Small capacities.
    {"capacity 0 touches nothing", kValue, kString, "s", "k", "dflt", 0, 0, ""sv},
    {"capacity 1", kValue, kString, "s", "k", "dflt", 1, 0, "\0"sv},
    {"capacity 2", kValue, kString, "s", "k", "dflt", 2, 1, "v\0"sv},
    {"capacity of the value's length", kValue, kString, "s", "k", "dflt", 5, 4, "valu\0"sv},
    {"capacity of the length and one", kValue, kString, "s", "k", "dflt", 6, 5, "value\0"sv},
    {"quoted, capacity of the inner length", kQuoted, kString, "s", "k", "dflt", 3, 2, "ab\0"sv},
    {"quoted, closing quote cut first", kQuoted, kString, "s", "k", "dflt", 4, 2, "ab\0"sv},
    {"quoted, capacity that fits", kQuoted, kString, "s", "k", "dflt", 5, 3, "abc\0"sv},
    // A null key lists the keys, a null section the sections.
    {"keys with values, comments left out", "[s]\r\na=1\r\n;c=2\r\nb\r\nc=\r\n", kString, "s",
     nullptr, "dflt", 20, 4, "a\0c\0\0"sv},
    {"a cut key list keeps both zeros", "[s]\r\nname1=1\r\nname2=2\r\nname4=3\r\n", kString, "s",
     nullptr, "dflt", 16, 14, "name1\0name2\0na\0\0"sv, kWineDiffers},
    {"no keys to list: the whole default", "[s]\r\nb\r\n", kString, "s", nullptr, "d  ", 20, 3,
     "d  \0"sv},
    {"sections, duplicates included", "x=1\r\n[a]\r\n[b]\r\n[]\r\n[a]\r\n", kString, nullptr,
     nullptr, "dflt", 20, 6, "a\0b\0a\0\0"sv},
    {"a cut section list keeps both zeros", "[section1]\r\n[section2]\r\n", kString, nullptr,
     nullptr, "dflt", 16, 14, "section1\0secti\0\0"sv, kWineDiffers},
    {"an exactly filling list counts as cut", "[section1]\r\n[section2]\r\n[section3]\r\n", kString,
     nullptr, nullptr, "dflt", 28, 26, "section1\0section2\0section3\0\0"sv, kWineDiffers},
    {"no file, no sections", std::nullopt, kString, nullptr, nullptr, "dflt", 20, 0, "\0"sv},
    // The section read.
    {"lines of a section, quotes kept", kLines, kSection, "s", nullptr, nullptr, 14, 12,
     "a=1\0b\0c=\"q\"\0\0"sv},
    {"section filling exactly counts as cut", kLines, kSection, "s", nullptr, nullptr, 13, 11,
     "a=1\0b\0c=\"q\"\0\0"sv},
    {"section cut", kLines, kSection, "s", nullptr, nullptr, 12, 10, "a=1\0b\0c=\"q\0\0"sv},
    {"section, capacity 2", kLines, kSection, "s", nullptr, nullptr, 2, 0, "\0\0"sv},
    {"section, capacity 1", kLines, kSection, "s", nullptr, nullptr, 1, 0, "\0"sv,
     kPlatformOverruns},
    {"an empty section", "[s]\r\n[t]\r\nx=1\r\n", kSection, "s", nullptr, nullptr, 20, 0, "\0\0"sv},
    {"a section of comments only", "[s]\r\n;a=1\r\n; b\r\n", kSection, "s", nullptr, nullptr, 20, 0,
     "\0\0"sv},
    {"a section in a missing file", std::nullopt, kSection, "s", nullptr, nullptr, 20, 0, "\0\0"sv},
    {"an empty section, capacity 1", "[s]\r\n", kSection, "s", nullptr, nullptr, 1, 0, "\0"sv,
     kPlatformOverruns},
    {"section, the caller's blanks count", "[s]\r\na=1\r\n", kSection, " s ", nullptr, nullptr, 20,
     0, "\0\0"sv},
    {"only the first of duplicate sections", "[s]\r\na=1\r\n[s]\r\nb=2\r\n", kSection, "s", nullptr,
     nullptr, 20, 4, "a=1\0\0"sv},
    {"a second unnamed key in a row dropped", "[s]\r\n=1\r\n=2\r\na=3\r\n=4\r\n", kSection, "s",
     nullptr, nullptr, 20, 10, "=1\0a=3\0=4\0\0"sv},
    // The integer read.
    {"decimal", "[s]\r\nk=1\r\n", kInt, "s", "k", nullptr, 0, 1, ""sv},
    {"minus wraps around", "[s]\r\nk=-1\r\n", kInt, "s", "k", nullptr, 0, 0xFFFFFFFF, ""sv},
    {"plus", "[s]\r\nk=+1\r\n", kInt, "s", "k", nullptr, 0, 1, ""sv},
    {"blanks inside quotes, then a sign", "[s]\r\nk=\" -3\"\r\n", kInt, "s", "k", nullptr, 0,
     0xFFFFFFFD, ""sv},
    {"two signs", "[s]\r\nk=+-1\r\n", kInt, "s", "k", nullptr, 0, 0, ""sv},
    {"trailing text ignored", "[s]\r\nk=12abc 3\r\n", kInt, "s", "k", nullptr, 0, 12, ""sv},
    {"no digits", "[s]\r\nk=abc\r\n", kInt, "s", "k", nullptr, 0, 0, ""sv},
    {"2^32 wraps to 0", "[s]\r\nk=4294967296\r\n", kInt, "s", "k", nullptr, 0, 0, ""sv},
    {"2^32 + 1 wraps to 1", "[s]\r\nk=4294967297\r\n", kInt, "s", "k", nullptr, 0, 1, ""sv},
    {"hexadecimal with 0x", "[s]\r\nk=0x1A\r\n", kInt, "s", "k", nullptr, 0, 26, ""sv},
    {"0X is no prefix", "[s]\r\nk=0X1A\r\n", kInt, "s", "k", nullptr, 0, 0, ""sv},
    {"binary with 0b", "[s]\r\nk=0b101\r\n", kInt, "s", "k", nullptr, 0, 5, ""sv},
    {"a leading zero is decimal", "[s]\r\nk=017\r\n", kInt, "s", "k", nullptr, 0, 17, ""sv},
    {"only 29 characters read", "[s]\r\nk=000000000000000000000000000001\r\n", kInt, "s", "k",
     nullptr, 0, 0, ""sv},
    {"an empty value gives the default", "[s]\r\nk=\r\n", kInt, "s", "k", nullptr, 0,
     kGotIntDefault, ""sv},
    {"a missing key gives the default", "[s]\r\nj=1\r\n", kInt, "s", "k", nullptr, 0,
     kGotIntDefault, ""sv},
    {"a missing file gives the default", std::nullopt, kInt, "s", "k", nullptr, 0, kGotIntDefault,
     ""sv},
    {"a null key reads the first key name", "[s]\r\n12=a\r\n", kInt, "s", nullptr, nullptr, 0, 12,
     ""sv},
};

class ProfileTable : public ::testing::Test {
 protected:
  std::string Path() const { return directory_.File("table.ini"); }

  test::ScopedTempDirectory directory_;
};

TEST_F(ProfileTable, ReadsAsThePlatformReads) {
  const test::PlatformUnderTest platform = test::CurrentPlatformUnderTest();
  for (const ProfileRow& row : kRows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove(Path());
    if (row.file) {
      test::WriteFileBytes(Path(), std::string(*row.file));
    }
    std::array<char, 40> buffer;
    buffer.fill(kSentinel);
    DWORD result = 0;
    switch (row.call) {
      case kString:
        result = GetPrivateProfileStringA(row.section, row.key, row.defaultText, buffer.data(),
                                          row.capacity, Path().c_str());
        break;
      case kInt:
        result = GetPrivateProfileIntA(row.section, row.key, kIntDefault, Path().c_str());
        break;
      case kSection:
        result =
            GetPrivateProfileSectionA(row.section, buffer.data(), row.capacity, Path().c_str());
        break;
    }
    std::string expected(row.bytes);
    expected.resize(buffer.size(), kSentinel);
    std::string actual(buffer.begin(), buffer.end());
    if (row.mark == kPlatformOverruns && platform != test::PlatformUnderTest::kOurs) {
      expected.resize(row.capacity);
      actual.resize(row.capacity);
    }
    if (row.mark == kWineDiffers && platform == test::PlatformUnderTest::kWine) {
      EXPECT_FALSE(result == row.result && actual == expected)
          << "Wine now gives what Windows gives: remove the mark";
      continue;
    }
    EXPECT_EQ(result, row.result);
    EXPECT_EQ(actual, expected);
  }
}

TEST_F(ProfileTable, AFileThatCannotBeOpenedGivesTheDefaultUntouched) {
  const std::string unreachable = (directory_.path() / "missing" / "a.ini").string();
  char value[16];
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "\"d\"", value, sizeof value, unreachable.c_str()),
            3u);
  EXPECT_STREQ(value, "\"d\"");
}

// Writes hold on both builds: a file built by writes alone has the platform's own layout, and
// every write reads back.
class ProfileWrite : public ProfileTable {
 protected:
  std::string Read(const char* section, const char* key) const {
    char value[64];
    GetPrivateProfileStringA(section, key, "(none)", value, sizeof value, Path().c_str());
    return value;
  }
};

TEST_F(ProfileWrite, BuildsANewFileInThePlatformsLayout) {
  const std::string path = Path();
  EXPECT_TRUE(WritePrivateProfileStringA("App1", "key1", "string1", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("App1", "key2", "", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("App2", "key3", "string3", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("App1", "key1", "new", path.c_str()));
  EXPECT_EQ(test::ReadFileBytes(path), "[App1]\r\nkey1=new\r\nkey2=\r\n[App2]\r\nkey3=string3\r\n");
  EXPECT_EQ(Read("App1", "key2"), "");
}

TEST_F(ProfileWrite, ReplacesTheValueFoundWithoutRegardToCaseOrBlanks) {
  test::WriteFileBytes(Path(), "[Modem Selection]\r\nDeviceType=modem\r\n");
  EXPECT_TRUE(
      WritePrivateProfileStringA(" modem selection ", "DEVICETYPE ", "  isdn", Path().c_str()));
  EXPECT_EQ(test::ReadFileBytes(Path()), "[Modem Selection]\r\nDeviceType=isdn\r\n");
  EXPECT_EQ(Read("Modem Selection", "DeviceType"), "isdn");
}

TEST_F(ProfileWrite, NullValueDeletesTheKeyAndNullKeyTheSection) {
  test::WriteFileBytes(Path(), "[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n");
  EXPECT_TRUE(WritePrivateProfileStringA("A", "X", nullptr, Path().c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("B", nullptr, nullptr, Path().c_str()));
  EXPECT_EQ(Read("a", "x"), "(none)");
  EXPECT_EQ(Read("a", "y"), "2");
  char lines[16];
  EXPECT_EQ(GetPrivateProfileSectionA("b", lines, sizeof lines, Path().c_str()), 0u);
  EXPECT_EQ(test::ReadFileBytes(Path()), "[a]\r\ny=2\r\n");
}

TEST_F(ProfileWrite, FailsWithoutSectionOrDirectory) {
  test::WriteFileBytes(Path(), "[a]\r\nx=1\r\n");
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "x", "2", Path().c_str()));
  EXPECT_EQ(test::ReadFileBytes(Path()), "[a]\r\nx=1\r\n");
  const std::string missing = (directory_.path() / "missing" / "a.ini").string();
  EXPECT_FALSE(WritePrivateProfileStringA("a", "x", "2", missing.c_str()));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
