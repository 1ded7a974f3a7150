// Where the POSIX stand-in system and the running program are.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/paths.h"
#include "platform/posix/library_trust.h"
#include "platform/posix/path_copy.h"
#include "platform/posix/stand_in_system.h"
#include "platform/profile.h"
#include "platform/system_info.h"
#include "platform/system_version.h"

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

SystemVersion PlatformSystemVersion() {
  char text[64] = "";
  GetPrivateProfileStringA("StandIn", "Version", "10.0.0", text, sizeof text, nullptr);
  DWORD parts[3] = {};
  char* at = text;
  for (DWORD& part : parts) {
    part = static_cast<DWORD>(std::strtoul(at, &at, 10));
    if (*at != '.') {
      break;
    }
    ++at;
  }
  return {parts[0], parts[1], parts[2]};
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
