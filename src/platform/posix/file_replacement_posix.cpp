// Replacing a file on POSIX: write a new file beside it, fsync it, rename it over the old one
// (atomic within one folder), then fsync the folder so that the rename itself lasts.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/file_replacement.h"

ReplacementStepFilter g_replacementStepFilter = nullptr;

namespace {

bool StepAllowed(ReplacementStep step, const std::string& path) {
  return g_replacementStepFilter == nullptr || g_replacementStepFilter(step, path.c_str());
}

bool WriteAll(int file, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(file, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

// The old file's permissions carry over. A symbolic link is followed, so that the link stays and
// the file it names is replaced.
bool ReplaceFileContents(const char* path, const std::string& bytes) {
  std::string target = path;
  struct stat info;
  if (lstat(path, &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* resolved = realpath(path, nullptr)) {
      target = resolved;
      std::free(resolved);
    }
  }
  const bool exists = stat(target.c_str(), &info) == 0;
  // A device, a pipe or a folder is never replaced by a file (a report sent to /dev/stdout).
  if (exists && !S_ISREG(info.st_mode)) {
    return false;
  }
  // The rename would get past a file its owner made read-only, which Windows refuses to replace.
  if (exists && access(target.c_str(), W_OK) != 0) {
    return false;
  }
  const size_t slash = target.rfind('/');
  const size_t nameBegin = slash == std::string::npos ? 0 : slash + 1;
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, nameBegin);
  // One temporary name per process, so that two processes that write at once do not write into
  // each other's file; a name left behind by a process that died with our id is stepped over.
  const std::string stem =
      target.substr(0, nameBegin) + "." + target.substr(nameBegin) + "." + std::to_string(getpid());
  std::string temporary;
  int file = -1;
  if (!StepAllowed(ReplacementStep::kCreateTemporary, target)) {
    return false;
  }
  for (int attempt = 0; attempt < 100 && file < 0; ++attempt) {
    temporary = stem + "." + std::to_string(attempt) + ".tmp";
    file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0 && errno != EEXIST) {
      return false;
    }
  }
  if (file < 0) {
    return false;
  }
  bool written = StepAllowed(ReplacementStep::kWrite, target) && WriteAll(file, bytes) &&
                 (!exists || fchmod(file, info.st_mode & 07777) == 0) &&
                 StepAllowed(ReplacementStep::kFlush, target) && fsync(file) == 0;
  written = close(file) == 0 && written;
  if (!written || !StepAllowed(ReplacementStep::kRename, target) ||
      rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  StepAllowed(ReplacementStep::kReplaced, target);
  // The rename itself lasts only once the folder is on the disk; a failure here loses no data.
  const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    fsync(directory);
    close(directory);
  }
  return true;
}
