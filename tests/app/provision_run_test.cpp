// The provisioning run in process, over every situation of the run (run_cases.h): against the
// real stand-in service with a system of its own and the scripted window system, so that each
// case also checks the message boxes' styles.
#include "app/provision_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/files_directory.h"
#include "app/later_store.h"
#include "app/run_cases.h"
#include "platform/library_loader.h"
#include "platform/paths.h"
#include "platform/result_codes.h"
#include "platform/system_version.h"
#include "support/scripted_window_system.h"

namespace {

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

// Plays `line` in the case's world, with the case's service, answering as the case says.
test::Played PlayAnswering(const test::RunCase& c, const test::RunWorld& world,
                           const std::string& line, const std::vector<std::string>& shown) {
  std::optional<CReplacedService> service;
  if (c.service != test::Service::kStandIn) {
    service.emplace(c.service);
  }
  test::ScriptedWindowSystem ui;
  ui.AnswerMessageBoxes({c.answer});
  if (c.dialogAnswer) {
    ui.AnswerDialogs({*c.dialogAnswer});
  }
  testing::internal::CaptureStdout();
  const int status = test::PlayInProcess(world, line);
  const test::Played played = {status, testing::internal::GetCapturedStdout()};
  EXPECT_EQ(ui.Events(), shown);
  for (const test::ShownMessageBox& box : ui.MessageBoxes()) {
    EXPECT_EQ(box.style, test::BoxStyle(box.title)) << box.title;
  }
  if (!c.firstText.empty() && !ui.MessageBoxes().empty()) {
    EXPECT_EQ(ui.MessageBoxes()[0].text, c.firstText);
  }
  return played;
}

TEST(ProvisioningRun, ShowsStoresAndRemembersAsEachSituationDemands) {
  for (const test::RunCase& c : test::kRunCases) {
    SCOPED_TRACE(c.name);
    const test::RunWorld world(c);
    test::PlayCase(c, world, [&](const std::string& line, const std::vector<std::string>& shown) {
      return PlayAnswering(c, world, line, shown);
    });
  }
}

// Every situation once more, quiet and then with /check in a world of its own: the preview writes
// nothing and ends with the status and the outcomes of the quiet run, but where the service
// refuses a store or a removal, which nothing but trying can reveal.
TEST(ProvisioningRun, CheckWritesNothingAndEndsAsTheQuietRunWould) {
  for (const test::RunCase& c : test::kRunCases) {
    SCOPED_TRACE(c.name);
    std::string ended[2];  // the exit status, and the report's summary
    for (const bool check : {false, true}) {
      const test::RunWorld world(c);
      const auto play = [&](const std::string& line) { return PlayAnswering(c, world, line, {}); };
      test::PlayEarlier(c, world, [&](const std::string& line) { return play(line).status; });
      const std::string before = test::WrittenFiles(world);
      const int status =
          play(c.commandLine + " /quiet /report:report.json" + (check ? " /check" : "")).status;
      const std::string report = test::ReadFileBytes((world.start / "report.json").string());
      test::KeepReport(report);
      ended[check] = std::to_string(status) + " " + test::ReportSummary(report);
      if (check) {
        EXPECT_EQ(test::WrittenFiles(world), before);
      }
    }
    if (ended[0].find(" failed") == std::string::npos) {
      EXPECT_EQ(ended[1], ended[0]);
    }
  }
}

// Where the record's size cannot tell, the system's version decides: SSTP needs Vista's first
// service pack, whose record is Vista's, and IKEv2's pre-shared key Windows 8, whose is 7's.
SystemVersion g_version;

TEST(LaterStore, AsksTheSystemsVersionWhereTheSizeCannotTell) {
  const struct {
    const char* layout;
    SystemVersion version;
    DWORD strategy;
    bool preSharedKey;
    const char* refusal;  // the message's start; empty: carried
  } rows[] = {
      {"Windows Vista",
       {6, 0, 0},
       VS_SstpFirst,
       false,
       "VpnStrategy=SstpFirst needs Windows Vista SP1"},
      {"Windows Vista", {6, 0, 1}, VS_SstpOnly, false, ""},
      {"Windows 7", {6, 1, 1}, VS_Ikev2First, true, "UsePreSharedKey=1 needs Windows 8"},
      {"Windows 7", {6, 2, 0}, VS_Ikev2Only, true, ""},
      {"Windows 7", {6, 1, 0}, VS_L2tpOnly, true, ""},
  };
  const SystemVersionSource previous = ReplaceSystemVersionSource([] { return g_version; });
  for (const auto& row : rows) {
    SCOPED_TRACE(row.refusal);
    g_version = row.version;
    CLaterKeys keys;
    keys.values.dwVpnStrategy = row.strategy;
    keys.values.dwfOptions2 = row.preSharedKey ? RASEO2_UsePreSharedKey : 0;
    keys.set[&FieldNamed("dwVpnStrategy") - kLaterRecordFields.data()] = true;
    keys.set[&FieldNamed("dwfOptions2") - kLaterRecordFields.data()] = true;
    const EntryLayout* layout =
        std::find_if(std::begin(kEntryLayouts), std::end(kEntryLayouts),
                     [&](const EntryLayout& l) { return std::string(l.windows) == row.layout; });
    const std::string refusal = LaterKeyNotCarried(keys, MergedEntry({}, {}, keys, true), *layout);
    EXPECT_EQ(refusal.substr(0, std::strlen(row.refusal)), row.refusal);
    EXPECT_EQ(refusal.empty(), *row.refusal == '\0');
  }
  ReplaceSystemVersionSource(previous);
}

// The executable's directory, as the run takes it from the help file's path: that path is the
// executable's with the file name's extension replaced (a dot in a folder's name starts none), and
// the directory is it without the name and the last separator, but the roots'.
TEST(ExecutableDirectory, FromTheHelpFilePathFormedFromTheExecutablesPath) {
  const struct {
    const char* executable;
    const char* directory;
  } cases[] = {
      {"/opt/dial.kit/bin/dialkit", "/opt/dial.kit/bin"},
      {"/dialkit", "/"},
      {"dialkit", ""},
      {"C:\\Dial.Kit\\dialkit", "C:\\Dial.Kit"},
      {"C:\\DIALKIT.EXE", "C:\\"},
      {"\\\\server\\share\\DIALKIT.EXE", "\\\\server\\share"},
  };
  for (const auto& c : cases) {
    // The backslash separates only on some platforms.
    if (std::strchr(c.executable, '\\') == nullptr || IsPathSeparator('\\')) {
      EXPECT_EQ(ExecutableDirectory(HelpFilePathFor(c.executable).c_str()), c.directory)
          << c.executable;
    }
  }
}

}  // namespace
