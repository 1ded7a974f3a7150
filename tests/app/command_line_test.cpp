// The command-line parse: grammar, keys and the three results, against real files in a
// temporary directory that is the current directory, as the run makes the executable's
// directory current before it parses.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/result_codes.h"
#include "support/test_files.h"

namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  CommandLineTest() : current_(directory_.path()) {
    test::WriteFileBytes(directory_.File("a.ini"), "[RasEntry]\n");
    std::filesystem::create_directory(directory_.path() / "dir");
    // The values start out empty in a process; each test is a process of its own here.
    g_entryFilePath[0] = g_mainEntryName[0] = g_vpnEntryName[0] = '\0';
    g_askForDevice = 7;
  }

  // The full path the parse must form for a name in the current directory.
  std::string FullPath(const std::string& name) const {
    return name.empty() ? std::filesystem::current_path().string()
                        : (std::filesystem::current_path() / name).string();
  }

  test::ScopedTempDirectory directory_;
  test::ScopedCurrentDirectory current_;
};

struct ParseCase {
  const char* text;
  int32_t result;
  const char* entryFile;  // name whose full path g_entryFilePath holds; null: empty
  const char* mainName;
  const char* vpnName;
  int32_t ask;
};

const ParseCase kParseCases[] = {
    // Keys and values.
    {"INIT=a.ini CONNECT=MyISP", 0, "a.ini", "MyISP", "", 0},
    {"connect = \"My ISP\"  init = \"a.ini\"", 0, "a.ini", "My ISP", "", 0},
    {"Init=a.ini Connect=x Vpn=\"My VPN\"", 0, "a.ini", "x", "My VPN", 0},
    {"INIT=a.ini CONNECT=first CONNECT=second VPN=v1 VPN=v2", 0, "a.ini", "second", "v2", 0},
    {"\tINIT=a.ini\nCONNECT=x\t", 0, "a.ini", "x", "", 0},
    {"INIT=a.ini CONNECT=x COLOR=blue", 0, "a.ini", "x", "", 0},
    // INIT results.
    {"INIT=missing.ini CONNECT=MyISP", kInitFileNotFound, "missing.ini", "", "", 0},
    {"CONNECT=MyISP", kInitFileNotFound, nullptr, "MyISP", "", 0},
    {"", kInitFileNotFound, nullptr, "", "", 0},
    {"INIT=a.ini INIT=missing.ini", kInitFileNotFound, "missing.ini", "", "", 0},
    {"INIT=missing.ini INIT=a.ini", kInitFileNotFound, "missing.ini", "", "", 0},
    {"CONNECT=x INIT=missing.ini VPN=v", kInitFileNotFound, "missing.ini", "x", "", 0},
    {"INIT= CONNECT=x", kInitFileNotFound, "CONNECT=x", "", "", 0},  // blanks after = skipped
    {"INIT=\"\" CONNECT=x", 0, "", "x", "", 0},                      // empty: the current directory
    {"INIT=dir CONNECT=x", 0, "dir", "x", "", 0},                    // a directory exists too
    {"INIT=dir/../a.ini CONNECT=x", 0, "a.ini", "x", "", 0},
    // ASK.
    {"ASK INIT=a.ini CONNECT=x", 0, "a.ini", "x", "", 0},
    {"INIT=a.ini CONNECT=x ASK=yes", 0, "a.ini", "x", "", 1},
    {"INIT=a.ini CONNECT=x ASK=0", 0, "a.ini", "x", "", 1},
    {"INIT=a.ini CONNECT=x ASK= -0", 0, "a.ini", "x", "", 1},
    {"INIT=a.ini CONNECT=x ASK=", 0, "a.ini", "x", "", 1},
    {"INIT=a.ini CONNECT=x ASK=1", 0, "a.ini", "x", "", 0},
    {"INIT=a.ini CONNECT=x ASK=7", 0, "a.ini", "x", "", 0},
    {"INIT=a.ini CONNECT=x ASK=99999999999999999999", 0, "a.ini", "x", "", 0},
    {"INIT=a.ini CONNECT=x ASK=0 ASK=1", 0, "a.ini", "x", "", 1},  // only ever set
    // Options of other forms and words without a value.
    {"/s INIT=a.ini CONNECT=x", 0, "a.ini", "x", "", 0},
    {"-q INIT=a.ini CONNECT=x", 0, "a.ini", "x", "", 0},
    {"/x=1 INIT=a.ini CONNECT=x", kInitFileNotFound, nullptr, "", "", 0},
    {"INIT=a.ini = CONNECT=x", 0, "a.ini", "", "", 0},  // a lone = ends the parse
    {"stray INIT=a.ini CONNECT=x", 0, "a.ini", "x", "", 0},
    // Values.
    {"INIT=a.ini CONNECT= VPN=x", 0, "a.ini", "VPN=x", "", 0},
    {"INIT=a.ini CONNECT=\"My ISP", 0, "a.ini", "My ISP", "", 0},
    {"INIT=a.ini CONNECT=\"\"", 0, "a.ini", "", "", 0},
    {"INIT=a.ini CONNECT=a\"b=c", 0, "a.ini", "a\"b=c", "", 0},
    {"INIT=a.ini CONNECT=\"x\"VPN=v", 0, "a.ini", "x", "v", 0},
};

