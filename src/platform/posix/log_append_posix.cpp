// Appending a line to a log on POSIX, only ever to a regular file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/log_append.h"

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
