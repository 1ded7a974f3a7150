// The command-line parse: grammar, keys and the three results, against real files in a
// temporary directory that is the current directory.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/result_codes.h"
#include "support/command_line_values.h"
#include "support/test_files.h"

namespace {

// The parse of `text` as one text, "RESULT PATH|CONNECT|VPN|ASK", with PATH as it lies in the
// current directory ("." for itself). The ask flag starts out of range, so that one left alone
// shows.
std::string Parse(const std::string& text) {
  test::ClearCommandLineValues();
  g_askForDevice = 7;
  const int32_t result = ParseCommandLine(text.c_str());
  const std::filesystem::path here = std::filesystem::current_path();
  std::string path = g_entryFilePath;
  if (path == here.string()) {
    path = ".";
  } else if (path.starts_with((here / "").string())) {
    path.erase(0, (here / "").string().size());
  }
  return std::to_string(result) + " " + path + "|" + g_mainEntryName + "|" + g_vpnEntryName + "|" +
         std::to_string(g_askForDevice);
}

TEST(CommandLine, ParsesKeysValuesAndResults) {
  const std::string longName(330, 'n');  // fits the value, not the full path
  const std::string longValue(400, 'm');
  const struct {
    std::string text;
    int32_t result;
    std::string values;  // "PATH|CONNECT|VPN|ASK" as Parse gives them
  } cases[] = {
      // Keys and values.
      {"INIT=a.ini CONNECT=MyISP", 0, "a.ini|MyISP||0"},
      {"connect = \"My ISP\"  init = \"a.ini\"", 0, "a.ini|My ISP||0"},
      {"Init=a.ini Connect=x Vpn=\"My VPN\"", 0, "a.ini|x|My VPN|0"},
      {"INIT=a.ini CONNECT=first CONNECT=second VPN=v1 VPN=v2", 0, "a.ini|second|v2|0"},
      {"\tINIT=a.ini\nCONNECT=x\t", 0, "a.ini|x||0"},
      {"INIT=a.ini CONNECT=x\r", 0, "a.ini|x\r||0"},  // carriage return is no blank
      {"INIT=a.ini CONNECT=x COLOR=blue", 0, "a.ini|x||0"},
      // INIT results.
      {"CONNECT=MyISP", kInitFileNotFound, "|MyISP||0"},
      {"INIT=a.ini INIT=missing.ini", kInitFileNotFound, "missing.ini|||0"},
      {"CONNECT=x INIT=missing.ini VPN=v", kInitFileNotFound, "missing.ini|x||0"},
      {"INIT= CONNECT=x", kInitFileNotFound, "CONNECT=x|||0"},  // blanks after = skipped
      {"INIT=\"\" CONNECT=x", 0, ".|x||0"},                     // empty: the current directory
      {"INIT=dir CONNECT=x", 0, "dir|x||0"},                    // a directory exists too
      {"CONNECT=x INIT=" + longName + " VPN=v", kInitPathNotFormed, "|x||0"},
      {"INIT=a.ini INIT=" + longName, kInitPathNotFormed, "a.ini|||0"},  // path kept
      // ASK.
      {"ASK INIT=a.ini CONNECT=x", 0, "a.ini|x||0"},
      {"INIT=a.ini CONNECT=x ASK=yes", 0, "a.ini|x||1"},
      {"INIT=a.ini CONNECT=x ASK=0", 0, "a.ini|x||1"},
      {"INIT=a.ini CONNECT=x ASK=1", 0, "a.ini|x||0"},
      {"INIT=a.ini CONNECT=x ASK=99999999999999999999", 0, "a.ini|x||0"},
      {"INIT=a.ini CONNECT=x ASK=0 ASK=1", 0, "a.ini|x||1"},  // only ever set
      // Options of other forms and words without a value.
      {"INIT=a.ini = CONNECT=x", 0, "a.ini|||0"},  // a lone = ends the parse
      // Values.
      {"INIT=a.ini CONNECT=\"My ISP", 0, "a.ini|My ISP||0"},
      {"INIT=a.ini CONNECT=\"\"", 0, "a.ini|||0"},
      {"INIT=a.ini CONNECT=a\"b=c", 0, "a.ini|a\"b=c||0"},
      {"INIT=a.ini CONNECT=\"x\"VPN=v", 0, "a.ini|x|v|0"},
      // Overlong keys and values are cut, and the rest of them passed over.
      {"INIT=a.ini " + std::string(40, 'K') + "=v CONNECT=x", 0, "a.ini|x||0"},
      {"CONNECT=" + longValue + " INIT=a.ini VPN=v", 0,
       "a.ini|" + longValue.substr(0, 339) + "|v|0"},
      {"INIT=a.ini VPN=\"" + std::string(350, ' ') + "\" CONNECT=c", 0,
       "a.ini|c|" + std::string(339, ' ') + "|0"},
  };
  // The run makes the executable's directory current before it parses.
  test::ScopedTempDirectory directory;
  test::ScopedCurrentDirectory current(directory.path());
  test::WriteFileBytes(directory.File("a.ini"), "[RasEntry]\n");
  std::filesystem::create_directory(directory.path() / "dir");
  for (const auto& c : cases) {
    EXPECT_EQ(Parse(c.text), std::to_string(c.result) + " " + c.values) << c.text.substr(0, 60);
  }
}

// The options, among keys in any order and letter case, and the parse's values, which are those
// of the text without them.
TEST(CommandLine, FindsTheOptionsWithoutChangingTheParse) {
  const struct {
    std::string text;
    std::string withoutOptions;
    std::string options;
  } cases[] = {
      {"-Q -Log:run.log /OVERWRITE connect=\"x /log:no.log\" init=a.ini",
       "connect=\"x /log:no.log\" init=a.ini", "quiet overwrite log:run.log"},
      {"INIT=a.ini /log:\"C:\\My Logs\\run.log\" CONNECT=x", "INIT=a.ini CONNECT=x",
       "log:C:\\My Logs\\run.log"},
      {"INIT=a.ini \"-log:/my logs/run.log\" CONNECT=x", "INIT=a.ini CONNECT=x",
       "log:/my logs/run.log"},
      {"/quieter /q:1 /overwrite:yes /log INIT=a.ini CONNECT=x --help", "INIT=a.ini CONNECT=x",
       "log: ignored:/quieter ignored:/q:1 ignored:/overwrite:yes ignored:/log ignored:--help"},
      {"INIT= /quiet CONNECT=x", "INIT= /quiet CONNECT=x", "log:"},  // INIT's value
      {"-REMOVE CONNECT=x /device:\"WAN Miniport (PPTP)\" \"/Device:a b\" /remove:yes", "CONNECT=x",
       "remove log: device:a b ignored:/remove:yes"},
      // Passed over: keys of no meaning (a quoted word's begins with the quote), bare keys, the
      // rest.
      {"INIT=a.ini \"VPN=My VPN\" ASK CONNECT=x /log:a=b VPN=v",
       "INIT=a.ini \"VPN=My VPN\" ASK CONNECT=x",
       "log:a=b ignored:\"VPN=My ignored:VPN\" ignored:ASK ignored:VPN=v"},
  };
  test::ScopedTempDirectory directory;
  test::ScopedCurrentDirectory current(directory.path());
  test::WriteFileBytes(directory.File("a.ini"), "[RasEntry]\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const CRunOptions options = ReadRunOptions(c.text.c_str());
    std::string found = std::string(options.quiet ? "quiet " : "") +
                        (options.overwrite ? "overwrite " : "") +
                        (options.remove ? "remove " : "") + "log:" + options.logFile;
    if (!options.device.empty()) {
      found += " device:" + options.device;
    }
    for (const CIgnoredWord& ignored : options.ignored) {
      found += " ignored:" + ignored.word;
    }
    EXPECT_EQ(found, c.options);
    EXPECT_EQ(Parse(c.text), Parse(c.withoutOptions));
  }
}

}  // namespace
