// What the tool's program prints for `--help` and `--version` where the platform's programs
// answer them: the command line, its options and the exit statuses of a quiet run.
#include <string>

#include "app/provision_app.h"
#include "dialkit_version.h"

namespace {

constexpr char kUsageText[] =
    "Usage: dialkit INIT=\"myfile.ini\" CONNECT=\"connectoid\" [VPN=\"name\"] [ASK=0]\n"
    "               [/quiet] [/overwrite] [/device:DEVICE] [/check] [/log:FILE]\n"
    "               [/report:FILE] [/secrets:FILE] [/credentials:always]\n"
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
    "  /secrets:FILE  the user names, passwords and pre-shared keys of the entries, in sections\n"
    "                 named after them (-: standard input); read by its owner alone\n"
    "  /credentials:always  set the credentials on every run, not only when an entry is stored\n"
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
    "entry, 7 VPN entry not stored, 8 out of memory, 9 files directory not usable, 10 secrets\n"
    "file not usable, 11 credentials refused, 12 a key this Windows cannot carry (or a value it\n"
    "does not know). Without /quiet the status is always 0.\n";

}  // namespace

std::string CProvisionApp::UsageText() const {
  return kUsageText;
}

std::string CProvisionApp::VersionText() const {
  return std::string("dialkit ") + DIALKIT_VERSION_TEXT + "\n";
}
