// Deciding whether a library's file and every folder above it are beyond other users' reach.
#include "platform/posix/library_trust.h"

#include <sys/stat.h>

#include "platform/paths.h"

namespace {

bool ClosedToOthers(const struct stat& info, uid_t owner) {
  const bool trustedOwner = info.st_uid == 0 || info.st_uid == owner;
  const bool closed = (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
  const bool rootSticky =
      S_ISDIR(info.st_mode) && info.st_uid == 0 && (info.st_mode & S_ISVTX) != 0;
  return trustedOwner && (closed || rootSticky);
}

std::string WithoutFinalSeparator(std::string directory) {
  while (directory.size() > 1 && directory.back() == '/') {
    directory.pop_back();
  }
  return directory;
}

}  // namespace

std::string InstalledLibraryDirectory(const std::string& executableDirectory) {
  // Looked at before its path is formed, which costs more, and a build tree has none.
  const std::string directory = executableDirectory + DIALKIT_INSTALLED_LIBRARY_DIRECTORY;
  struct stat info;
  char buffer[4096];  // not zeroed: FormFullPath writes the path with its terminator
  if (stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
      !FormFullPath(buffer, sizeof buffer, directory.c_str())) {
    return {};
  }
  return std::string(buffer) + '/';
}

bool IsTrustedLibrary(const std::string& path, const std::string& top, uid_t owner) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !ClosedToOthers(info, owner)) {
    return false;
  }
  const std::string last = WithoutFinalSeparator(top);
  std::string step = path.substr(0, path.rfind('/'));
  for (;;) {
    const char* directory = step.empty() ? "/" : step.c_str();
    if (lstat(directory, &info) != 0 || !S_ISDIR(info.st_mode) || !ClosedToOthers(info, owner)) {
      return false;
    }
    if (step.size() <= last.size() || step.empty()) {
      return (step.empty() ? "/" : step) == last;
    }
    step.erase(step.rfind('/'));
  }
}
