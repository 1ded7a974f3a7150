// Paths and the current directory on POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "platform/posix/path_copy.h"

namespace {

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
