// Reading a whole file on POSIX, through the regular-file reader the profile component shares.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/posix/regular_file.h"
#include "platform/whole_file.h"

bool ReadRegularFile(const char* path, std::string* bytes, std::string* problem) {
  struct stat info;
  const RegularFileRead read = ReadRegularFileBytes(path, *bytes, info);
  // The problem's text is formed only when asked for: the message catalogue costs more than
  // the read.
  if (read != RegularFileRead::kRead && problem != nullptr) {
    *problem = read == RegularFileRead::kNotRegular ? "not a regular file" : std::strerror(errno);
  }
  return read == RegularFileRead::kRead;
}
