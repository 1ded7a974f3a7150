// Making a folder and the folders above it that are missing, as `mkdir -p` does. For plain folders
// of the user who runs the tool; a service that must give its folders an owner and a mode makes
// them its own way.
#pragma once

#include <string>

// Makes the folder at `path`, and first each missing folder above it, walked only when the folder
// itself cannot be made for want of its parent; on POSIX open to all (less the umask). True when
// a folder (or anything else) exists under `path` then; false when a folder cannot be made.
bool MakeDirectories(const std::string& path);
