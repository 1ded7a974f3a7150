// File system and system information on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "platform/local_time.h"
#include "platform/log_append.h"
#include "platform/paths.h"
#include "platform/posix/directories.h"
#include "platform/posix/library_trust.h"
#include "platform/posix/stand_in_system.h"
#include "platform/system_info.h"

namespace {

// Copies `text` whole, with its terminator, into the caller's buffer, or fails without touching
// it. The rest of the buffer is left as it is: the callers' buffers have room for the longest
// path, and filling it all would cost more than what is copied.
bool CopyWhole(char* buffer, size_t capacity, const std::string& text) {
  if (text.size() + 1 > capacity) {
    return false;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

bool CurrentDirectory(std::string* directory) {
  std::vector<char> buffer(256);
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      *directory = buffer.data();
      return true;
    }
    if (errno != ERANGE) {
      return false;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Resolves "." and ".." and runs of slashes by the text alone, as the Windows full-path service
// does: the file system is not consulted, so the named file need not exist. ".." at the root
// stays at the root.
std::string Normalize(std::string_view path) {
  std::string result;
  result.reserve(path.size() + 1);
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find('/', start), path.size());
    const std::string_view part = path.substr(start, end - start);
    if (part == "..") {
      result.resize(result.rfind('/') == std::string::npos ? 0 : result.rfind('/'));
    } else if (!part.empty() && part != ".") {
      result.append(1, '/').append(part);
    }
    start = end + 1;
  }
  return result.empty() ? "/" : result;
}

}  // namespace

bool FormFullPath(char* buffer, size_t capacity, const char* name) {
  std::string path = name;
  if (path.empty() || path[0] != '/') {
    std::string directory;
    if (!CurrentDirectory(&directory)) {
      return false;
    }
    path = directory + "/" + path;
  }
  return CopyWhole(buffer, capacity, Normalize(path));
}

bool IsPathSeparator(char c) {
  return c == '/';
}

bool IsRootDirectory(const char* path) {
  return std::strcmp(path, "/") == 0;
}

bool PathExists(const char* path) {
  struct stat status;
  return stat(path, &status) == 0;
}

bool IsDirectoryPath(const char* path) {
  struct stat status;
  return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

bool GetCurrentDirectoryPath(char* buffer, size_t capacity) {
  std::string directory;
  return CurrentDirectory(&directory) && CopyWhole(buffer, capacity, directory);
}

bool SetCurrentDirectoryPath(const char* path) {
  return chdir(path) == 0;
}

bool SetCurrentDrive(int) {
  return false;
}

bool DeleteFileAtPath(const char* path) {
  return unlink(path) == 0;
}

bool CreateEmptyFileExclusively(const char* path) {
  const int file = open(path, O_CREAT | O_EXCL | O_RDONLY | O_CLOEXEC, 0666);
  if (file < 0) {
    return false;
  }
  close(file);
  return true;
}

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

bool AppendLineToFile(const char* path, const std::string& line) {
  // Only a regular file is written: a FIFO would wait for a reader, and opening a device can
  // already do something (a serial line raises its modem signals). So anything else that exists
  // under the name is not opened, and the open file is checked again in case it was swapped in
  // meanwhile; without blocking, so that the open itself never waits.
  struct stat info {};
  if (stat(path, &info) == 0 && !S_ISREG(info.st_mode)) {
    return false;
  }
  const int file =
      open(path, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (file < 0) {
    return false;
  }
  if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(file);
    return false;
  }
  const std::string text = line + "\n";
  const ssize_t written = write(file, text.data(), text.size());
  close(file);
  return written == static_cast<ssize_t>(text.size());
}

std::string LocalDateTimeText() {
  const time_t now = time(nullptr);
  tm local{};
  char text[32] = "";
  if (localtime_r(&now, &local) != nullptr) {
    strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  }
  return text;
}

bool MakeDirectories(const std::string& path, mode_t mode) {
  if (mkdir(path.c_str(), mode) == 0 || errno == EEXIST) {
    return true;
  }
  if (errno != ENOENT) {
    return false;
  }
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    if (mkdir(path.substr(0, slash).c_str(), mode) != 0 && errno != EEXIST) {
      return false;
    }
  }
  return mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
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
