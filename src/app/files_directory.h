// The tool's files directory, where the settings file and the work file lie and a relative INIT
// is read: finding it from the executable's path, and moving into it and back.
#pragma once

#include <cstddef>
#include <string>

// Room for the longest path of either platform, so that neither directory the run moves between
// is ever cut: a cut directory would send the settings file and a relative INIT elsewhere.
inline constexpr size_t kDirectoryCapacity = 4096;

// The directory of the executable, from its path as kept for the help file: everything up to the
// last separator, without that separator unless it is the root's ("C:\\" and "/" name the root
// only with it).
std::string ExecutableDirectory(const char* helpFilePath);

// Makes `directory` the current directory and its drive the current drive; false when the
// directory cannot be made current, and the drive is then left as it is.
bool MoveTo(const char* directory);

// Moves into the tool's files directory, where a relative INIT and the settings file are read.
// When it cannot, it tells the user and answers false: the run then reads and writes nothing
// relative, which anywhere else would be whatever lies in the directory the tool was started in
// (a downloads folder could supply both).
bool EnterFilesDirectory(const std::string& directory);
