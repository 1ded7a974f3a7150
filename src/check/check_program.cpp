// dialkit-check's command line: its options, the checks of the file and the report asked for.
#include "check_program.h"

#include <cstring>

#include "base/text.h"
#include "check_report.h"
#include "dialkit_version.h"
#include "entry_check.h"
#include "platform/paths.h"

namespace {

constexpr char kUsage[] =
    "usage: dialkit-check FILE [--section RasEntry|VPNEntry] [--json]\n"
    "       dialkit-check --help | --version\n"
    "\n"
    "Shows what DIALKIT would store from the entry description file FILE, read exactly as\n"
    "DIALKIT reads it, and every surprise in it: one finding per line, as\n"
    "FILE:LINE: error|warning|note: message [code], then the records.\n"
    "\n"
    "  --section NAME  check [RasEntry] or [VPNEntry] alone (both by default)\n"
    "  --json          the same facts as one JSON document\n"
    "\n"
    "A relative FILE is taken from the current directory (DIALKIT itself takes a relative\n"
    "INIT from its own directory).\n"
    "\n"
    "Exit status: 0 no error or warning, 1 warnings only, 2 errors, 3 the file cannot be\n"
    "read, 4 the command line is wrong. Each code is explained in the documentation\n"
    "(dialkit-check.md).\n";

int WrongCommandLine(std::FILE* err, const char* what) {
  Put(err, {"dialkit-check: ", what, "\n", kUsage});
  return kCheckWrongCommandLine;
}

}  // namespace

int RunCheckProgram(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  const char* file = nullptr;
  const char* section = nullptr;
  bool json = false;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0 ||
        std::strcmp(argument, "/?") == 0) {
      std::fputs(kUsage, out);
      return 0;
    }
    if (std::strcmp(argument, "--version") == 0) {
      std::fputs("dialkit-check " DIALKIT_VERSION_TEXT "\n", out);
      return 0;
    }
    if (std::strcmp(argument, "--json") == 0) {
      json = true;
    } else if (std::strcmp(argument, "--section") == 0 && i + 1 < argc) {
      section = argv[++i];
      if (!TextEqualsIgnoringCase(section, "RasEntry") &&
          !TextEqualsIgnoringCase(section, "VPNEntry")) {
        return WrongCommandLine(err, "--section takes RasEntry or VPNEntry");
      }
    } else if (argument[0] == '-' && argument[1] != '\0') {
      return WrongCommandLine(err, "unknown option or missing section name");
    } else if (file != nullptr) {
      return WrongCommandLine(err, "one file at a time");
    } else {
      file = argument;
    }
  }
  if (file == nullptr) {
    return WrongCommandLine(err, "no file given");
  }
  // The tool hands the reader a full path; a name alone would be looked up in the system's
  // directory instead.
  char fullPath[4096];
  if (!FormFullPath(fullPath, sizeof fullPath, file)) {
    Put(err, {file, ": error: no full path can be formed from this name\n"});
    return kCheckUnreadable;
  }
  const CEntryFileCheck check = CheckEntryFile(fullPath, section);
  if (!check.readable && !json) {
    Put(err, {file, ": error: the file cannot be read: ", check.problem, "\n"});
  }
  if (json) {
    WriteJsonReport(out, file, check);
  } else if (check.readable) {
    WriteTextReport(out, file, check);
  }
  return check.ExitStatus();
}
