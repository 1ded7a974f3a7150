// The process entry on Windows: a GUI program with no console and no main window. The program's
// start-up (program_start_gui_win32.c) hands WinMain the command line with the program name and the
// blanks after it already taken off, which is exactly the text the application object is given; the
// executable's path comes from the platform. RunApplication then runs InitInstance and the exit
// step, with no message loop between them, and its result is the process's exit code.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "framework/win_app.h"
#include "platform/system_info.h"
#include "platform/win32/library_loader_win32.h"

namespace {

// Room for the longest path the platform can give, so that a deep installation directory is
// never cut: a cut path would send the run to the wrong directory.
constexpr size_t kExecutablePathCapacity = 32768;

// The manifest asks for version 6 of the common controls. Their window classes (buttons, static
// texts, combo boxes) must be registered before the first dialog is made, which older systems do
// not do by themselves. The library is loaded here, not imported: an import would be loaded with
// what it loads in turn (the theme library) before the program's first instruction, through a
// search that begins beside the program, where an installer in a downloads folder finds a planted
// library. By the manifest the platform still gives the version 6 it asks for. InitCommonControlsEx
// came with COMCTL32 4.70 (Internet Explorer 3); with the COMCTL32 of Windows 95 and NT 4.0 as
// first released, InitCommonControls, which every COMCTL32 has, does the same.
void InitializeCommonControls() {
  using Initialize = void(WINAPI*)();
  using InitializeEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  using AnyFunction = void (*)();
  HMODULE controls = LoadLibraryA("comctl32.dll");
  if (controls == nullptr) {
    return;
  }
  const auto initializeEx = reinterpret_cast<InitializeEx>(
      reinterpret_cast<AnyFunction>(GetProcAddress(controls, "InitCommonControlsEx")));
  if (initializeEx != nullptr) {
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_STANDARD_CLASSES};
    initializeEx(&classes);
  } else if (const auto initialize = reinterpret_cast<Initialize>(
                 reinterpret_cast<AnyFunction>(GetProcAddress(controls, "InitCommonControls")))) {
    initialize();
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int) {
  // Before anything can load a library.
  RestrictLibrarySearchToSystemDirectory();
  InitializeCommonControls();

  // Left empty when the path cannot be had: the run then has no folder of its own, and ends.
  std::vector<char> executablePath(kExecutablePathCapacity);
  GetExecutablePath(executablePath.data(), executablePath.size());
  return RunApplication(lpCmdLine, executablePath.data());
}
