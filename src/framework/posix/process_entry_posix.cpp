// The process entry on POSIX: hands the one application object the arguments, quoted again for
// the tool's grammar (see CommandLineFromArguments), and the executable's path, and starts it;
// the application's exit status becomes the process's. `--help` or `--version` alone answer on
// standard output instead, with the application's texts, as POSIX programs do. Linked into the
// tool's program only; test programs have a main of their own.
#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "framework/posix/terminal.h"
#include "framework/win_app.h"
#include "platform/system_info.h"

int main(int argc, char** argv) {
  const CWinApp* application = CurrentApplication();
  if (argc == 2 && application != nullptr) {
    const bool help = std::strcmp(argv[1], "--help") == 0;
    if (help || std::strcmp(argv[1], "--version") == 0) {
      WriteToDescriptor(STDOUT_FILENO,
                        help ? application->UsageText() : application->VersionText());
      return 0;
    }
  }
  // A script that stops reading what a quiet run says on standard error must still learn the
  // run's status: a write to a pipe nobody reads fails, and the run goes on to its end.
  signal(SIGPIPE, SIG_IGN);
  char executablePath[PATH_MAX] = "";
  GetExecutablePath(executablePath, sizeof executablePath);
  return RunApplication(CommandLineFromArguments(argc, argv).c_str(), executablePath);
}
