// Which libraries the POSIX loader trusts. A library is loaded with the rights of whoever runs the
// tool (root, when it provisions the system's dial-up peers), so it is taken only where nobody
// else could have put it or changed it: the library and every directory on the way to it, down
// from a directory the place allows, must be owned by root or by the owner of the executable,
// must be closed to the writes of its group and of others, and must be no symbolic link. One
// exception is made for a directory like /tmp, owned by root with the sticky bit: others may add
// names to it, but cannot take or replace the names of anyone else.
#pragma once

#include <sys/types.h>

#include <string>

// Where the installed tool whose executable lies in `executableDirectory` (a full path ending in
// its separator) keeps its libraries: ../lib/dialkit from the executable's directory in GNU's
// default layout, under any prefix, as a full path ending in its separator; empty when no such
// directory exists.
std::string InstalledLibraryDirectory(const std::string& executableDirectory);

// Whether the library at `path` (a full path) may be loaded by a tool whose executable belongs to
// `owner`: the library and every directory from its own up to `top` (a directory above it, or
// its own) pass the checks above.
bool IsTrustedLibrary(const std::string& path, const std::string& top, uid_t owner);
