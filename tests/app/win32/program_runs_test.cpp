// dialkit.exe itself, started as a person starts it: a separate process from another folder, with
// the stand-in Remote Access Service in the system directory, on a (virtual) screen, and planted
// libraries and files that must never be loaded or read. Its message boxes and its
// dialog are found on the screen, read and answered like a person would; afterwards the phone
// book and the settings file are checked. Every wait has a time-out, so that a program that shows
// nothing, or hangs, fails the test instead of stopping the test run.
//
// Runs under Wine only. On Windows the platform's own service would be loaded, and the folder
// these tests fill is the real phone book's.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/run_fixtures.h"
#include "resource.h"
#include "support/test_environment.h"

namespace {

namespace fs = std::filesystem;

// Long enough for the first start of a program in a fresh Wine prefix.
constexpr DWORD kTimeoutMs = 20000;

fs::path BuiltDirectory() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  return fs::path(path).parent_path();
}

// Waits until `done` holds, polling; false on time-out.
template <typename Condition>
bool WaitUntil(Condition done) {
  const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
  while (!done() && GetTickCount64() < deadline) {
    Sleep(20);
  }
  return done();
}

// Texts of another process's windows are asked for in UTF-16: under Wine the narrow messages
// give only the first character across processes. The texts here are ASCII.
std::string WindowText(HWND window) {
  std::wstring text(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
  text.resize(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  return {text.begin(), text.end()};
}

std::vector<std::string> ComboBoxItems(HWND list) {
  std::vector<std::string> items;
  for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
    std::wstring item(SendMessageW(list, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
    item.resize(SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())));
    items.emplace_back(item.begin(), item.end());
  }
  return items;
}

// Saves what the screen shows of `window` as a PNG file in the build tree, for people to look at.
bool SaveScreenshot(HWND window, const char* name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // The program paints on its own thread; a message it has answered means its queue is through.
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
  RECT area = {};
  GetWindowRect(window, &area);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP picture = CreateCompatibleBitmap(screen, area.right - area.left, area.bottom - area.top);
  HGDIOBJ previous = SelectObject(memory, picture);
  BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top,
         SRCCOPY | CAPTUREBLT);
  SelectObject(memory, previous);
  const fs::path folder = BuiltDirectory() / "screenshots";
  fs::create_directories(folder);
  const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  const bool saved =
      Gdiplus::Bitmap(picture, nullptr).Save((folder / name).wstring().c_str(), &png, nullptr) ==
      Gdiplus::Ok;
  Gdiplus::GdiplusShutdown(token);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

// While it lives, the system directory has no rasapi32.dll: the stand-in is moved aside.
class ServiceRemoved {
 public:
  ServiceRemoved() {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    service_ = fs::path(system) / "rasapi32.dll";
    fs::rename(service_, aside_);
  }
  ~ServiceRemoved() { fs::rename(aside_, service_); }
  ServiceRemoved(const ServiceRemoved&) = delete;
  ServiceRemoved& operator=(const ServiceRemoved&) = delete;

 private:
  fs::path service_;
  test::ScopedTempDirectory directory_;
  fs::path aside_ = directory_.path() / "rasapi32.dll";
};

// The program installed in a folder with a blank in its name, as under "Program Files", with
// libraries beside it that it must not load (a rasapi32.dll that is not the service, a theme
// library), the entry description file and the settings file (null: none), and started with
// `arguments` from another folder, which holds another such library and what a downloads folder
// may: another entry description file, and a settings file that remembers another modem; its
// standard output a file there (Output), as a parent that reads it passes one. It is ended by
// force when it is still running at the end of the test.
class InstalledProgram {
 public:
  InstalledProgram(const std::string& arguments, const char* settings,
                   const std::wstring& folder = L"DIALKIT")
      : program_(root_.path() / "Program Files" / folder) {
    fs::create_directories(program_);
    fs::create_directories(start_);
    fs::copy_file(BuiltDirectory() / "dialkit.exe", program_ / "dialkit.exe");
    for (const fs::path& planted :
         {program_ / "rasapi32.dll", program_ / "uxtheme.dll", start_ / "rasapi32.dll"}) {
      fs::copy_file(BuiltDirectory() / "loadertest.dll", planted);
    }
    std::ofstream(program_ / "isp.ini", std::ios::binary) << test::kDescriptions;
    if (settings != nullptr) {
      std::ofstream(program_ / "dialkit.ini", std::ios::binary) << settings;
    }
    test::WriteFileBytes(StartFile("isp.ini"), "[RasEntry]\nLocalPhoneNumber=5556666\n");
    test::WriteFileBytes(StartFile("dialkit.ini"), "[Modem Selection]\nDeviceName=Planted\n");
    std::wstring commandLine = L"\"" + (program_ / "dialkit.exe").wstring() + L"\" ";
    commandLine.append(arguments.begin(), arguments.end());
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    output_ = CreateFileA(StartFile("output.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                          &inherited, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output_;
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               start_.wstring().c_str(), &startup, &process_));
  }
  ~InstalledProgram() {
    TerminateProcess(process_.hProcess, 1);  // fails harmlessly when it has ended
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    CloseHandle(output_);
  }

  // What the program wrote on its standard output.
  std::string Output() const { return test::ReadFileBytes(StartFile("output.txt")); }

  std::string File(const char* name) const { return (program_ / name).string(); }
  std::string StartFile(const char* name) const { return (start_ / name).string(); }

  // A planted library, once loaded, leaves a file named as itself and ".loaded".
  bool LoadedAPlantedLibrary() const {
    return fs::exists(program_ / "rasapi32.dll.loaded") ||
           fs::exists(program_ / "uxtheme.dll.loaded") ||
           fs::exists(start_ / "rasapi32.dll.loaded");
  }

  // The program's next window; null when the program ended first or nothing came in time.
  HWND WaitForWindow() const {
    HWND found = nullptr;
    WaitUntil([&] {
      // Looked at before the search, so that a window shown just before the end is not missed.
      const bool ended = WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
      // Message boxes and dialogs are both of the dialog class.
      for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr));) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == process_.dwProcessId && IsWindowVisible(window)) {
          found = window;
        }
      }
      return found != nullptr || ended;
    });
    return found;
  }

  // Waits for the end and gives the exit code; 1 when the program does not end in time.
  DWORD ExitCode() const {
    DWORD exitCode = 1;
    if (WaitForSingleObject(process_.hProcess, kTimeoutMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process_.hProcess, &exitCode);
    }
    return exitCode;
  }

 private:
  test::ScopedTempDirectory root_;
  fs::path program_;
  fs::path start_ = root_.path() / "elsewhere";
  PROCESS_INFORMATION process_ = {};
  HANDLE output_ = INVALID_HANDLE_VALUE;
};

