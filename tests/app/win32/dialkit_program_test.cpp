// dialkit.exe as built. Its resources, read back from the executable: the icon's images and the
// version information (the manifest and the dialog template: built_resources.py). And the program
// itself over every situation of the run (run_cases.h) but the one that needs a service inside the
// test's process, started as a person starts it: a separate process from another folder, with the
// stand-in Remote Access Service in the system directory, on a (virtual) screen, and planted
// libraries that must never be loaded. Its message boxes and its dialog are found on the screen,
// read and answered like a person would. Every wait has a time-out, so that a program that shows
// nothing, or hangs, fails the test instead of stopping the test run.
//
// The runs go under Wine only. On Windows the platform's own service would be loaded, and the
// folder these tests fill is the real phone book's.
#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/run_cases.h"
#include "dialkit_version.h"
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

TEST(ProgramResources, IconHasEverySize) {
  const HMODULE program =
      LoadLibraryExA((BuiltDirectory() / "dialkit.exe").string().c_str(), nullptr,
                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(program, found)));
  std::vector<int> sizes;
  // After the 6-byte header, entries of 14 bytes, each opening with its image's width (0: 256).
  for (size_t entry = 6; entry + 14 <= SizeofResource(program, found); entry += 14) {
    sizes.push_back(group[entry] == 0 ? 256 : group[entry]);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 256}));
}

// The numbers installers compare before they replace a file (tools/check-packages finds the
// version's text in every packaged program).
TEST(ProgramResources, VersionInformationCarriesTheProjectVersion) {
  const std::string path = (BuiltDirectory() / "dialkit.exe").string();
  std::vector<char> information(GetFileVersionInfoSizeA(path.c_str(), nullptr));
  ASSERT_FALSE(information.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(information.size()),
                                  information.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(information.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD{MAKELONG(DIALKIT_VERSION_MINOR, DIALKIT_VERSION_MAJOR)});
  EXPECT_EQ(fixed->dwFileVersionLS, DWORD{MAKELONG(0, DIALKIT_VERSION_PATCH)});
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

// The program `program` started with the command line `line` (in the ANSI code page) from the
// world's starting folder, its standard output a file there, as a parent that reads it passes
// one. It is ended by force when it is still running at the end of the test.
class ProgramRun {
 public:
  ProgramRun(const fs::path& program, const test::RunWorld& world, const std::string& line)
      : output_(world.start / "output.txt") {
    std::wstring commandLine(line.size(), L'\0');
    commandLine.resize(MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()),
                                           commandLine.data(), static_cast<int>(line.size())));
    commandLine = L"\"" + program.wstring() + L"\" " + commandLine;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = CreateFileW(output_.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                     &inherited, CREATE_ALWAYS, 0, nullptr);
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               world.start.wstring().c_str(), &startup, &process_));
    CloseHandle(startup.hStdOutput);  // the program has its own
  }
  ~ProgramRun() {
    TerminateProcess(process_.hProcess, 1);  // fails harmlessly when it has ended
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

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

  // Waits for the end; the exit code (1 when the program does not end in time) and what the
  // program wrote on its standard output.
  test::Played End() const {
    DWORD exitCode = 1;
    if (WaitForSingleObject(process_.hProcess, kTimeoutMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process_.hProcess, &exitCode);
    }
    return {static_cast<int>(exitCode), test::ReadFileBytes(output_.string())};
  }

 private:
  fs::path output_;
  PROCESS_INFORMATION process_ = {};
};

// The device selection dialog as the platform shows it: no close box, no system menu, its two
// buttons, centred on the work area, every device in the order of the sorted device list, the
// first selected and the list focused. Its picture is named after the screen's `dpi`.
void ExpectDialogAsLaidOut(HWND dialog, std::vector<test::Device> devices, int dpi) {
  HWND list = GetDlgItem(dialog, IDC_MODEM_LIST);
  EXPECT_EQ(WindowText(dialog), "Create Dial Up Networking Object");
  EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_MODEM_PROMPT)),
            "Select a modem for Dial Up Networking:");
  // The runs send OK and Cancel as commands, not clicks: the buttons must be the ones that do.
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDOK)), "&OK");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDCANCEL)), "&Cancel");
  std::sort(devices.begin(), devices.end(), [](const test::Device& a, const test::Device& b) {
    return std::tie(a.type, a.name) < std::tie(b.type, b.name);
  });
  std::vector<std::string> names;
  for (const test::Device& device : devices) {
    names.push_back(device.name);
  }
  EXPECT_EQ(ComboBoxItems(list), names);
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
  const std::string name = "modem-select-dialog-" + std::to_string(dpi) + "dpi.png";
  EXPECT_TRUE(SaveScreenshot(dialog, dpi == 96 ? "modem-select-dialog.png" : name.c_str()));
}

// A message box's icon, if it has one, and its buttons: "icon OK Cancel".
std::string BoxLooks(HWND box) {
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
  return (icon ? "icon" : "no icon") + buttons;
}

