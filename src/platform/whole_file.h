// Reading a whole file that may be anything but a regular file, without ever waiting.
#pragma once

#include <string>

// Reads the regular file at `path` whole into `bytes`, up to the size it had when it was opened.
// Nothing else is read so: a directory, a device, a pipe or a socket is refused at once, without
// waiting for a writer or reading without end. Fails, with `problem` (unless null) saying why in
// a few words, when the file is no regular file or cannot be opened or read.
bool ReadRegularFile(const char* path, std::string* bytes, std::string* problem);
