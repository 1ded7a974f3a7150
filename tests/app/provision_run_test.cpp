// The provisioning run in process, against the real stand-in service with a system of its own
// and the scripted window system. The tool's program lies in a directory of its own and is
// started from another one, as a user or an installer starts it; each case checks what the user
// was shown, what the phone book and the settings file hold afterwards, that the work file is
// gone and that the starting directory is current again.
#include "app/provision_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "framework/text.h"
#include "phone_book_file.h"
#include "platform/file_system.h"
#include "platform/library_loader.h"
#include "platform/profile.h"
#include "platform/result_codes.h"
#include "support/scripted_window_system.h"
#include "support/stand_in_system.h"

namespace {

namespace fs = std::filesystem;

const test::Device kStandard = {"modem", "Standard 28800 bps Modem"};
const test::Device kAcme = {"modem", "Acme 56k Voice"};
const test::Device kIsdn = {"isdn", "ISDN Line"};
const test::Device kVpn = {"vpn", "WAN Miniport (PPTP)"};
const std::vector<test::Device> kTypicalDevices = {kStandard, kAcme, kVpn};

constexpr char kRemembered[] = "[Modem Selection]\nDeviceType=modem\nDeviceName=Acme 56k Voice\n";
constexpr char kDescriptions[] =
    "[RasEntry]\nLocalPhoneNumber=5550123\n[VPNEntry]\nLocalPhoneNumber=vpn.example.net\n";
constexpr char kDialUpOnly[] = "[RasEntry]\nLocalPhoneNumber=5550123\n";

const std::string kCommand = "INIT=isp.ini CONNECT=\"My ISP\" VPN=\"My VPN\"";

constexpr char kUsage[] = "DIALKIT Usage Notice";
constexpr char kNotFound[] = "File Not Found";
constexpr char kExists[] = "Object Already Exists";
constexpr char kDunWarning[] = "DUN Warning";
constexpr char kModemWarning[] = "Modem Warning";
constexpr char kMainFailed[] = "Failed to Set Connection Object";
constexpr char kVpnFailed[] = "Failed to Set VPN Connection Object";
constexpr char kDialog[] = "dialog";

// One stored entry as the check sees it: its name and device.
struct Stored {
  std::string name;
  std::string deviceName;
  bool operator==(const Stored&) const = default;
};

// A world for one run: the stand-in system, the program's directory with the entry description
// files (and a work file left there by someone else), a starting directory elsewhere, and the
// scripted window system.
class RunScene {
 public:
  RunScene() {
    fs::create_directory(program_);
    test::WriteFileBytes(ProgramFile("isp.ini"), kDescriptions);
    test::WriteFileBytes(ProgramFile("dialup.ini"), kDialUpOnly);
    test::WriteFileBytes(ProgramFile("dialkit.wrk"), "work");
    fs::create_directory(start_);
  }

  void Store(const std::string& name) {
    PhoneBook book;
    ReadPhoneBook(system.PhoneBookPath(), &book);
    StoredEntry entry{name, {}};
    entry.record.dwSize = kEntryRecordSize;
    CopyText(entry.record.szDeviceName, "Earlier Device");
    book.push_back(entry);
    ASSERT_TRUE(WritePhoneBook(system.PhoneBookPath(), book));
  }

  void Run(const std::string& commandLine) {
    // The parse's values start out empty in a process; here one process runs many times.
    g_entryFilePath[0] = g_mainEntryName[0] = g_vpnEntryName[0] = '\0';
    const std::string executable = ProgramFile("dialkit.exe");
    test::ScopedCurrentDirectory current(start_);
    CProvisionApp application;
    RunApplication(commandLine.c_str(), executable.c_str());
    EXPECT_EQ(fs::current_path(), start_) << "the starting directory is current again";
  }

  std::vector<Stored> StoredEntries() const {
    PhoneBook book;
    ReadPhoneBook(system.PhoneBookPath(), &book);
    std::vector<Stored> stored = {};
    for (const StoredEntry& entry : book) {
      stored.push_back({entry.name, entry.record.szDeviceName});
    }
    std::sort(stored.begin(), stored.end(),
              [](const Stored& a, const Stored& b) { return a.name < b.name; });
    return stored;
  }

