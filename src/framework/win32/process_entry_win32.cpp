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

namespace {

// Room for the longest path the platform can give, so that a deep installation directory is
// never cut: a cut path would send the run to the wrong directory.
constexpr size_t kExecutablePathCapacity = 32768;

// The manifest asks for version 6 of the common controls. Their window classes (buttons, static
// texts, combo boxes) must be registered before the first dialog is made, which older systems do
// not do by themselves. InitCommonControlsEx came with COMCTL32 4.70 (Internet Explorer 3): it is
// found at run time, so that the program loads with the COMCTL32 of Windows 95 and NT 4.0 as
// first released, where InitCommonControls, which every COMCTL32 has, does the same.
void InitializeCommonControls() {
  using InitializeEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  using AnyFunction = void (*)();
  // Loaded already, and the one the manifest chose: the program imports InitCommonControls.
  HMODULE controls = GetModuleHandleA("comctl32.dll");
  const auto initializeEx = controls == nullptr
                                ? nullptr
                                : reinterpret_cast<InitializeEx>(reinterpret_cast<AnyFunction>(
                                      GetProcAddress(controls, "InitCommonControlsEx")));
  if (initializeEx == nullptr) {
    InitCommonControls();
    return;
  }
  const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_STANDARD_CLASSES};
  initializeEx(&classes);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int) {
  InitializeCommonControls();

  // Left empty when the path cannot be had: the run then stays in the current directory.
  std::vector<char> executablePath(kExecutablePathCapacity);
  GetExecutablePath(executablePath.data(), executablePath.size());
  return RunApplication(lpCmdLine, executablePath.data());
}
