// Appending a line to a log that several processes may write at once.
#pragma once

#include <string>

// Appends `line` and the platform's line end ("\r\n" on Windows, "\n" on POSIX) to the file at
// `path`, creating it when missing, with one write to the end of the file, so that lines that
// two processes append to one file at once never mix. Fails when the file cannot be opened or the
// write is short; on POSIX also, without opening it, when what exists under `path` is no regular
// file (a FIFO, a device), so that the append never waits and never writes into such a file.
bool AppendLineToFile(const char* path, const std::string& line);
