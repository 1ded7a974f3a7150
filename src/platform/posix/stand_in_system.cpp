#include "platform/posix/stand_in_system.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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

// mkdir -p: each missing folder of the path in turn, walked only when the last one cannot be
// made for want of its parent. Failures show later, when a file in it cannot be opened, which is
// where the callers report them.
void MakeDirectories(std::string path) {
  if (mkdir(path.c_str(), 0777) == 0 || errno != ENOENT) {
    return;
  }
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    path[slash] = '\0';
    mkdir(path.c_str(), 0777);
    path[slash] = '/';
  }
  mkdir(path.c_str(), 0777);
}

}  // namespace

std::string StandInSystemRoot() {
  std::string root = ConfiguredRoot();
  MakeDirectories(root + "/system32/ras");
  return root;
}

std::string StandInSystemDirectory() {
  return StandInSystemRoot() + "/system32";
}

std::string StandInDefaultProfilePath() {
  return StandInSystemRoot() + "/win.ini";
}
