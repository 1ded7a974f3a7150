// Making plain folders on POSIX.
#include "platform/directories.h"

#include <sys/stat.h>

#include <cerrno>

namespace {

bool MakeFolder(const std::string& path) {
  return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

}  // namespace

bool MakeDirectories(const std::string& path) {
  if (MakeFolder(path)) {
    return true;
  }
  if (errno != ENOENT) {
    return false;
  }
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    if (!MakeFolder(path.substr(0, slash))) {
      return false;
    }
  }
  return MakeFolder(path);
}
