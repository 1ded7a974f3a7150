// The tool's own program, started as a person starts it: copied into a directory of its own,
// started from another directory with a relative INIT, with a pseudo-terminal as its terminal,
// against a stand-in system of the test's own. Questions are answered with keys; afterwards the
// phone book and the settings file are checked, not only the screen.
//
// DIALKIT_TEST_WRAPPER, when set, names a program and its arguments (separated by blanks) that
// start the tool instead: tools/test-all runs these runs again under valgrind that way, where an
// error or a leak makes the exit status other than 0.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/run_fixtures.h"
#include "support/posix/pseudo_terminal.h"

namespace {

namespace fs = std::filesystem;

constexpr char kEnter[] = "\r";
constexpr char kSettings[] =
    "; installer's choice\n[Modem Selection]\nDeviceType=modem\nDeviceName=Acme 56k Voice\n";
const std::vector<std::string> kTypicalArguments = {"INIT=isp.ini", "CONNECT=My ISP", "VPN=My VPN"};

struct ProgramCase {
  const char* name;
  std::vector<std::string> arguments = kTypicalArguments;
  std::vector<test::Device> devices = test::kTypicalDevices;
  const char* settings = kSettings;        // dialkit.ini beforehand; null: none
  std::vector<std::string> existing = {};  // entries stored beforehand
  const char* failingFunction = nullptr;   // made to fail with 624
  bool serviceInstalled = true;
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
      {.name = "no entry description file",
       .arguments = {"INIT=missing.ini", "CONNECT=My ISP"},
       .questions = {{"missing.ini does not exist.  Please check the file name.", kEnter}}},
      {.name = "no Remote Access Service",
       .serviceInstalled = false,
       .questions = {{"Error loading RAS Api!", kEnter}}},
      {.name = "empty command line",
       .arguments = {},
       .questions = {{"Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]",
                      kEnter}}},
  };
  const fs::path builtDirectory = fs::read_symlink("/proc/self/exe").parent_path();
  std::istringstream wrapper(
      std::getenv("DIALKIT_TEST_WRAPPER") ? std::getenv("DIALKIT_TEST_WRAPPER") : "");
  const std::vector<std::string> wrapperWords(std::istream_iterator<std::string>(wrapper), {});
  for (const ProgramCase& c : cases) {
    SCOPED_TRACE(c.name);
    // The stand-in service in the system directory, where the loader looks second.
    test::RunWorld world(c.devices, c.settings, c.existing, c.failingFunction);
    fs::copy_file(builtDirectory / "dialkit", world.program / "dialkit");
    if (c.serviceInstalled) {
      fs::copy_file(builtDirectory / "rasapi32.dll.so",
                    world.Root().path() / "system32" / "rasapi32.dll.so");
    }

    test::PseudoTerminal terminal;
    std::vector<std::string> command = wrapperWords;
    command.push_back(world.ProgramFile("dialkit"));
    command.insert(command.end(), c.arguments.begin(), c.arguments.end());
    const pid_t process = terminal.Start(command, world.start.string(),
                                         {{"SystemRoot", world.Root().path().string()}});
    for (const auto& [question, keys] : c.questions) {
      EXPECT_TRUE(terminal.WaitFor(question)) << terminal.Screen();
      terminal.Type(keys);
    }
    // A question left unanswered keeps the program waiting: it does not end.
    EXPECT_EQ(terminal.WaitForExit(process), 0) << terminal.Screen();

    EXPECT_EQ(test::StoredEntries(world.PhoneBookPath()), c.stored);
    test::ExpectSettings(world.ProgramFile("dialkit.ini"), c.remembered, c.settings);
  }
}

}  // namespace
