// Reading or comparing a regular file whole, refusing anything that could make the read wait.
#include "platform/posix/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Opens the file without waiting and tells whether what was opened is a regular file: kRead
// when it is, with `info` filled; the descriptor, or -1 when it could not be opened.
int OpenRegularFile(const char* path, struct stat& info, RegularFileRead& result) {
  const int file = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  result = file < 0                                           ? RegularFileRead::kOpenFailed
           : fstat(file, &info) == 0 && S_ISREG(info.st_mode) ? RegularFileRead::kRead
                                                              : RegularFileRead::kNotRegular;
  return file;
}

// Closes the file, keeping errno as the read left it.
void Close(int file) {
  const int error = errno;
  close(file);
  errno = error;
}

}  // namespace

RegularFileRead ReadRegularFileBytes(const char* path, std::string& bytes, struct stat& info) {
  bytes.clear();
  RegularFileRead result;
  const int file = OpenRegularFile(path, info, result);
  if (file < 0) {
    return result;
  }
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
  Close(file);
  return result;
}

RegularFileRead CompareRegularFileBytes(const char* path, std::string_view expected,
                                        struct stat& info, bool& same) {
  same = false;
  RegularFileRead result;
  const int file = OpenRegularFile(path, info, result);
  if (file < 0) {
    return result;
  }
  same = result == RegularFileRead::kRead && static_cast<size_t>(info.st_size) == expected.size();
  // One more byte than expected is asked for, so that a file grown since the fstat differs too.
  char chunk[4096];
  size_t got = 0;
  while (same) {
    const ssize_t read = ::read(file, chunk, std::min(sizeof chunk, expected.size() - got + 1));
    if (read > 0) {
      same = static_cast<size_t>(read) <= expected.size() - got &&
             std::memcmp(chunk, expected.data() + got, static_cast<size_t>(read)) == 0;
      got += static_cast<size_t>(read);
    } else if (read == 0) {
      same = got == expected.size();
      break;
    } else if (errno != EINTR) {
      result = RegularFileRead::kReadFailed;
      same = false;
    }
  }
  Close(file);
  return result;
}