// The stand-in service's data lies in the folder ras of the prefix's system directory: Wine gives
// every process it starts the prefix's SystemRoot, whatever environment its parent passed, so the
// program cannot be sent to a temporary system the way the in-process tests are. CTest runs these
// tests alone, and they put back whatever they found there.
class DialkitProgram : public testing::Test {
 protected:
  void SetUp() override {
    if (test::CurrentPlatformUnderTest() != test::PlatformUnderTest::kWine) {
      GTEST_SKIP() << "needs Wine: the stand-in service cannot replace the platform's";
    }
    // Wine takes its own rasapi32 even with the stand-in beside the program, unless told
    // otherwise when it starts: a process cannot tell its child, so CTest tells the test.
    const char* overrides = std::getenv("WINEDLLOVERRIDES");
    ASSERT_TRUE(overrides != nullptr && std::strstr(overrides, "rasapi32=n") != nullptr &&
                std::strstr(overrides, "uxtheme=n,b") != nullptr)
        << "start the test with WINEDLLOVERRIDES=rasapi32=n;uxtheme=n,b, as CTest does";
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    ras_ = fs::path(system) / "ras";
    fs::create_directories(ras_);
    for (const char* name : kServiceData) {
      if (fs::exists(ras_ / name)) {
        saved_[name] = test::ReadFileBytes((ras_ / name).string());
      }
    }
  }
  void TearDown() override {
    if (ras_.empty()) {
      return;  // the folder was never taken
    }
    ClearServiceData();
    for (const auto& [name, content] : saved_) {
      test::WriteFileBytes((ras_ / name).string(), content);
    }
  }

  void ClearServiceData() const {
    for (const char* name : kServiceData) {
      fs::remove(ras_ / name);
    }
  }
  // The service with these devices and nothing else: no phone book, no failures.
  void InstallDevices(const std::vector<test::Device>& devices) const {
    ClearServiceData();
    std::string lines;
    for (const test::Device& device : devices) {
      lines += device.type + " " + device.name + "\n";
    }
    test::WriteFileBytes((ras_ / "devices.txt").string(), lines);
  }
  std::string PhoneBook() const { return (ras_ / "rasphone.pbk").string(); }

  static constexpr const char* kServiceData[] = {"devices.txt", "failures.txt", "rasphone.pbk"};
  fs::path ras_;
  std::map<std::string, std::string> saved_;  // what was there before, put back at the end
};

// One message box as the user is to see it, and the answer given.
struct ExpectedBox {
  const char* title;
  std::string text;  // "<program>" stands for the program's folder, with a final backslash
  std::string shows = "icon OK";  // the icon, if there is one, and the buttons
  int answer = IDOK;
  const char* screenshot = nullptr;  // file name of a picture of it; null: none taken
};

