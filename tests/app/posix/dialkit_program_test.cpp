// The tool's own program, started as a person starts it: from another directory, with a
// pseudo-terminal as its terminal, against a stand-in system of the test's own. Questions are
// answered with keys; afterwards the phone book and the settings file are checked, not only the
// screen.
//
// DIALKIT_TEST_WRAPPER, when set, names a program and its arguments (blank-separated) that start
// the tool instead: tools/test-all runs these tests again under valgrind that way, and then every
// run must end with status 0, as the tool's own runs always do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "phone_book_file.h"
#include "platform/file_system.h"
#include "support/posix/pseudo_terminal.h"
#include "support/stand_in_system.h"

namespace {

namespace fs = std::filesystem;

constexpr char kEnter[] = "\r";
constexpr char kEscape[] = "\x1b";
constexpr char kDown[] = "\x1b[B";

constexpr char kDescriptions[] =
    "[RasEntry]\nLocalPhoneNumber=5550123\n[VPNEntry]\nLocalPhoneNumber=vpn.example.net\n";
constexpr char kRemembered[] = "[Modem Selection]\nDeviceType=modem\nDeviceName=Acme 56k Voice\n";
const std::vector<test::Device> kTypicalDevices = {
    {"modem", "Standard 28800 bps Modem"}, {"modem", "Acme 56k Voice"}, {"vpn", "WAN Miniport"}};

std::vector<std::string> Wrapper() {
  std::vector<std::string> words;
  std::istringstream wrapper(
      std::getenv("DIALKIT_TEST_WRAPPER") ? std::getenv("DIALKIT_TEST_WRAPPER") : "");
  for (std::string word; wrapper >> word;) {
    words.push_back(word);
  }
  return words;
}

fs::path BuiltProgramDirectory() {
  char path[4096];
  EXPECT_TRUE(GetExecutablePath(path, sizeof path));
  return fs::path(path).parent_path();
}

// The program installed in a directory of its own with an entry description file, the stand-in
// service in the stand-in system's directory (where the loader looks second), and a starting
// directory elsewhere.
class InstalledProgram {
 public:
  InstalledProgram() {
    const fs::path built = BuiltProgramDirectory();
    fs::create_directory(program_);
    fs::create_directory(start_);
    fs::copy_file(built / "dialkit", program_ / "dialkit");
    for (const char* library : {"rasapi32.dll.so", "altras.dll.so"}) {
      fs::copy_file(built / library, system.Root().path() / "system32" / library);
    }
    test::WriteFileBytes(ProgramFile("isp.ini"), kDescriptions);
  }

  // Starts the program with these arguments; `keys` answer the questions that show `prompts`,
  // one by one. Returns the program's exit status.
  int Run(const std::vector<std::string>& arguments, const std::vector<std::string>& prompts = {},
          const std::vector<std::string>& keys = {}) {
    std::vector<std::string> command = Wrapper();
    command.push_back(ProgramFile("dialkit"));
    command.insert(command.end(), arguments.begin(), arguments.end());
    const pid_t process =
        terminal.Start(command, start_.string(), {{"SystemRoot", system.Root().path().string()}});
    for (size_t i = 0; i < prompts.size(); ++i) {
      EXPECT_TRUE(terminal.WaitFor(prompts[i])) << terminal.Screen();
      terminal.Type(keys[i]);
    }
    const int status = terminal.WaitForExit(process);
    EXPECT_EQ(status, 0);
    return status;
  }

  // Name and device of every stored entry, in the phone book's order.
  std::vector<std::string> Stored() const {
    PhoneBook book;
    ReadPhoneBook(system.PhoneBookPath(), &book);
    std::vector<std::string> stored;
    for (const StoredEntry& entry : book) {
      stored.push_back(entry.name + ": " + entry.record.szDeviceName);
    }
    return stored;
  }

  std::string ProgramFile(const std::string& name) const { return (program_ / name).string(); }

  test::ScopedStandInSystem system;
  test::PseudoTerminal terminal;

