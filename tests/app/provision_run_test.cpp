// The provisioning run in process: the run's logic over every situation, against the real
// stand-in service with a system of its own and the scripted window system. The program lies in
// a directory of its own and is started from another one; each case checks what the user was
// shown, what the phone book and the settings file hold afterwards, that the work file is gone
// and that the starting directory is current again.
#include "app/provision_app.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/run_fixtures.h"
#include "platform/file_system.h"
#include "platform/library_loader.h"
#include "platform/result_codes.h"
#include "support/scripted_window_system.h"

namespace {

namespace fs = std::filesystem;

const std::string kCommand = "INIT=isp.ini CONNECT=\"My ISP\" VPN=\"My VPN\"";

constexpr char kUsage[] = "message box: DIALKIT Usage Notice";
constexpr char kExists[] = "message box: Object Already Exists";
constexpr char kDialog[] = "dialog 109";
constexpr char kBothExist[] =
    "The connectiods \"My ISP\" and \"My VPN\" already exist.\nDo you want to overwrite them?";

// A service whose entries need more than the record's 1768 bytes: it says so for every offered
// size below 4000 and fills what it is offered otherwise. The run must offer a record as large
// as the size it passes on.
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

// The service the run loads: the stand-in, none at all, or the one with large entries.
enum class Service { kStandIn, kNone, kLargeEntries };

class CReplacedService final : public CLibraryLoader {
 public:
  explicit CReplacedService(Service service)
      : service_(service), previous_(ReplaceLibraryLoader(this)) {}
  ~CReplacedService() { ReplaceLibraryLoader(previous_); }
  LibraryHandle LoadByName(const char*) override {
    return service_ == Service::kNone ? nullptr : reinterpret_cast<LibraryHandle>(this);
  }
  EntryPoint FindEntryPoint(LibraryHandle, const char* name) override {
    return std::strcmp(name, "RasGetEntryPropertiesA") == 0
               ? reinterpret_cast<EntryPoint>(&LargeEntryProperties)
               : nullptr;
  }
  void Release(LibraryHandle) override {}

