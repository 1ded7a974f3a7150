// Making plain folders on Windows.
#include <windows.h>

#include "platform/directories.h"

namespace {

bool MakeFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

bool MakeDirectories(const std::string& path) {
  if (MakeFolder(path)) {
    return true;
  }
  if (GetLastError() != ERROR_PATH_NOT_FOUND) {
    return false;
  }
  // A step that cannot be made (a drive, a server's name) is passed over: the folder itself says
  // at the end whether the way to it was there.
  for (size_t separator = path.find_first_of("\\/", 1); separator != std::string::npos;
       separator = path.find_first_of("\\/", separator + 1)) {
    MakeFolder(path.substr(0, separator));
  }
  return MakeFolder(path);
}
