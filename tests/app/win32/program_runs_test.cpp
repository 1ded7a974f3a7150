// dialkit.exe itself, started as a person starts it: a separate process from another directory,
// with the stand-in Remote Access Service beside it, on a (virtual) screen. Its message boxes and
// its dialog are found on the screen, read and answered; afterwards the phone book, the settings
// file and the work file are checked, not only the screen.
//
// Runs under Wine only. On Windows the platform's own service would be loaded, and the folder
// these tests fill is the real phone book's.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/program_windows.h"
#include "framework/text.h"
#include "phone_book_file.h"
#include "support/platform_under_test.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

struct Device {
  std::string type;
  std::string name;
};

const Device kStandard = {"modem", "Standard 28800 bps Modem"};
const Device kAcme = {"modem", "Acme 56k Voice"};
const Device kIsdn = {"isdn", "ISDN Line"};
const Device kVpn = {"vpn", "WAN Miniport (PPTP)"};
const std::vector<Device> kTypicalDevices = {kStandard, kAcme, kVpn};

constexpr char kDescriptions[] =
    "[RasEntry]\nLocalPhoneNumber=5550123\n[VPNEntry]\nLocalPhoneNumber=vpn.example.net\n";
constexpr char kRemembered[] = "[Modem Selection]\nDeviceType=modem\nDeviceName=Acme 56k Voice\n";
constexpr char kTypicalArguments[] = "INIT=isp.ini CONNECT=\"My ISP\" VPN=\"My VPN\"";
constexpr char kEarlierDevice[] = "Earlier Device";

fs::path BuiltProgramDirectory() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  return fs::path(path).parent_path();
}

// Pictures of the windows, for people to look at, beside the test programs in the build tree.
std::string PicturePath(const char* name) {
  const fs::path folder = BuiltProgramDirectory() / "screenshots";
  fs::create_directories(folder);
  return (folder / name).string();
}

// The stand-in service's data: the folder ras in the system directory of the Wine prefix. Wine
// gives every process it starts the prefix's SystemRoot, whatever the environment block its
// parent passed, so the program cannot be sent to a temporary system the way the in-process tests
// send the service; these tests take the prefix's folder for their run instead (CTest runs them
// alone) and put back whatever they found there.
class ServiceData {
 public:
  ServiceData() {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    folder_ = fs::path(system) / "ras";
    fs::create_directories(folder_);
    for (const char* name : {"devices.txt", "failures.txt", "rasphone.pbk"}) {
      const fs::path file = folder_ / name;
      saved_[file] =
          fs::exists(file) ? std::optional(test::ReadFileBytes(file.string())) : std::nullopt;
    }
    Clear();
  }

  ~ServiceData() {
    for (const auto& [file, content] : saved_) {
      std::error_code ignored;
      fs::remove(file, ignored);
      if (content) {
        test::WriteFileBytes(file.string(), *content);
      }
    }
  }

  ServiceData(const ServiceData&) = delete;
  ServiceData& operator=(const ServiceData&) = delete;

  // No devices, no failures, no phone book.
  void Clear() const {
    for (const auto& [file, content] : saved_) {
      fs::remove(file);
    }
  }

  void InstallDevices(const std::vector<Device>& devices) const {
    std::string lines;
    for (const Device& device : devices) {
      lines += device.type + " " + device.name + "\n";
    }
    test::WriteFileBytes((folder_ / "devices.txt").string(), lines);
  }

  // Entries stored before the run, each with a device of its own.
  void Store(const std::vector<std::string>& names) const {
    if (names.empty()) {
      return;
    }
    PhoneBook book;
    for (const std::string& name : names) {
      StoredEntry entry = {name, {}};
      entry.record.dwSize = kEntryRecordSize;
      CopyText(entry.record.szDeviceName, kEarlierDevice);
      book.push_back(entry);
    }
    ASSERT_TRUE(WritePhoneBook(PhoneBookPath(), book));
  }

  // "name: device" of every stored entry, in the phone book's order.
  std::vector<std::string> Stored() const {
    PhoneBook book;
    ReadPhoneBook(PhoneBookPath(), &book);
    std::vector<std::string> stored;
    for (const StoredEntry& entry : book) {
      stored.push_back(entry.name + ": " + entry.record.szDeviceName);
    }
    return stored;
  }

  std::string PhoneBookPath() const { return (folder_ / "rasphone.pbk").string(); }

 private:
  fs::path folder_;
  std::map<fs::path, std::optional<std::string>> saved_;
};

// The program installed in a folder with a blank in its name, as under "Program Files": the
// program, the stand-in service (unless left out), the entry description file, and a work file
// that something else left there. It is started from another folder.
class InstalledProgram {
 public:
  explicit InstalledProgram(bool withService = true) {
    fs::create_directories(program_);
    fs::create_directories(start_);
    const fs::path built = BuiltProgramDirectory();
    fs::copy_file(built / "dialkit.exe", program_ / "dialkit.exe");
    if (withService) {
      for (const char* library : {"rasapi32.dll", "altras.dll"}) {
        fs::copy_file(built / library, program_ / library);
      }
    }
    test::WriteFileBytes(File("isp.ini"), kDescriptions);
    test::WriteFileBytes(File("dialkit.wrk"), "work");
  }

