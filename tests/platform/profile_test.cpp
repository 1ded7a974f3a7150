// The profile component against one table of platform behaviour. The same table runs against the
// POSIX build's own functions and, in the Windows build, against the real Win32 functions, which
// is where its rows come from. Each row gives the file's bytes, the call, and what the call
// returns and leaves in a buffer prefilled with a sentinel: every byte after the expected ones
// must still hold the sentinel, so a write past the expected bytes (or the capacity) shows.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "support/test_environment.h"
#include "support/test_files.h"

namespace {

using namespace std::string_view_literals;
using test::Utf16;

enum Call { kString, kSection, kInt };

struct ProfileRow {
  const char* what = "";
  std::string file;
  DWORD result = 0;        // the count returned, or the integer read's value
  std::string_view bytes;  // what the call leaves at the start of the buffer
  Call call = kString;
  DWORD capacity = 20;  // of the string and section reads
  // A mark, in the manner of Wine's own tests: the platform writes past the capacity, which the
  // POSIX build never does, so the Win32 functions are checked within the capacity only.
  bool platformOverruns = false;
  const char* key = "k";  // in section s; a string read's default is "dflt"
};

constexpr INT kIntDefault = -7;
constexpr DWORD kGotIntDefault = static_cast<DWORD>(kIntDefault);

// The integer read of `value` as the value of key k in section s.
ProfileRow Int(const char* what, const char* value, DWORD result) {
  return {what, std::string("[s]\r\nk=") + value + "\r\n", result, ""sv, kInt};
}

// Section s with 3,000 other keys first, more than a section's index holds, then `rest`.
std::string LongSection(const std::string& rest) {
  std::string file = "[s]\r\n";
  for (int i = 0; i < 3000; ++i) {
    file += "n" + std::to_string(i) + "=0\r\n";
  }
  return file + rest;
}

const std::string kLines = "[s]\r\na=1\r\n;c\r\nb\r\n\r\nc=\"q\"\r\n[t]\r\n";

const ProfileRow kRows[] = {
    // Names, blanks and quotes.
    {"blanks around names and values", " [ s ]\t\r\n\tk  =\t v  w \t\r\n", 4, "v  w\0"sv},
    {"matching quotes go, blanks inside stay", "[s]\r\nk= \" a \" \r\n", 3, " a \0"sv},
    {"quotes that do not match stay", "[s]\r\nk='abc\"\r\n", 5, "'abc\"\0"sv},
    {"the value runs to the line end", "[s]\r\nk=a=b ; c\r\n", 7, "a=b ; c\0"sv},
    {"bytes of the upper half as they are", "[s]\r\nk=\xE9\xFF\x81\r\n", 3, "\xE9\xFF\x81\0"sv},
    // UTF-16 files with their mark, handed over in the ANSI code page (Windows-1252).
    {"UTF-16BE, names in other case", Utf16(u"[S]\r\nK=v\r\n", false), 1, "v\0"sv},
    {"UTF-16LE without CR, no last end", Utf16(u"[s]\nk=v"), 1, "v\0"sv},
    {"UTF-16: characters of the code page, a best fit, none",
     Utf16(u"[s]\r\nk=\u00e9\u20ac\u0100\u4e2d\r\n"), 4, "\xE9\x80\x41?\0"sv},
    {"UTF-16 without its mark is no UTF-16", Utf16(u"[s]\r\nk=v\r\n", true, false), 4, "dflt\0"sv},
    // Comments, lines without '=', duplicates, keys before the first section.
    {"';' lines found by spelling", "[s]\r\n;c=1\r\nk=v\r\n", 1, "1\0"sv, kString, 20, false, ";c"},
    {"a key without '=' gives the default", "[s]\r\nk\r\n", 4, "dflt\0"sv},
    {"the first of duplicate keys", "[s]\r\nk=1\r\nk=2\r\n", 1, "1\0"sv},
    {"a duplicate section is not searched", "[s]\r\na=1\r\n[t]\r\n[s]\r\nk=2\r\n", 4, "dflt\0"sv},
    {"keys before the first section", "k=1\r\n[s]\r\n", 4, "dflt\0"sv},
    // Line ends.
    {"mixed ends, blank lines, no last end", "[s]\r\n\r\n\n\rk=v", 1, "v\0"sv},
    // Small capacities.
    {"capacity 0 touches nothing", "[s]\r\nk=value\r\n", 0, ""sv, kString, 0},
    // The section read.
    {"section lines, quotes kept", kLines, 12, "a=1\0b\0c=\"q\"\0\0"sv, kSection, 14},
    {"section cut", kLines, 10, "a=1\0b\0c=\"q\0\0"sv, kSection, 12},
    {"section, capacity 1", kLines, 0, "\0"sv, kSection, 1, true},
    {"an empty section", "[s]\r\n[t]\r\nx=1\r\n", 0, "\0\0"sv, kSection},
    {"the first of duplicate sections", "[s]\r\na=1\r\n[s]\r\nb=2\r\n", 4, "a=1\0\0"sv, kSection},
    // The integer read.
    Int("plus", "+1", 1),
    Int("blanks inside quotes, then a sign", "\" -3\"", 0xFFFFFFFD),
    Int("trailing text ignored", "12abc 3", 12),
    Int("no digits", "abc", 0),
    Int("2^32 wraps to 0", "4294967296", 0),
    Int("hexadecimal with 0x", "0x1A", 26),
    Int("a leading zero is decimal", "017", 17),
    Int("an empty value gives the default", "", kGotIntDefault),
    {"a missing key gives the default", "[s]\r\nj=1\r\n", kGotIntDefault, ""sv, kInt},
    // Keys past what a section's index holds.
    {"the first of a name past 3,000 keys", LongSection("K=1\r\nk=2\r\n"), 1, "1\0"sv},
    {"a name not there past 3,000 keys", LongSection("j=1\r\n[t]\r\nk=2\r\n"), 4, "dflt\0"sv},
};

TEST(Profile, ReadsAsThePlatformReads) {
  const test::PlatformUnderTest platform = test::CurrentPlatformUnderTest();
  const test::ScopedTempDirectory directory;
  const std::string file = directory.File("table.ini");
  const char* path = file.c_str();
  for (const ProfileRow& row : kRows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove(file);  // a new file, so that no platform keeps the last row's
    test::WriteFileBytes(file, row.file);
    std::string actual(40, '\xCC');
    const DWORD result =
        row.call == kInt ? GetPrivateProfileIntA("s", row.key, kIntDefault, path)
        : row.call == kSection
            ? GetPrivateProfileSectionA("s", actual.data(), row.capacity, path)
            : GetPrivateProfileStringA("s", row.key, "dflt", actual.data(), row.capacity, path);
    std::string expected(row.bytes);
    expected.resize(actual.size(), '\xCC');
    if (row.platformOverruns && platform != test::PlatformUnderTest::kOurs) {
      expected.resize(row.capacity);
      actual.resize(row.capacity);
    }
    EXPECT_EQ(result, row.result);
    EXPECT_EQ(actual, expected);
  }
}

// Writes hold on both builds: a file built by writes alone has the platform's own layout, and a
// value is found without regard to case or blanks.
TEST(Profile, WritesInThePlatformsLayoutAndEncoding) {
  const test::ScopedTempDirectory directory;
  const std::string path = directory.File("table.ini");
  EXPECT_TRUE(WritePrivateProfileStringA("App1", "key1", "string1", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("App1", "key2", "", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("App2", "key3", "string3", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA(" app1 ", "KEY1 ", "  new", path.c_str()));
  EXPECT_EQ(test::ReadFileBytes(path), "[App1]\r\nkey1=new\r\nkey2=\r\n[App2]\r\nkey3=string3\r\n");

  // A UTF-16 file stays UTF-16, little- or big-endian, its mark first, and a value in the ANSI
  // code page arrives as its characters.
  for (const bool littleEndian : {true, false}) {
    SCOPED_TRACE(littleEndian ? "little-endian" : "big-endian");
    test::WriteFileBytes(path, Utf16(u"[App1]\r\nkey1=a\r\n", littleEndian));
    EXPECT_TRUE(WritePrivateProfileStringA("App1", "key2", "\xE9\x80", path.c_str()));
    EXPECT_EQ(test::ReadFileBytes(path),
              Utf16(u"[App1]\r\nkey1=a\r\nkey2=\u00e9\u20ac\r\n", littleEndian));
  }
  // Where the file holds a character the code page lacks, the platform keeps it, since it edits
  // the file's own text; the POSIX build edits the text in the code page, so it refuses the write
  // and leaves the file as it was: a known difference.
  const bool ours = test::CurrentPlatformUnderTest() == test::PlatformUnderTest::kOurs;
  const std::string lacking = Utf16(u"[App1]\r\nkey1=\u4e2d\r\n");
  test::WriteFileBytes(path, lacking);
  EXPECT_EQ(WritePrivateProfileStringA("App1", "key2", "v", path.c_str()) != 0, !ours);
  EXPECT_EQ(test::ReadFileBytes(path),
            ours ? lacking : Utf16(u"[App1]\r\nkey1=\u4e2d\r\nkey2=v\r\n"));

  // A file in a missing directory: nothing is written, and a read gives the default untouched.
  const std::string missing = (directory.path() / "missing" / "a.ini").string();
  EXPECT_FALSE(WritePrivateProfileStringA("a", "x", "2", missing.c_str()));
  EXPECT_FALSE(std::filesystem::exists(missing));
  char value[16];
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "\"d\"", value, sizeof value, missing.c_str()), 3u);
  EXPECT_STREQ(value, "\"d\"");
}

}  // namespace
