// Replacing a file on POSIX: write, fsync, rename (atomic within one folder), then fsync the
// folder so that the rename itself survives a power loss.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/file_replacement.h"

namespace {

bool WriteAll(int file, const std::string& bytes) {
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = write(file, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      return false;
    }
    written += static_cast<size_t>(count);
  }
  return true;
}

void SyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    fsync(directory);
    close(directory);
  }
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::string& bytes) {
  // One temporary name per process: two processes that store at once do not write into each
  // other's temporary file; the last rename wins whole.
  const std::string temporary = std::string(path) + "." + std::to_string(getpid()) + ".new";
  const int file = open(temporary.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0666);
  if (file < 0) {
    return false;
  }
  const bool written = WriteAll(file, bytes) && fsync(file) == 0;
  if (close(file) != 0 || !written || rename(temporary.c_str(), path) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  SyncFolderOf(path);
  return true;
}
