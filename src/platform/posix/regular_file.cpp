#include "platform/posix/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

RegularFileRead ReadRegularFileBytes(const char* path, std::string& bytes, struct stat& info) {
  bytes.clear();
  const int file = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file < 0) {
    return RegularFileRead::kOpenFailed;
  }
  RegularFileRead result = fstat(file, &info) == 0 && S_ISREG(info.st_mode)
                               ? RegularFileRead::kRead
                               : RegularFileRead::kNotRegular;
  if (result == RegularFileRead::kRead) {
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t read = ::read(file, bytes.data() + got, bytes.size() - got);
      if (read > 0) {
        got += static_cast<size_t>(read);
      } else if (read == 0) {
        break;
      } else if (errno != EINTR) {
        result = RegularFileRead::kReadFailed;
        break;
      }
    }
    bytes.resize(got);
  }
  const int error = errno;
  close(file);
  errno = error;
  return result;
}

bool ReadRegularFile(const char* path, std::string* bytes, std::string* problem) {
  struct stat info;
  switch (ReadRegularFileBytes(path, *bytes, info)) {
    case RegularFileRead::kRead:
      return true;
    case RegularFileRead::kNotRegular:
      *problem = "not a regular file";
      return false;
    case RegularFileRead::kOpenFailed:
    case RegularFileRead::kReadFailed:
      break;
  }
  *problem = std::strerror(errno);
  return false;
}