  test::RunningProgram Start(const std::string& arguments) const {
    return test::RunningProgram(File("dialkit.exe"), arguments, start_.string());
  }

  std::string File(const std::string& name) const { return (program_ / name).string(); }
  std::string Folder() const { return program_.string() + "\\"; }

  std::string Remembered(const char* key) const {
    char value[256] = "";
    GetPrivateProfileStringA("Modem Selection", key, "", value, sizeof value,
                             File("dialkit.ini").c_str());
    return value;
  }

 private:
  test::ScopedTempDirectory root_;
  fs::path program_ = root_.path() / "Program Files" / "DIALKIT";
  fs::path start_ = root_.path() / "elsewhere";
};

// Waits for the program to end without showing anything more; a window it shows instead is
// reported and cancelled, so that the test goes on.
void ExpectEndWithoutFurtherWindows(test::RunningProgram& run) {
  for (int unexpected = 0; unexpected < 5; ++unexpected) {
    HWND window = run.WaitForWindow();
    if (window == nullptr) {
      break;
    }
    const test::MessageBoxView view = test::ViewMessageBox(window);
    ADD_FAILURE() << "unexpected window \"" << view.title << "\": " << view.text;
    test::PressButton(window, IDCANCEL);
    test::RunningProgram::WaitUntilClosed(window);
  }
  DWORD exitCode = 1;
  EXPECT_TRUE(run.WaitForExit(&exitCode)) << "the program did not end";
  EXPECT_EQ(exitCode, 0u) << "the tool sets no exit status of its own";
}

class DialkitProgram : public testing::Test {
 protected:
  void SetUp() override {
    if (test::CurrentPlatformUnderTest() != test::PlatformUnderTest::kWine) {
      GTEST_SKIP() << "needs Wine: the stand-in service cannot replace the platform's";
    }
    // Wine takes its own rasapi32 even with the stand-in beside the program, unless told
    // otherwise when it starts: a process cannot tell its child, so CTest tells the test.
    char overrides[256] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    ASSERT_NE(std::string(overrides).find("rasapi32=n"), std::string::npos)
        << "start the test with WINEDLLOVERRIDES=rasapi32=n, as CTest does";
    service_.emplace();
  }

  std::optional<ServiceData> service_;
};

// One message box as the user is to see it, and the answer given.
struct ExpectedBox {
  const char* title;
  std::string text;  // "<program>" stands for the program's folder, with a final backslash
  bool icon;
  std::vector<int> buttons;
  int answer;
  const char* picture = nullptr;  // file name of a picture of it; null: none taken
};

const ExpectedBox kUsageNotice = {
    "DIALKIT Usage Notice",
    "Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]",
    true,
    {IDOK},
    IDOK};

struct RunCase {
  const char* name;
  std::string arguments = kTypicalArguments;
  std::vector<Device> devices = kTypicalDevices;
  const char* settings = kRemembered;      // dialkit.ini beforehand; null: none
  std::vector<std::string> existing = {};  // entries stored beforehand
  bool withService = true;
  std::vector<ExpectedBox> boxes = {};
  std::vector<std::string> stored = {};
  const char* remembered = nullptr;  // device name; null: the settings file is left as it was
  bool workFileDeleted = true;
};