 private:
  fs::path program_ = system.Root().path() / "program";
  fs::path start_ = system.Root().path() / "elsewhere";
};

const std::vector<std::string> kTypicalArguments = {"INIT=isp.ini", "CONNECT=My ISP", "VPN=My VPN"};

TEST(DialkitProgram, TypicalRunStoresBothEntriesWithoutAQuestion) {
  InstalledProgram program;
  program.system.InstallDevices(kTypicalDevices);
  test::WriteFileBytes(program.ProgramFile("dialkit.ini"), kRemembered);
  program.Run(kTypicalArguments);
  EXPECT_EQ(program.Stored(),
            (std::vector<std::string>{"My ISP: Acme 56k Voice", "My VPN: WAN Miniport"}));
  EXPECT_EQ(program.terminal.Screen().find("=="), std::string::npos) << program.terminal.Screen();
}

TEST(DialkitProgram, CancelledOverwriteQuestionStoresNothingAndKeepsTheSettings) {
  InstalledProgram program;
  program.system.InstallDevices(kTypicalDevices);
  const std::string settings = "; installer's choice\n" + std::string(kRemembered);
  test::WriteFileBytes(program.ProgramFile("dialkit.ini"), settings);
  program.Run(kTypicalArguments);
  const std::string phoneBook = program.system.PhoneBook();

  program.Run(kTypicalArguments, {"The connectiods \"My ISP\" and \"My VPN\" already exist."},
              {kEscape});
  EXPECT_NE(program.terminal.Screen().find("-> Cancel"), std::string::npos);
  EXPECT_EQ(program.system.PhoneBook(), phoneBook);
  EXPECT_EQ(test::ReadFileBytes(program.ProgramFile("dialkit.ini")), settings);
}

TEST(DialkitProgram, DialogChoiceIsStoredAndRemembered) {
  InstalledProgram program;
  program.system.InstallDevices({{"modem", "Zoom"}, {"isdn", "ISDN Line"}, {"modem", "Acme"}});
  program.Run({"INIT=isp.ini", "CONNECT=My ISP"}, {"Create Dial Up Networking Object"},
              {std::string(kDown) + kDown + kEnter});
  EXPECT_EQ(program.Stored(), std::vector<std::string>{"My ISP: Zoom"});
  EXPECT_NE(test::ReadFileBytes(program.ProgramFile("dialkit.ini")).find("DeviceName=Zoom"),
            std::string::npos);
}

TEST(DialkitProgram, WarnsAndStoresNothingWithoutDevices) {
  InstalledProgram program;
  program.Run(kTypicalArguments, {"DUN Warning", "Modem Warning"}, {kEnter, kEnter});
  EXPECT_EQ(program.Stored(), std::vector<std::string>{});
  EXPECT_FALSE(fs::exists(program.ProgramFile("dialkit.ini")));
}

TEST(DialkitProgram, ReportsFailedStores) {
  struct Case {
    const char* failing;
    std::vector<std::string> arguments;
    std::string message;
    std::vector<std::string> stored;
  };
  const Case cases[] = {
      {"RasSetEntryPropertiesA",
       kTypicalArguments,
       "Error 624 creating connection object \"My ISP\"",
       {}},
      {nullptr,
       {"INIT=isp.ini", "CONNECT=My ISP", "VPN=.vpn"},
       "Error 123 creating connection object \".vpn\"",
       {"My ISP: Acme 56k Voice"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    InstalledProgram program;
    program.system.InstallDevices(kTypicalDevices);
    test::WriteFileBytes(program.ProgramFile("dialkit.ini"), kRemembered);
    if (c.failing != nullptr) {
      program.system.FailFunction(c.failing, 624);
    }
    program.Run(c.arguments, {c.message}, {kEnter});
    EXPECT_EQ(program.Stored(), c.stored);
  }
}

TEST(DialkitProgram, ExplainsWhatKeepsItFromStarting) {
  const struct {
    std::vector<std::string> arguments;
    bool serviceInstalled;
    std::string message;
  } cases[] = {
      {{}, true, "Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]"},
      {{"INIT=missing.ini", "CONNECT=My ISP"},
       true,
       "missing.ini does not exist.  Please check the file name."},
      {kTypicalArguments, false, "Error loading RAS Api!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    InstalledProgram program;
    if (!c.serviceInstalled) {
      fs::remove(program.system.Root().path() / "system32" / "rasapi32.dll.so");
    }
    program.Run(c.arguments, {c.message}, {kEnter});
    EXPECT_EQ(program.Stored(), std::vector<std::string>{});
  }
}

}  // namespace