TEST_F(CommandLineTest, ParsesKeysValuesAndResults) {
  for (const ParseCase& c : kParseCases) {
    SCOPED_TRACE(c.text);
    g_entryFilePath[0] = g_mainEntryName[0] = g_vpnEntryName[0] = '\0';
    g_askForDevice = 7;
    EXPECT_EQ(ParseCommandLine(c.text), c.result);
    EXPECT_EQ(g_entryFilePath, c.entryFile != nullptr ? FullPath(c.entryFile) : "");
    EXPECT_STREQ(g_mainEntryName, c.mainName);
    EXPECT_STREQ(g_vpnEntryName, c.vpnName);
    EXPECT_EQ(g_askForDevice, c.ask);
  }
}

TEST_F(CommandLineTest, OverlongInitPathGives6000AndKeepsEarlierPath) {
  const std::string longName(330, 'n');  // fits the value, not the full path
  std::strcpy(g_entryFilePath, "earlier");
  EXPECT_EQ(ParseCommandLine(("CONNECT=x INIT=" + longName + " VPN=v").c_str()),
            kInitPathNotFormed);
  EXPECT_STREQ(g_entryFilePath, "earlier");
  EXPECT_STREQ(g_mainEntryName, "x");
  EXPECT_STREQ(g_vpnEntryName, "");

  EXPECT_EQ(ParseCommandLine(("INIT=a.ini INIT=" + longName).c_str()), kInitPathNotFormed);
  EXPECT_EQ(g_entryFilePath, FullPath("a.ini"));
}

TEST_F(CommandLineTest, CutsOverlongKeysAndValuesAndStaysInStep) {
  // The rest of an overlong key is passed over, so its equals sign and value are found.
  EXPECT_EQ(ParseCommandLine(("INIT=a.ini " + std::string(40, 'K') + "=v CONNECT=x").c_str()), 0);
  EXPECT_STREQ(g_mainEntryName, "x");

  // A value is cut to 339 characters and the next key is read after the rest of it.
  const std::string name(400, 'm');
  EXPECT_EQ(ParseCommandLine(("CONNECT=" + name + " INIT=a.ini VPN=v").c_str()), 0);
  EXPECT_EQ(std::string(g_mainEntryName), name.substr(0, 339));
  EXPECT_STREQ(g_vpnEntryName, "v");
  const std::string quoted = "\"" + std::string(350, ' ') + "\"";
  EXPECT_EQ(ParseCommandLine(("INIT=a.ini VPN=" + quoted + " CONNECT=c").c_str()), 0);
  EXPECT_EQ(std::string(g_vpnEntryName), std::string(339, ' '));
  EXPECT_STREQ(g_mainEntryName, "c");
}

struct TokenCase {
  const char* text;
  const char* set;
  size_t capacity;
  bool span;  // CopySpan, else CopyToken
  const char* copied;
  size_t consumed;
};

const TokenCase kTokenCases[] = {
    {"  \tword", " \t\n", 2, true, " ", 3},  // the rest of the run is passed over
    {"  \tword", " \t\n", 1, true, "", 3},
    {"word", " \t\n", 31, true, "", 0},
    {"key=value", " \t=", 3, false, "ke", 3},
    {"key=value", " \t=", 4, false, "key", 3},
    {"", " \t=", 31, false, "", 0},
    {"\r\n", " \t\n", 31, true, "", 0},  // carriage return is no blank
};

TEST(CommandLineTokenizer, CopiesBoundedRunsAndPassesOverTheRest) {
  for (const TokenCase& c : kTokenCases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" capacity " << c.capacity);
    char destination[32];
    std::memset(destination, 'X', sizeof destination);
    const char* end = c.span ? CopySpan(destination, c.capacity, c.text, c.set)
                             : CopyToken(destination, c.capacity, c.text, c.set);
    EXPECT_EQ(static_cast<size_t>(end - c.text), c.consumed);
    EXPECT_STREQ(destination, c.copied);
    EXPECT_EQ(destination[c.capacity], 'X');  // nothing written past the capacity
  }
}

}  // namespace