const ExpectedBox kUsageNotice = {
    .title = "DIALKIT Usage Notice",
    .text = "Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]"};

constexpr char kTypical[] = "INIT=isp.ini CONNECT=\"My ISP\" VPN=\"My VPN\"";

struct RunCase {
  const char* name;
  std::string arguments = kTypical;
  std::vector<test::Device> devices = test::kTypicalDevices;
  std::vector<std::string> existing = {};  // entries stored beforehand
  const char* settings = test::kRemembered;
  bool withService = true;
  std::vector<ExpectedBox> boxes = {};
  std::vector<std::string> stored = {};
  DWORD status = 0;  // also the last line of run.log in the starting folder, if there is one
  const char* reported = nullptr;  // a line of the report on the standard output (/report:-)
  std::wstring folder = L"DIALKIT";  // the name of the program's folder
};

TEST_F(DialkitProgram, ShowsItsMessagesAndStoresWhatTheyAllow) {
  const RunCase cases[] = {
      {.name = "typical: no window at all",
       .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"}},
      {.name = "both entries exist, the question cancelled; the report says so",
       .arguments = std::string(kTypical) + " /report:-",
       .existing = {"My ISP", "My VPN"},
       .boxes = {{.title = "Object Already Exists",
                  .text = "The connectiods \"My ISP\" and \"My VPN\" already exist.\nDo you want "
                          "to overwrite them?",
                  .shows = "icon OK Cancel",
                  .answer = IDCANCEL,
                  .screenshot = "overwrite-question.png"}},
       .stored = {"My ISP: Earlier Device", "My VPN: Earlier Device"},
       .reported = "  \"status\": 4,"},
      {.name = "no device at all",
       .devices = {},
       .boxes = {{.title = "DUN Warning",
                  .text = "There are no VPN adapters installed.\nPlease install DUN version 1.2b "
                          "or higher."},
                 {.title = "Modem Warning",
                  .text = "There is no modem installed in this system.  Please install the modem "
                          "first"}}},
      {.name = "empty command line", .arguments = "", .boxes = {kUsageNotice}},
      {.name = "only blanks after the program name", .arguments = "   ", .boxes = {kUsageNotice}},
      {.name = "missing entry description file",
       .arguments = "INIT=missing.ini CONNECT=\"My ISP\"",
       .boxes = {{.title = "File Not Found",
                  .text = "<program>missing.ini does not exist.  Please check the file name."}}},
      {.name = "no service in the system directory, one planted beside the program",
       .withService = false,
       .boxes = {{.title = "DIALKIT", .text = "Error loading RAS Api!", .shows = "no icon OK"}}},
      // Quiet runs: no window at all, and the exit status says what fell short.
      {.name = "quiet: both stored, the report on the standard output",
       .arguments = std::string(kTypical) + " /quiet /log:run.log /report:-",
       .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
       .reported = "      \"result\": \"created\","},
      {.name = "quiet: existing entries kept",
       .arguments = std::string(kTypical) + " /quiet /log:run.log /report:-",
       .existing = {"My ISP", "My VPN"},
       .stored = {"My ISP: Earlier Device", "My VPN: Earlier Device"},
       .status = 4,
       .reported = "      \"result\": \"kept\","},
      {.name = "quiet: a device to choose",
       .arguments = std::string(kTypical) + " /q -log:run.log",
       .settings = nullptr,
       .stored = {"My VPN: WAN Miniport (PPTP)"},
       .status = 6},
      // Its own folder or nothing: never the starting folder's files.
      {.name = "quiet: a folder whose name the ANSI code page cannot write",
       .arguments = std::string(kTypical) + " /quiet /log:run.log",
       .status = 9,
       .folder = L"DIALKIT \u10d3\u10d8"},  // Georgian, which no ANSI code page writes
      {.name = "quiet: /device:modem on a Windows machine's list",
       .arguments = std::string(kTypical) + " /quiet /device:modem /log:run.log",
       .devices = test::kWindowsDevices,
       .settings = nullptr,
       .stored = {"My ISP: Standard 28800 bps Modem", "My VPN: WAN Miniport (L2TP)"}},
      // The uninstaller's half.
      {.name = "remove, asked",
       .arguments = "CONNECT=\"My ISP\" VPN=\"My VPN\" /remove",
       .existing = {"My ISP", "My VPN", "Other"},
       .boxes = {{.title = "Remove Connection Object",
                  .text = "The connection objects \"My ISP\" and \"My VPN\" will be removed.\nDo "
                          "you want to remove them?",
                  .shows = "icon OK Cancel",
                  .screenshot = "remove-question.png"}},
       .stored = {"Other: Earlier Device"}},
      {.name = "quiet remove, one of them not there",
       .arguments = "CONNECT=\"My ISP\" VPN=\"My VPN\" /remove /quiet /log:run.log",
       .existing = {"My VPN"}},
  };
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.name);
    InstallDevices(c.devices);
    ASSERT_TRUE(test::StoreEarlierEntries(PhoneBook(), c.existing));
    std::optional<ServiceRemoved> noService;
    if (!c.withService) {
      noService.emplace();
    }
    const InstalledProgram run(c.arguments, c.settings, c.folder);

    for (const ExpectedBox& expected : c.boxes) {
      HWND box = run.WaitForWindow();
      ASSERT_NE(box, nullptr) << "no \"" << expected.title << "\"";
      std::string text = expected.text;
      if (text.rfind("<program>", 0) == 0) {
        text.replace(0, 9, run.File(""));
      }
      EXPECT_EQ(WindowText(box), expected.title);
      // The platform's message box keeps its text in the static control 0xFFFF.
      EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), text);
      EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
      bool icon = false;
      std::string buttons;
      for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char kind[16] = "";
        GetClassNameA(child, kind, sizeof kind);
        icon = icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        if (_stricmp(kind, "Button") == 0 && IsWindowVisible(child)) {
          buttons += " " + WindowText(child);
        }
      }
      EXPECT_EQ((icon ? "icon" : "no icon") + buttons, expected.shows);
      if (expected.screenshot != nullptr) {
        EXPECT_TRUE(SaveScreenshot(box, expected.screenshot));
      }
      PostMessageW(box, WM_COMMAND, expected.answer, 0);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(box); }));
    }
    EXPECT_EQ(run.WaitForWindow(), nullptr) << "no further window";
    EXPECT_EQ(run.ExitCode(), c.status) << "without /quiet the tool's status is always 0";
    EXPECT_EQ(test::StoredEntries(PhoneBook()), c.stored);
    EXPECT_FALSE(run.LoadedAPlantedLibrary());
    const std::string log = test::ReadFileBytes(run.StartFile("run.log"));
    const std::string last = " exit " + std::to_string(c.status) + "\r\n";
    if (c.arguments.find("log:") != std::string::npos) {
      EXPECT_EQ(log.rfind(last), log.size() - last.size()) << log;
    }
    if (c.reported != nullptr) {
      const std::string report = run.Output();
      test::KeepReport(report);
      EXPECT_NE(report.find(std::string("\n") + c.reported + "\n"), std::string::npos) << report;
    }
  }
}

