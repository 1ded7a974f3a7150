// Reading a regular file whole without ever waiting, shared by the profile component and
// ReadRegularFile (platform/whole_file.h), so that both refuse the same files the same way.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

enum class RegularFileRead {
  kRead,
  kOpenFailed,  // errno says why
  kNotRegular,  // a directory, a device, a FIFO or a socket: nothing was read
  kReadFailed,  // errno says why; `bytes` holds what was read before
};

// Opens `path` without blocking (a FIFO without a writer would otherwise wait for one), checks
// that the open file itself is a regular one, so that nothing can take the checked file's place,
// and reads at most the size it had then into `bytes`, which a file growing meanwhile cannot
// swell. `info` receives what fstat told of the open file.
RegularFileRead ReadRegularFileBytes(const char* path, std::string& bytes, struct stat& info);

// Whether the regular file at `path` holds exactly `expected`, read as ReadRegularFileBytes reads
// it, without keeping a copy. `info` receives what fstat told of the open file; anything but
// kRead means the file could not be compared.
RegularFileRead CompareRegularFileBytes(const char* path, std::string_view expected,
                                        struct stat& info, bool& same);