TEST_F(DialkitProgram, ShowsItsMessagesAndStoresWhatTheyAllow) {
  const RunCase cases[] = {
      {.name = "typical: a remembered device, no window at all",
       .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
       .remembered = "Acme 56k Voice"},
      {.name = "both entries exist, the question cancelled",
       .existing = {"My ISP", "My VPN"},
       .boxes = {{"Object Already Exists",
                  "The connectiods \"My ISP\" and \"My VPN\" already exist.\nDo you want to "
                  "overwrite them?",
                  true,
                  {IDOK, IDCANCEL},
                  IDCANCEL,
                  "overwrite-question.png"}},
       .stored = {"My ISP: Earlier Device", "My VPN: Earlier Device"}},
      {.name = "no device at all",
       .devices = {},
       .settings = nullptr,
       .boxes = {{"DUN Warning",
                  "There are no VPN adapters installed.\nPlease install DUN version 1.2b or "
                  "higher.",
                  true,
                  {IDOK},
                  IDOK},
                 {"Modem Warning",
                  "There is no modem installed in this system.  Please install the modem first",
                  true,
                  {IDOK},
                  IDOK}}},
      {.name = "empty command line",
       .arguments = "",
       .boxes = {kUsageNotice},
       .workFileDeleted = false},
      {.name = "only blanks after the program name",
       .arguments = "   ",
       .boxes = {kUsageNotice},
       .workFileDeleted = false},
      {.name = "missing entry description file",
       .arguments = "INIT=missing.ini CONNECT=\"My ISP\"",
       .boxes = {{"File Not Found",
                  "<program>missing.ini does not exist.  Please check the file name.",
                  true,
                  {IDOK},
                  IDOK}}},
      {.name = "no service library beside the program",
       .withService = false,
       .boxes = {{"DIALKIT", "Error loading RAS Api!", false, {IDOK}, IDOK}}},
  };
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.name);
    ServiceData& service = *service_;
    service.Clear();
    service.InstallDevices(c.devices);
    service.Store(c.existing);
    const std::string phoneBook = test::ReadFileBytes(service.PhoneBookPath());
    InstalledProgram program(c.withService);
    if (c.settings != nullptr) {
      test::WriteFileBytes(program.File("dialkit.ini"), c.settings);
    }

    test::RunningProgram run = program.Start(c.arguments);
    ASSERT_TRUE(run.Started());
    for (const ExpectedBox& expected : c.boxes) {
      HWND box = run.WaitForWindow();
      ASSERT_NE(box, nullptr) << "no \"" << expected.title << "\"";
      const test::MessageBoxView shown = test::ViewMessageBox(box);
      std::string text = expected.text;
      if (text.rfind("<program>", 0) == 0) {
        text.replace(0, 9, program.Folder());
      }
      EXPECT_EQ(shown.title, expected.title);
      EXPECT_EQ(shown.text, text);
      EXPECT_EQ(shown.icon, expected.icon);
      EXPECT_EQ(shown.buttons, expected.buttons);
      EXPECT_FALSE(shown.owned);
      if (expected.picture != nullptr) {
        EXPECT_TRUE(test::SaveWindowPicture(box, PicturePath(expected.picture)));
      }
      test::PressButton(box, expected.answer);
      ASSERT_TRUE(test::RunningProgram::WaitUntilClosed(box));
    }
    ExpectEndWithoutFurtherWindows(run);

    EXPECT_EQ(service.Stored(), c.stored);
    if (c.stored.empty() && c.existing.empty()) {
      EXPECT_EQ(test::ReadFileBytes(service.PhoneBookPath()), phoneBook) << "nothing written";
    }
    if (c.remembered != nullptr) {
      EXPECT_EQ(program.Remembered("DeviceName"), c.remembered);
    } else if (c.settings != nullptr) {
      EXPECT_EQ(test::ReadFileBytes(program.File("dialkit.ini")), c.settings);
    } else {
      EXPECT_FALSE(fs::exists(program.File("dialkit.ini")));
    }
    EXPECT_EQ(fs::exists(program.File("dialkit.wrk")), !c.workFileDeleted);
  }
}

// Two modems and an ISDN line, no device remembered: the dialog lists every device in the order
// of the sorted device list, opens on the first, and the device picked with the keyboard is
// stored and remembered.
TEST_F(DialkitProgram, DialogListsTheDevicesAndStoresTheOnePicked) {
  service_->InstallDevices({kStandard, kAcme, kIsdn});
  InstalledProgram program;
  test::RunningProgram run = program.Start("INIT=isp.ini CONNECT=\"My ISP\"");
  ASSERT_TRUE(run.Started());

  HWND dialog = run.WaitForWindow();
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 3060);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(test::WindowText(dialog), "Create Dial Up Networking Object");
  const LONG style = GetWindowLongA(dialog, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & WS_SYSMENU, 0) << "no close box, no system menu";
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  EXPECT_EQ(test::ControlText(dialog, 3050), "Select a modem for Dial Up Networking:");
  EXPECT_EQ(test::ComboBoxItems(list),
            (std::vector<std::string>{kIsdn.name, kAcme.name, kStandard.name}));
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
  GUITHREADINFO focus = {};
  focus.cbSize = sizeof focus;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &focus);
  EXPECT_EQ(focus.hwndFocus, list) << "the list has the focus";

  RECT window = {};
  RECT workArea = {};
  GetWindowRect(dialog, &window);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  EXPECT_NEAR(window.left + window.right, workArea.left + workArea.right, 2) << "centred";
  EXPECT_NEAR(window.top + window.bottom, workArea.top + workArea.bottom, 2) << "centred";
  EXPECT_TRUE(test::SaveWindowPicture(dialog, PicturePath("modem-select-dialog.png")));

  test::PressKey(list, VK_DOWN);
  test::PressKey(list, VK_DOWN);
  for (int tries = 0; tries < 250 && SendMessageW(list, CB_GETCURSEL, 0, 0) != 2; ++tries) {
    Sleep(20);
  }
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 2);
  test::PressKey(list, VK_RETURN);
  ASSERT_TRUE(test::RunningProgram::WaitUntilClosed(dialog));
  ExpectEndWithoutFurtherWindows(run);

  EXPECT_EQ(service_->Stored(), std::vector<std::string>{"My ISP: Standard 28800 bps Modem"});
  EXPECT_EQ(program.Remembered("DeviceType"), "modem");
  EXPECT_EQ(program.Remembered("DeviceName"), kStandard.name);
}

}  // namespace