// Two modems and an ISDN line, no device remembered: the dialog, centred on the work area, lists
// every device in the order of the sorted device list and opens on the first, with the focus on
// the list. The third, picked there, is stored and remembered; Escape stores and remembers nothing.
TEST_F(DialkitProgram, DialogListsTheDevicesAndStoresTheOnePicked) {
  for (const bool picked : {true, false}) {  // false: Escape in the list
    SCOPED_TRACE(picked ? "picked" : "Escape");
    InstallDevices({test::kStandard, test::kAcme, test::kIsdn});
    const InstalledProgram run("INIT=isp.ini CONNECT=\"My ISP\"", nullptr);
    HWND dialog = run.WaitForWindow();
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_MODEM_LIST);
    EXPECT_EQ(WindowText(dialog), "Create Dial Up Networking Object");
    EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU, 0) << "no close box, no system menu";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_MODEM_PROMPT)),
              "Select a modem for Dial Up Networking:");
    EXPECT_EQ(ComboBoxItems(list),
              (std::vector<std::string>{test::kIsdn.name, test::kAcme.name, test::kStandard.name}));
    EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
    GUITHREADINFO focus = {};
    focus.cbSize = sizeof focus;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &focus);
    EXPECT_EQ(focus.hwndFocus, list) << "the list has the focus";
    RECT window = {};
    RECT area = {};
    GetWindowRect(dialog, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR(window.left + window.right, area.left + area.right, 2);
    EXPECT_NEAR(window.top + window.bottom, area.top + area.bottom, 2);
    EXPECT_TRUE(SaveScreenshot(dialog, "modem-select-dialog.png"));

    if (picked) {
      SendMessageW(list, CB_SETCURSEL, 2, 0);
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    } else {
      PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
    EXPECT_EQ(run.WaitForWindow(), nullptr) << "no further window";
    EXPECT_EQ(run.ExitCode(), 0u) << "the tool sets no exit status of its own";
    EXPECT_FALSE(run.LoadedAPlantedLibrary());
    using Names = std::vector<std::string>;
    EXPECT_EQ(test::StoredEntries(PhoneBook()),
              picked ? Names{"My ISP: Standard 28800 bps Modem"} : Names{});
    if (picked) {
      EXPECT_EQ(test::Remembered(run.File("dialkit.ini")), "modem: Standard 28800 bps Modem");
    } else {
      EXPECT_FALSE(fs::exists(run.File("dialkit.ini")));
    }
  }
}

}  // namespace