  // Titles of the message boxes, and "dialog" for the dialog, in the order shown.
  std::vector<std::string> Shown() const {
    std::vector<std::string> shown = {};
    size_t box = 0;
    for (const std::string& event : ui.Events()) {
      shown.push_back(event.rfind("dialog", 0) == 0 ? kDialog : ui.MessageBoxes()[box++].title);
    }
    return shown;
  }

  std::string Remembered(const char* key) const {
    char value[256];
    GetPrivateProfileStringA("Modem Selection", key, "", value, sizeof value,
                             ProgramFile("dialkit.ini").c_str());
    return value;
  }

  std::string ProgramFile(const std::string& name) const { return (program_ / name).string(); }

  test::ScopedStandInSystem system;
  test::ScriptedWindowSystem ui;

 private:
  fs::path program_ = system.Root().path() / "program";
  fs::path start_ = system.Root().path() / "elsewhere";
};

struct RunCase {
  const char* name;
  std::string commandLine = kCommand;
  std::vector<test::Device> devices = kTypicalDevices;
  const char* settings = kRemembered;      // dialkit.ini beforehand; null: none
  std::vector<std::string> existing = {};  // entries stored beforehand
  const char* failingFunction = nullptr;   // made to fail with 624
  std::vector<int> answers = {};           // to the message boxes
  std::vector<test::DialogAnswer> dialogAnswers = {};
  std::vector<std::string> shown = {};
  std::string firstText = {};  // text of the first message box; empty: not checked
  std::vector<Stored> stored = {};
  std::optional<test::Device> remembered = {};  // none: the settings file is left as it was
};

const RunCase kRunCases[] = {
    {.name = "typical: a remembered device, nothing exists yet",
     .stored = {{"My ISP", kAcme.name}, {"My VPN", kVpn.name}},
     .remembered = kAcme},
    {.name = "INIT without CONNECT",
     .commandLine = "INIT=isp.ini",
     .shown = {kUsage},
     .firstText = "Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]"},
    {.name = "CONNECT without INIT", .commandLine = "CONNECT=x", .shown = {kUsage}},
    {.name = "missing entry description file",
     .commandLine = "INIT=missing.ini CONNECT=x",
     .shown = {kNotFound},
     .firstText = "<program>missing.ini does not exist.  Please check the file name."},
    {.name = "only the VPN entry exists",
     .existing = {"My VPN"},
     .answers = {IDOK},
     .shown = {kExists},
     .firstText = "The connectiod \"My VPN\" already exists.\nDo you want to overwrite it?",
     .stored = {{"My ISP", kAcme.name}, {"My VPN", kVpn.name}},
     .remembered = kAcme},
    {.name = "both exist, the question cancelled",
     .existing = {"My ISP", "My VPN"},
     .answers = {IDCANCEL},
     .shown = {kExists},
     .firstText = "The connectiods \"My ISP\" and \"My VPN\" already exist.\nDo you want to "
                  "overwrite them?",
     .stored = {{"My ISP", "Earlier Device"}, {"My VPN", "Earlier Device"}}},
    {.name = "one existing name for both",
     .commandLine = "INIT=isp.ini CONNECT=Same VPN=Same",
     .existing = {"Same"},
     .answers = {IDCANCEL},
     .shown = {kExists},
     .firstText = "The connectiods \"Same\" and \"Same\" already exist.\nDo you want to "
                  "overwrite them?",
     .stored = {{"Same", "Earlier Device"}}},
    {.name = "the VPN entry exists, the file has no VPN section",
     .commandLine = "INIT=dialup.ini CONNECT=\"My ISP\" VPN=\"My VPN\"",
     .existing = {"My VPN"},
     .answers = {IDOK},
     .shown = {kExists},
     .stored = {{"My ISP", kAcme.name}, {"My VPN", "Earlier Device"}},
     .remembered = kAcme},
    {.name = "dialog cancelled: the VPN entry alone is stored",
     .settings = nullptr,
     .dialogAnswers = {test::DialogAnswer::Cancel()},
     .shown = {kDialog},
     .stored = {{"My VPN", kVpn.name}}},
    {.name = "the third device picked and remembered",
     .commandLine = "INIT=isp.ini CONNECT=\"My ISP\" ASK=0",
     .devices = {kStandard, kIsdn, kAcme},
     .dialogAnswers = {test::DialogAnswer::Pick(3060, 2)},
     .shown = {kDialog},
     .stored = {{"My ISP", kStandard.name}},
     .remembered = kStandard},
    {.name = "no device at all",
     .devices = {},
     .settings = nullptr,
     .shown = {kDunWarning, kModemWarning}},
    {.name = "storing the main entry fails",
     .failingFunction = "RasSetEntryPropertiesA",
     .shown = {kMainFailed},
     .firstText = "Error 624 creating connection object \"My ISP\""},
    {.name = "storing the VPN entry fails after the main entry",
     .commandLine = "INIT=isp.ini CONNECT=\"My ISP\" VPN=.vpn",
     .settings = nullptr,
     .dialogAnswers = {test::DialogAnswer::Pick(3060, 1)},
     .shown = {kDialog, kVpnFailed},
     .stored = {{"My ISP", kStandard.name}},
     .remembered = kStandard},
};

TEST(ProvisioningRun, ShowsStoresAndRemembersAsEachSituationDemands) {
  for (const RunCase& c : kRunCases) {
    SCOPED_TRACE(c.name);
    RunScene scene;
    scene.system.InstallDevices(c.devices);
    if (c.settings != nullptr) {
      test::WriteFileBytes(scene.ProgramFile("dialkit.ini"), c.settings);
    }
    for (const std::string& name : c.existing) {
      scene.Store(name);
    }
    if (c.failingFunction != nullptr) {
      scene.system.FailFunction(c.failingFunction, 624);
    }
    for (int answer : c.answers) {
      scene.ui.AnswerMessageBoxes({answer});
    }
    for (const test::DialogAnswer& answer : c.dialogAnswers) {
      scene.ui.AnswerDialogs({answer});
    }

    scene.Run(c.commandLine);

    EXPECT_EQ(scene.Shown(), c.shown);
    if (!c.firstText.empty()) {
      ASSERT_FALSE(scene.ui.MessageBoxes().empty());
      std::string expected = c.firstText;
      const std::string program = scene.ProgramFile("");
      if (expected.rfind("<program>", 0) == 0) {
        expected.replace(0, 9, program);
      }
      EXPECT_EQ(scene.ui.MessageBoxes()[0].text, expected);
    }
    EXPECT_EQ(scene.StoredEntries(), c.stored);
    if (c.remembered) {
      EXPECT_EQ(scene.Remembered("DeviceType"), c.remembered->type);
      EXPECT_EQ(scene.Remembered("DeviceName"), c.remembered->name);
    } else {
      EXPECT_EQ(test::ReadFileBytes(scene.ProgramFile("dialkit.ini")),
                c.settings != nullptr ? c.settings : "");
    }
    EXPECT_FALSE(fs::exists(scene.ProgramFile("dialkit.wrk")));
  }
}

TEST(ProvisioningRun, MessageBoxesAreWarningsExceptTheQuestionsButtons) {
  RunScene scene;
  scene.system.InstallDevices({});
  scene.Store("My ISP");
  scene.Run(kCommand);
  ASSERT_EQ(scene.Shown(), (std::vector<std::string>{kExists, kDunWarning, kModemWarning}));
  EXPECT_EQ(scene.ui.MessageBoxes()[0].style, static_cast<UINT>(MB_ICONWARNING | MB_OKCANCEL));
  EXPECT_EQ(scene.ui.MessageBoxes()[1].style, static_cast<UINT>(MB_ICONWARNING | MB_OK));
}

TEST(ProvisioningRun, EmptyCommandLineShowsUsageWithoutMovingOrCleaningUp) {
  RunScene scene;
  scene.Run("");
  EXPECT_EQ(scene.Shown(), std::vector<std::string>{kUsage});
  EXPECT_EQ(scene.ui.MessageBoxes()[0].style, static_cast<UINT>(MB_ICONWARNING | MB_OK));
  EXPECT_TRUE(fs::exists(scene.ProgramFile("dialkit.wrk")));
}

// A loader that finds no library at all.
class CNoLibraries final : public CLibraryLoader {
 public:
  CNoLibraries() : previous_(ReplaceLibraryLoader(this)) {}
  ~CNoLibraries() { ReplaceLibraryLoader(previous_); }
  LibraryHandle LoadByName(const char*) override { return nullptr; }
  EntryPoint FindEntryPoint(LibraryHandle, const char*) override { return nullptr; }
  void Release(LibraryHandle) override {}

