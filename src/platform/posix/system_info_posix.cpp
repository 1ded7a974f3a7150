// Where the POSIX stand-in system and the running program are.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/paths.h"
#include "platform/posix/library_trust.h"
#include "platform/posix/path_copy.h"
#include "platform/posix/stand_in_system.h"
#include "platform/system_info.h"

size_t GetSystemDirectoryPath(char* buffer, size_t capacity) {
  const std::string directory = StandInSystemDirectory();
  if (!CopyWhole(buffer, capacity, directory)) {
    return directory.size() + 1;
  }
  return directory.size();
}

bool IsNtFamilySystem() {
  return true;
}

bool GetExecutablePath(char* buffer, size_t capacity) {
  char path[4096];  // not zeroed: readlink says how much it filled
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof path) {
    return false;
  }
  return CopyWhole(buffer, capacity, std::string(path, static_cast<size_t>(length)));
}

std::string ToolFilesDirectory(const std::string& executableDirectory) {
  if (InstalledLibraryDirectory(executableDirectory + "/").empty()) {
    return executableDirectory;
  }
  char prefix[4096];
  if (!FormFullPath(prefix, sizeof prefix, (executableDirectory + "/..").c_str())) {
    return executableDirectory;
  }
  const std::string directory =
      (std::string(prefix) == "/usr" ? std::string() : std::string(prefix)) + "/etc/dialkit";
  struct stat info;
  return stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? directory
                                                                      : executableDirectory;
}
