// The provisioning run in process, over every situation of the run (run_cases.h): against the
// real stand-in service with a system of its own and the scripted window system, so that each
// case also checks the message boxes' icons and buttons, and that the directory the run was
// started in is current again.
#include "app/provision_app.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/run_cases.h"
#include "platform/library_loader.h"
#include "platform/paths.h"
#include "platform/result_codes.h"
#include "support/scripted_window_system.h"

namespace {

namespace fs = std::filesystem;

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

class CReplacedService final : public CLibraryLoader {
 public:
  explicit CReplacedService(test::Service service)
      : service_(service), previous_(ReplaceLibraryLoader(this)) {}
  ~CReplacedService() { ReplaceLibraryLoader(previous_); }
  LibraryHandle LoadByName(const char*) override {
    return service_ == test::Service::kNone ? nullptr : reinterpret_cast<LibraryHandle>(this);
  }
  EntryPoint FindEntryPoint(LibraryHandle, const char* name) override {
    return std::strcmp(name, "RasGetEntryPropertiesA") == 0
               ? reinterpret_cast<EntryPoint>(&LargeEntryProperties)
               : nullptr;
  }
  void Release(LibraryHandle) override {}

 private:
  test::Service service_;
  CLibraryLoader* previous_;
};

// Plays `line` in process in `world`, from its starting directory; answers the exit status. What
// the run writes on its standard output goes to `output`.
int Play(const test::RunWorld& world, const std::string& line, std::string* output = nullptr) {
  // The parse's values start out empty in a process; here one process runs many times.
  g_entryFilePath[0] = g_mainEntryName[0] = g_vpnEntryName[0] = '\0';
  test::ScopedCurrentDirectory current(world.start);
  CProvisionApp application;
  testing::internal::CaptureStdout();
  const int status = RunApplication(line.c_str(), world.ProgramFile("dialkit.exe").c_str());
  const std::string written = testing::internal::GetCapturedStdout();
  if (output != nullptr) {
    *output = written;
  }
  EXPECT_EQ(fs::current_path(), world.start) << "the starting directory is current again";
  return status;
}

TEST(ProvisioningRun, ShowsStoresAndRemembersAsEachSituationDemands) {
  for (const test::RunCase& c : test::kRunCases) {
    SCOPED_TRACE(c.name);
    test::RunWorld world(c.devices, c.settings, c.existing, c.failingFunction, c.alternates);
    std::optional<CReplacedService> service;
    if (c.service != test::Service::kStandIn) {
      service.emplace(c.service);
    }
    test::PlayEarlier(c, world, [&](const std::string& line) { return Play(world, line); });
    test::ScriptedWindowSystem ui;
    ui.AnswerMessageBoxes({c.answer});
    if (c.dialogAnswer) {
      ui.AnswerDialogs({*c.dialogAnswer});
    }
    const std::string before = test::WrittenFiles(world);
    std::string output;
    EXPECT_EQ(Play(world, test::PlayedLine(c), &output), c.status);

    EXPECT_EQ(ui.Events(), c.shown);
    for (const test::ShownMessageBox& box : ui.MessageBoxes()) {
      const bool question =
          box.title == "Object Already Exists" || box.title == "Remove Connection Object";
      const UINT style = box.title == "DIALKIT" ? MB_OK
                         : question             ? MB_ICONWARNING | MB_OKCANCEL
                                                : MB_ICONWARNING | MB_OK;
      EXPECT_EQ(box.style, style) << box.title;
    }
    if (!c.firstText.empty()) {
      ASSERT_FALSE(ui.MessageBoxes().empty());
      EXPECT_EQ(ui.MessageBoxes()[0].text, test::FirstText(c, world));
    }
    test::ExpectWorldAfterRun(c, world);
    test::ExpectReport(c, world, before, output);
  }
}

// Every situation once more, quiet and then with /check in a world of its own: the preview writes
// nothing and ends with the status and the outcomes of the quiet run, but where the service
// refuses a store or a removal, which nothing but trying can reveal.
TEST(ProvisioningRun, CheckWritesNothingAndEndsAsTheQuietRunWould) {
  for (const test::RunCase& c : test::kRunCases) {
    if (c.commandLine.empty()) {
      continue;
    }
    SCOPED_TRACE(c.name);
    int status[2] = {};
    std::string summary[2];
    for (const bool check : {false, true}) {
      test::RunWorld world(c.devices, c.settings, c.existing, c.failingFunction);
      std::optional<CReplacedService> service;
      if (c.service != test::Service::kStandIn) {
        service.emplace(c.service);
      }
      test::PlayEarlier(c, world, [&](const std::string& line) { return Play(world, line); });
      const std::string before = test::WrittenFiles(world);
      test::ScriptedWindowSystem ui;
      status[check] =
          Play(world, c.commandLine + " /quiet /report:report.json" + (check ? " /check" : ""));
      const std::string report = test::ReadFileBytes((world.start / "report.json").string());
      test::KeepReport(report);
      summary[check] = test::ReportSummary(report);
      EXPECT_EQ(ui.Events(), std::vector<std::string>{});
      if (check) {
        EXPECT_EQ(test::WrittenFiles(world), before);
      }
    }
    if (summary[0].find(" failed") == std::string::npos) {
      EXPECT_EQ(status[1], status[0]);
      EXPECT_EQ(summary[1], summary[0]);
    }
  }
}

// An entry description file saved as UTF-16 with its mark (Notepad's "Unicode") is read as the
// platform reads it: the entry dials the file's number, not the default's.
TEST(ProvisioningRun, ReadsAnEntryDescriptionFileSavedAsUtf16) {
  test::RunWorld world(test::kTypicalDevices, test::kRemembered, {}, nullptr);
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("[RasEntry]\r\nLocalPhoneNumber=5550123\r\nAreaCode=617\r\n")) {
    utf16 += {c, '\0'};
  }
  test::WriteFileBytes(world.ProgramFile("isp.ini"), utf16);
  test::ScriptedWindowSystem ui;
  g_entryFilePath[0] = g_mainEntryName[0] = g_vpnEntryName[0] = '\0';
  {
    test::ScopedCurrentDirectory current(world.start);
    CProvisionApp application;
    RunApplication("INIT=isp.ini CONNECT=\"My ISP\"", world.ProgramFile("dialkit.exe").c_str());
  }
  EXPECT_EQ(ui.Events(), std::vector<std::string>{});
  PhoneBook book;
  ReadPhoneBook(world.PhoneBookPath(), &book);
  ASSERT_EQ(book.size(), 1u);
  EXPECT_STREQ(book[0].record.szLocalPhoneNumber, "5550123");
  EXPECT_STREQ(book[0].record.szAreaCode, "617");
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
