// Making a folder and the folders above it that are missing, as `mkdir -p` does.
#pragma once

#include <sys/types.h>

#include <string>

// Makes the folder at `path` with `mode` (less the umask), and first each missing folder above
// it, walked only when the folder itself cannot be made for want of its parent. True when it
// exists then; false, with errno, when a folder cannot be made.
bool MakeDirectories(const std::string& path, mode_t mode);
