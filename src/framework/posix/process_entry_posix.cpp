// The process entry on POSIX: hands the one application object the arguments, quoted again for
// the tool's grammar (see CommandLineFromArguments), and the executable's path, and starts it.
// Linked into the tool's program only; test programs have a main of their own.
#include <climits>

#include "framework/win_app.h"
#include "platform/file_system.h"

int main(int argc, char** argv) {
  char executablePath[PATH_MAX] = "";
  GetExecutablePath(executablePath, sizeof executablePath);
  return RunApplication(CommandLineFromArguments(argc, argv).c_str(), executablePath);
}
