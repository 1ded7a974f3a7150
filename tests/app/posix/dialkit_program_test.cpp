// The tool's own program, started as a person starts it: copied into a directory of its own,
// started from another directory with a relative INIT, with a pseudo-terminal as its terminal,
// against a stand-in system of the test's own. Questions are answered with keys; afterwards the
// phone book and the settings file are checked, not only the screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/run_fixtures.h"
#include "platform/file_system.h"
#include "support/posix/pseudo_terminal.h"

namespace {

namespace fs = std::filesystem;

constexpr char kEnter[] = "\r";
const std::string kSettings = std::string("; installer's choice\n") + test::kRemembered;
const std::vector<std::string> kTypicalArguments = {"INIT=isp.ini", "CONNECT=My ISP", "VPN=My VPN"};

struct ProgramCase {
  const char* name;
  std::vector<std::string> arguments = kTypicalArguments;
  std::vector<test::Device> devices = test::kTypicalDevices;
  const std::string* settings = &kSettings;  // dialkit.ini beforehand; null: none
  std::vector<std::string> existing = {};    // entries stored beforehand
  const char* failingFunction = nullptr;     // made to fail with 624
  std::vector<std::pair<std::string, std::string>> questions = {};  // text awaited, keys typed
  std::vector<std::string> stored = {};
  const char* remembered = nullptr;  // "type: name"; null: the settings file is left as it was
};

TEST(DialkitProgram, AsksStoresAndRemembersThroughTheTerminal) {
  const ProgramCase cases[] = {
      {.name = "typical: no question",
       .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
       .remembered = "modem: Acme 56k Voice"},
      {.name = "overwrite question cancelled",
       .existing = {"My ISP", "My VPN"},
       .questions = {{"The connectiods \"My ISP\" and \"My VPN\" already exist.", "\x1b"}},
       .stored = {"My ISP: Earlier Device", "My VPN: Earlier Device"}},
      {.name = "the third device chosen in the dialog",
       .arguments = {"INIT=isp.ini", "CONNECT=My ISP"},
       .devices = {{"modem", "Zoom"}, test::kIsdn, test::kAcme},
       .settings = nullptr,
       .questions = {{"Create Dial Up Networking Object", "\x1b[B\x1b[B\r"}},
       .stored = {"My ISP: Zoom"},
       .remembered = "modem: Zoom"},
      {.name = "no device",
       .devices = {},
       .settings = nullptr,
       .questions = {{"DUN Warning", kEnter}, {"Modem Warning", kEnter}}},
      {.name = "storing the main entry fails",
       .failingFunction = "RasSetEntryPropertiesA",
       .questions = {{"Error 624 creating connection object \"My ISP\"", kEnter}}},
      {.name = "storing the VPN entry fails",
       .arguments = {"INIT=isp.ini", "CONNECT=My ISP", "VPN=.vpn"},
       .questions = {{"Error 123 creating connection object \".vpn\"", kEnter}},
       .stored = {"My ISP: Acme 56k Voice"},
       .remembered = "modem: Acme 56k Voice"},
      {.name = "empty command line",
       .arguments = {},
       .questions = {{"Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]",
                      kEnter}}},
  };
  char built[4096];
  ASSERT_TRUE(GetExecutablePath(built, sizeof built));
  const fs::path builtDirectory = fs::path(built).parent_path();
  for (const ProgramCase& c : cases) {
    SCOPED_TRACE(c.name);
    // The program and its entry description file in a directory of their own, the stand-in
    // service in the system directory (where the loader looks second).
    test::ScopedStandInSystem system;
    const fs::path program = system.Root().path() / "program";
    const fs::path start = system.Root().path() / "elsewhere";
    fs::create_directory(program);
    fs::create_directory(start);
    fs::copy_file(builtDirectory / "dialkit", program / "dialkit");
    for (const char* library : {"rasapi32.dll.so", "altras.dll.so"}) {
      fs::copy_file(builtDirectory / library, system.Root().path() / "system32" / library);
    }
    const std::string settingsFile = (program / "dialkit.ini").string();
    test::WriteFileBytes((program / "isp.ini").string(), test::kDescriptions);
    if (c.settings != nullptr) {
      test::WriteFileBytes(settingsFile, *c.settings);
    }
    system.InstallDevices(c.devices);
    ASSERT_TRUE(test::StoreEarlierEntries(system.PhoneBookPath(), c.existing));
    if (c.failingFunction != nullptr) {
      system.FailFunction(c.failingFunction, 624);
    }

    test::PseudoTerminal terminal;
    std::vector<std::string> command = {(program / "dialkit").string()};
    command.insert(command.end(), c.arguments.begin(), c.arguments.end());
    const pid_t process =
        terminal.Start(command, start.string(), {{"SystemRoot", system.Root().path().string()}});
    for (const auto& [question, keys] : c.questions) {
      EXPECT_TRUE(terminal.WaitFor(question)) << terminal.Screen();
      terminal.Type(keys);
    }
    EXPECT_EQ(terminal.WaitForExit(process), 0);
    if (c.questions.empty()) {
      EXPECT_EQ(terminal.Screen().find("=="), std::string::npos) << terminal.Screen();
    }

    EXPECT_EQ(test::StoredEntries(system.PhoneBookPath()), c.stored);
    if (c.remembered != nullptr) {
      EXPECT_EQ(test::Remembered(settingsFile), c.remembered);
    } else if (c.settings != nullptr) {
      EXPECT_EQ(test::ReadFileBytes(settingsFile), *c.settings);
    } else {
      EXPECT_FALSE(fs::exists(settingsFile));
    }
  }
}

}  // namespace
