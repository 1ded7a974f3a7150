// Where the stand-in system lies (its root, or a folder in the user's home) and its paths.
#include "platform/posix/stand_in_system.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/directories.h"

namespace {

std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') {
    return home;
  }
  const passwd* user = getpwuid(getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

std::string ConfiguredRoot() {
  const char* root = std::getenv("SystemRoot");
  if (root != nullptr && *root != '\0') {
    return root;
  }
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const std::string base = (dataHome != nullptr && *dataHome == '/')
                               ? std::string(dataHome)
                               : HomeDirectory() + "/.local/share";
  return base + "/dialkit/system";
}

}  // namespace

std::string StandInSystemRoot() {
  std::string root = ConfiguredRoot();
  // Failures show later, when a file in it cannot be opened, which is where the callers report
  // them.
  MakeDirectories(root + "/system32/ras");
  return root;
}

std::string StandInSystemDirectory() {
  return StandInSystemRoot() + "/system32";
}

std::string StandInDefaultProfilePath() {
  return StandInSystemRoot() + "/win.ini";
}