 private:
  CLibraryLoader* previous_;
};

TEST(ProvisioningRun, LibraryThatCannotBeLoadedIsReportedWithoutAnIcon) {
  RunScene scene;
  CNoLibraries loader;
  scene.Run(kCommand);
  ASSERT_EQ(scene.Shown(), std::vector<std::string>{"DIALKIT"});
  EXPECT_EQ(scene.ui.MessageBoxes()[0].text, "Error loading RAS Api!");
  EXPECT_EQ(scene.ui.MessageBoxes()[0].style, static_cast<UINT>(MB_OK));
  EXPECT_FALSE(fs::exists(scene.ProgramFile("dialkit.wrk")));
}

// A service whose entries need more than the record's 1768 bytes: it says so for every offered
// size below 4000 and fills what it is offered otherwise, as a service with device information
// does. The run must offer a record as large as the size it passes on.
constexpr DWORD kLargeEntrySize = 4000;

DWORD WINAPI LargeEntryProperties(const char*, const char*, RASENTRYA* entry, DWORD* entrySize,
                                  BYTE*, DWORD*) {
  if (entry == nullptr || *entrySize < kLargeEntrySize) {
    *entrySize = kLargeEntrySize;
    return ERROR_BUFFER_TOO_SMALL;
  }
  std::memset(entry, 0xAB, *entrySize);
  return 0;
}

class CLargeEntryService final : public CLibraryLoader {
 public:
  CLargeEntryService() : previous_(ReplaceLibraryLoader(this)) {}
  ~CLargeEntryService() { ReplaceLibraryLoader(previous_); }
  LibraryHandle LoadByName(const char*) override { return reinterpret_cast<LibraryHandle>(this); }
  EntryPoint FindEntryPoint(LibraryHandle, const char* name) override {
    return std::strcmp(name, "RasGetEntryPropertiesA") == 0
               ? reinterpret_cast<EntryPoint>(&LargeEntryProperties)
               : nullptr;
  }
  void Release(LibraryHandle) override {}

