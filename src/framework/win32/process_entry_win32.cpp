// The process entry on Windows: a GUI program with no console and no main window. The runtime's
// start-up hands WinMain the command line with the program name and the blanks after it already
// taken off, which is exactly the text the application object is given; the executable's path
// comes from the platform. RunApplication then runs InitInstance and the exit step, with no
// message loop between them, and its result is the process's exit code.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "framework/win_app.h"
#include "platform/file_system.h"

namespace {

// Room for the longest path the platform can give, so that a deep installation directory is
// never cut: a cut path would send the run to the wrong directory.
constexpr size_t kExecutablePathCapacity = 32768;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int) {
  // The manifest asks for version 6 of the common controls. Their window classes (buttons, static
  // texts, combo boxes) must be registered before the first dialog is made, which older systems
  // do not do by themselves.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  // Left empty when the path cannot be had: the run then stays in the current directory.
  std::vector<char> executablePath(kExecutablePathCapacity);
  GetExecutablePath(executablePath.data(), executablePath.size());
  return RunApplication(lpCmdLine, executablePath.data());
}
