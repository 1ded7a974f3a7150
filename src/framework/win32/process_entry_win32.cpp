// The process entry on Windows: a GUI program with no console. WinMain receives the command line
// without the program name, which is the text the application object is handed, together with
// the executable's path.
#include <windows.h>

#include "framework/win_app.h"
#include "platform/file_system.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  char executablePath[MAX_PATH] = "";
  GetExecutablePath(executablePath, sizeof executablePath);
  return RunApplication(commandLine, executablePath);
}