 private:
  CLibraryLoader* previous_;
};

TEST(ProvisioningRun, ExistenceQueriesOfferRecordsAsLargeAsTheReportedSize) {
  RunScene scene;
  CLargeEntryService service;
  scene.ui.AnswerMessageBoxes({IDCANCEL});
  scene.Run(kCommand);
  ASSERT_EQ(scene.Shown(), std::vector<std::string>{kExists});
  EXPECT_EQ(scene.ui.MessageBoxes()[0].text,
            "The connectiods \"My ISP\" and \"My VPN\" already exist.\nDo you want to overwrite "
            "them?");
}

struct DirectoryCase {
  const char* helpFilePath;
  const char* directory;
  bool backslashes;  // meaningful only where the backslash separates
};

TEST(ExecutableDirectory, DropsTheNameAndTheLastSeparatorButNotTheRoots) {
  const DirectoryCase cases[] = {
      {"/opt/dialkit/dialkit.HLP", "/opt/dialkit", false},
      {"/dialkit.HLP", "/", false},
      {"dialkit.HLP", "", false},
      {"", "", false},
      {"C:\\Tools\\DIALKIT.HLP", "C:\\Tools", true},
      {"C:\\DIALKIT.HLP", "C:\\", true},
      {"\\\\server\\share\\DIALKIT.HLP", "\\\\server\\share", true},
  };
  for (const DirectoryCase& c : cases) {
    if (c.backslashes && !IsPathSeparator('\\')) {
      continue;
    }
    SCOPED_TRACE(c.helpFilePath);
    EXPECT_EQ(ExecutableDirectory(c.helpFilePath), c.directory);
  }
}

}  // namespace