// The stand-in service's data lies in the folder ras of the prefix's system directory: Wine gives
// every process it starts the prefix's SystemRoot, whatever environment its parent passed, so the
// program cannot be sent to the world's system the way the in-process tests are. Each run takes
// the world's data there, in place of the last run's, and brings the phone book back when the run
// changed it. CTest runs these tests alone, in the prefix it put the stand-in into, and they leave
// no data there.
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
  }
  void TearDown() override {
    if (!ras_.empty()) {  // the folder was taken
      fs::remove_all(ras_);
    }
  }

  // The world's program, in `program`, beside a rasapi32.dll that is not the service and a theme
  // library, and the starting folder with another such library.
  static void Install(const test::RunWorld& world, const fs::path& program) {
    fs::copy_file(BuiltDirectory() / "dialkit.exe", program / "dialkit.exe");
    for (const fs::path& planted :
         {program / "rasapi32.dll", program / "uxtheme.dll", world.start / "rasapi32.dll"}) {
      fs::copy_file(BuiltDirectory() / "loadertest.dll", planted);
    }
  }

  // Plays `line` with the program in `program`, the case's service and the world's data, and
  // answers the windows `shown` as the case says, checking each as a person sees it. A planted
  // library, once loaded, leaves a file named as itself and ".loaded".
  test::Played Play(const test::RunCase& c, const test::RunWorld& world, const fs::path& program,
                    const std::string& line, const std::vector<std::string>& shown) const {
    fs::remove_all(ras_);
    fs::copy(world.Root().path() / "system32" / "ras", ras_);
    // No service: the stand-in is moved aside while the program runs.
    const fs::path service = ras_.parent_path() / "rasapi32.dll";
    const fs::path aside = ras_.parent_path() / "rasapi32.dll.aside";
    if (c.service == test::Service::kNone) {
      fs::rename(service, aside);
    }
    const ProgramRun run(program / "dialkit.exe", world, line);
    int boxes = 0;
    for (const std::string& event : shown) {
      HWND window = run.WaitForWindow();
      if (window == nullptr) {
        ADD_FAILURE() << "not shown: " << event;
        break;
      }
      EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
      if (event == test::kDialog) {
        ExpectDialogAsLaidOut(window, c.devices, dpi_);
        const test::DialogAnswer answer = c.dialogAnswer.value_or(test::DialogAnswer::Cancel());
        HWND list = GetDlgItem(window, IDC_MODEM_LIST);
        if (answer.command == IDOK) {
          SendMessageW(list, CB_SETCURSEL, answer.item, 0);
          PostMessageW(window, WM_COMMAND, IDOK, 0);
        } else {
          PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
        }
      } else {
        const std::string title = event.substr(event.find(": ") + 2);
        EXPECT_EQ(WindowText(window), title);
        // The platform's message box keeps its text in the static control 0xFFFF.
        if (boxes == 0 && !c.firstText.empty()) {
          EXPECT_EQ(WindowText(GetDlgItem(window, 0xFFFF)), c.firstText);
        }
        const UINT style = test::BoxStyle(title);
        EXPECT_EQ(BoxLooks(window),
                  std::string((style & MB_ICONMASK) != 0 ? "icon" : "no icon") +
                      ((style & MB_TYPEMASK) == MB_OKCANCEL ? " OK Cancel" : " OK"));
        EXPECT_TRUE(SaveScreenshot(window, (title + ".png").c_str()));
        PostMessageW(window, WM_COMMAND, boxes++ == 0 ? c.answer : IDOK, 0);
      }
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    }
    EXPECT_EQ(run.WaitForWindow(), nullptr) << "no further window";
    const test::Played played = run.End();
    if (c.service == test::Service::kNone) {
      fs::rename(aside, service);
    }
    for (const fs::path& planted :
         {program / "rasapi32.dll", program / "uxtheme.dll", world.start / "rasapi32.dll"}) {
      EXPECT_FALSE(fs::exists(planted.string() + ".loaded")) << planted;
    }
    const std::string book = test::ReadFileBytes((ras_ / "rasphone.pbk").string());
    if (book != world.PhoneBook()) {
      test::WriteFileBytes(world.PhoneBookPath(), book);
    }
    return played;
  }

  fs::path ras_;
  int dpi_ = 96;  // of the screen the programs started
};

TEST_F(DialkitProgram, PlaysEverySituationOfTheRunThroughItsWindows) {
  for (const test::RunCase& c : test::kRunCases) {
    if (c.service == test::Service::kLargeEntries) {
      continue;
    }
    SCOPED_TRACE(c.name);
    const test::RunWorld world(c);
    Install(world, world.program);
    test::PlayCase(c, world, [&](const std::string& line, const std::vector<std::string>& shown) {
      return Play(c, world, world.program, line, shown);
    });
  }
}

// At 150 and 200 % as at 100 %, where the screen is left (Wine reads it when a program starts).
TEST_F(DialkitProgram, LaysTheDialogOutAtEachScale) {
  const test::RunCase c = {.settings = nullptr, .shown = {test::kDialog}};
  const std::string setDpi =
      R"(reg add "HKCU\Control Panel\Desktop" /f /v LogPixels /t REG_DWORD /d )";
  for (const int dpi : {144, 192, 96}) {
    dpi_ = dpi;
    ASSERT_EQ(std::system((setDpi + std::to_string(dpi)).c_str()), 0);
    const test::RunWorld world(c);
    Install(world, world.program);
    Play(c, world, world.program, c.commandLine, c.shown);
  }
}

// Its own folder or nothing: in a folder whose name the ANSI code page cannot write (Georgian), a
// quiet run reads and stores nothing, and ends with 9.
TEST_F(DialkitProgram, AFolderNameTheCodePageCannotWriteEndsTheRun) {
  const test::RunCase c = {.commandLine = test::kTypicalLine + test::kQuiet};
  const test::RunWorld world;
  const fs::path program = world.program.parent_path() / L"DIALKIT \u10d3\u10d8";
  fs::copy(world.program, program);
  Install(world, program);
  EXPECT_EQ(Play(c, world, program, c.commandLine, {}).status, 9);
  EXPECT_EQ(test::StoredEntries(world.PhoneBookPath()), std::vector<std::string>{});
  test::ExpectLog({.status = 9, .log = {"Folder Not Usable: *"}}, world);
}

}  // namespace