 private:
  Service service_;
  CLibraryLoader* previous_;
};

struct RunCase {
  const char* name;
  std::string commandLine = kCommand;
  std::vector<test::Device> devices = test::kTypicalDevices;
  const char* settings = test::kRemembered;  // dialkit.ini beforehand; null: none
  std::vector<std::string> existing = {};    // entries stored beforehand
  Service service = Service::kStandIn;
  const char* failingFunction = nullptr;                // made to fail with 624
  int answer = IDOK;                                    // to the first message box
  std::optional<test::DialogAnswer> dialogAnswer = {};  // none: the dialog is cancelled
  std::vector<std::string> shown = {};                  // the window system's events
  std::string firstText = {};  // of the first message box; "<program>" is the program's directory
  std::vector<std::string> stored = {};
  const char* remembered = nullptr;  // "type: name"; null: the settings file is left as it was
};

const RunCase kRunCases[] = {
    {.name = "typical: a remembered device, nothing exists yet",
     .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
     .remembered = "modem: Acme 56k Voice"},
    {.name = "INIT without CONNECT", .commandLine = "INIT=isp.ini", .shown = {kUsage}},
    {.name = "CONNECT without INIT", .commandLine = "CONNECT=x", .shown = {kUsage}},
    {.name = "empty: usage, without moving or cleaning up", .commandLine = "", .shown = {kUsage}},
    {.name = "missing entry description file",
     .commandLine = "INIT=missing.ini CONNECT=x",
     .shown = {"message box: File Not Found"},
     .firstText = "<program>missing.ini does not exist.  Please check the file name."},
    {.name = "the library cannot be loaded",
     .service = Service::kNone,
     .shown = {"message box: DIALKIT"},
     .firstText = "Error loading RAS Api!"},
    {.name = "only the VPN entry exists",
     .existing = {"My VPN"},
     .shown = {kExists},
     .firstText = "The connectiod \"My VPN\" already exists.\nDo you want to overwrite it?",
     .stored = {"My VPN: WAN Miniport (PPTP)", "My ISP: Acme 56k Voice"},
     .remembered = "modem: Acme 56k Voice"},
    {.name = "both exist, the question cancelled",
     .existing = {"My ISP", "My VPN"},
     .answer = IDCANCEL,
     .shown = {kExists},
     .firstText = kBothExist,
     .stored = {"My ISP: Earlier Device", "My VPN: Earlier Device"}},
    {.name = "one existing name for both",
     .commandLine = "INIT=isp.ini CONNECT=Same VPN=Same",
     .existing = {"Same"},
     .answer = IDCANCEL,
     .shown = {kExists},
     .firstText = "The connectiods \"Same\" and \"Same\" already exist.\nDo you want to "
                  "overwrite them?",
     .stored = {"Same: Earlier Device"}},
    {.name = "the VPN entry exists, the file has no VPN section",
     .commandLine = "INIT=dialup.ini CONNECT=\"My ISP\" VPN=\"My VPN\"",
     .existing = {"My VPN"},
     .shown = {kExists},
     .stored = {"My VPN: Earlier Device", "My ISP: Acme 56k Voice"},
     .remembered = "modem: Acme 56k Voice"},
    {.name = "a service whose entries outgrow the record",
     .service = Service::kLargeEntries,
     .answer = IDCANCEL,
     .shown = {kExists},
     .firstText = kBothExist},
    {.name = "dialog cancelled: the VPN entry alone is stored",
     .settings = nullptr,
     .shown = {kDialog},
     .stored = {"My VPN: WAN Miniport (PPTP)"}},
    {.name = "no device at all",
     .devices = {},
     .settings = nullptr,
     .shown = {"message box: DUN Warning", "message box: Modem Warning"}},
    {.name = "storing the main entry fails: no VPN entry, settings untouched",
     .failingFunction = "RasSetEntryPropertiesA",
     .shown = {"message box: Failed to Set Connection Object"},
     .firstText = "Error 624 creating connection object \"My ISP\""},
    {.name = "storing the VPN entry fails after the main entry",
     .commandLine = "INIT=isp.ini CONNECT=\"My ISP\" VPN=.vpn",
     .settings = nullptr,
     .dialogAnswer = test::DialogAnswer::Pick(3060, 1),
     .shown = {kDialog, "message box: Failed to Set VPN Connection Object"},
     .stored = {"My ISP: Standard 28800 bps Modem"},
     .remembered = "modem: Standard 28800 bps Modem"},
};

TEST(ProvisioningRun, ShowsStoresAndRemembersAsEachSituationDemands) {
  for (const RunCase& c : kRunCases) {
    SCOPED_TRACE(c.name);
    test::RunWorld world(c.devices, c.settings, c.existing, c.failingFunction);
    const auto file = [&](const char* name) { return world.ProgramFile(name); };
    test::WriteFileBytes(file("dialup.ini"), "[RasEntry]\nLocalPhoneNumber=5550123\n");
    test::WriteFileBytes(file("dialkit.wrk"), "left by someone else");
    test::ScriptedWindowSystem ui;
    ui.AnswerMessageBoxes({c.answer});
    if (c.dialogAnswer) {
      ui.AnswerDialogs({*c.dialogAnswer});
    }
    std::optional<CReplacedService> service;
    if (c.service != Service::kStandIn) {
      service.emplace(c.service);
    }
    // The parse's values start out empty in a process; here one process runs many times.
    g_entryFilePath[0] = g_mainEntryName[0] = g_vpnEntryName[0] = '\0';
    {
      test::ScopedCurrentDirectory current(world.start);
      CProvisionApp application;
      RunApplication(c.commandLine.c_str(), file("dialkit.exe").c_str());
      EXPECT_EQ(fs::current_path(), world.start) << "the starting directory is current again";
    }

    EXPECT_EQ(ui.Events(), c.shown);
    for (const test::ShownMessageBox& box : ui.MessageBoxes()) {
      const UINT style = box.title == "DIALKIT"                 ? MB_OK
                         : box.title == "Object Already Exists" ? MB_ICONWARNING | MB_OKCANCEL
                                                                : MB_ICONWARNING | MB_OK;
      EXPECT_EQ(box.style, style) << box.title;
    }
    if (!c.firstText.empty()) {
      ASSERT_FALSE(ui.MessageBoxes().empty());
      std::string expected = c.firstText;
      if (expected.rfind("<program>", 0) == 0) {
        expected.replace(0, 9, file(""));
      }
      EXPECT_EQ(ui.MessageBoxes()[0].text, expected);
    }
    EXPECT_EQ(test::StoredEntries(world.PhoneBookPath()), c.stored);
    test::ExpectSettings(file("dialkit.ini"), c.remembered, c.settings);
    // The work file is deleted on every way out but the first.
    EXPECT_EQ(fs::exists(file("dialkit.wrk")), c.commandLine.empty());
  }
}

TEST(ExecutableDirectory, DropsTheNameAndTheLastSeparatorButNotTheRoots) {
  const std::pair<const char*, const char*> cases[] = {
      {"/opt/dialkit/dialkit.HLP", "/opt/dialkit"},
      {"/dialkit.HLP", "/"},
      {"dialkit.HLP", ""},
      {"C:\\Tools\\DIALKIT.HLP", "C:\\Tools"},
      {"C:\\DIALKIT.HLP", "C:\\"},
      {"\\\\server\\share\\DIALKIT.HLP", "\\\\server\\share"},
  };
  for (const auto& [helpFilePath, directory] : cases) {
    // The backslash separates only on some platforms.
    if (std::strchr(helpFilePath, '\\') == nullptr || IsPathSeparator('\\')) {
      SCOPED_TRACE(helpFilePath);
      EXPECT_EQ(ExecutableDirectory(helpFilePath), directory);
    }
  }
}

}  // namespace
