// The process entry on POSIX: hands the one application object the arguments, quoted again for
// the tool's grammar (see CommandLineFromArguments), and the executable's path, and starts it;
// the application's exit status becomes the process's. `--help` or `--version` alone answer on
// standard output instead, as POSIX programs do. Linked into the tool's program only; test
// programs have a main of their own.
#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "dialkit_version.h"
#include "framework/posix/terminal.h"
#include "framework/win_app.h"
#include "platform/system_info.h"

namespace {

constexpr char kHelpText[] =
    "Usage: dialkit INIT=\"myfile.ini\" CONNECT=\"connectoid\" [VPN=\"name\"] [ASK=0]\n"
    "               [/quiet] [/overwrite] [/device:DEVICE] [/check] [/log:FILE]\n"
    "               [/report:FILE]\n"
    "       dialkit CONNECT=\"connectoid\" [VPN=\"name\"] /remove [/quiet] [/check] [/log:FILE]\n"
    "               [/report:FILE]\n"
    "\n"
    "Stores the dial-up entry described in section [RasEntry] of an entry description file,\n"
    "and a VPN entry described in section [VPNEntry], in the system phone book.\n"
    "\n"
    "  INIT=FILE      the entry description file; a relative name is looked for beside the\n"
    "                 program\n"
    "  CONNECT=NAME   the name of the dial-up entry\n"
    "  VPN=NAME       also store the VPN entry under this name, on the first VPN adapter\n"
    "  ASK=0          let the user choose the modem even when one is remembered\n"
    "  /quiet, /q     ask nobody and show nothing; messages go to standard error and the log\n"
    "  /overwrite     with /quiet: overwrite existing entries (otherwise nothing is stored)\n"
    "  /device:DEVICE where the modem would be asked for, take the one device with this name,\n"
    "                 or else of this type (/device:modem)\n"
    "  /remove        remove the entries named by CONNECT and VPN instead of storing them\n"
    "  /check         a quiet run that writes nothing: says what it would store or remove\n"
    "  /log:FILE      append a record of the run to FILE (relative to the current directory)\n"
    "  /report:FILE   write what the run did as JSON to FILE (-: standard output)\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "\n"
    "Keys and options are read in any letter case; an option may begin with - as well as /.\n"
    "\n"
    "An entry stored already as the file describes it is not written again.\n"
    "\n"
    "Exit status with /quiet: 0 every entry asked for was stored (or removed), 1 unusable\n"
    "command line, 2 entry description file not found, 3 Remote Access Service not loaded,\n"
    "4 existing entries kept, 5 an entry refused by the service, 6 no device for the dial-up\n"
    "entry, 7 VPN entry not stored, 8 out of memory, 9 files directory not usable. Without\n"
    "/quiet the status is always 0.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    WriteToDescriptor(STDOUT_FILENO, kHelpText);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    WriteToDescriptor(STDOUT_FILENO, std::string("dialkit ") + DIALKIT_VERSION_TEXT + "\n");
    return 0;
  }
  // A script that stops reading what a quiet run says on standard error must still learn the
  // run's status: a write to a pipe nobody reads fails, and the run goes on to its end.
  signal(SIGPIPE, SIG_IGN);
  char executablePath[PATH_MAX] = "";
  GetExecutablePath(executablePath, sizeof executablePath);
  return RunApplication(CommandLineFromArguments(argc, argv).c_str(), executablePath);
}
