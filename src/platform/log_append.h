// Appending a line to a log that several processes may write at once.
#pragma once

#include <string>

// Appends `line` and the platform's line end ("\r\n" on Windows, "\n" on POSIX) to the file at
// `path`, creating it when missing, with one write to the end of the file, so that lines that
// two processes append to one file at once never mix. Fails when the file cannot be opened or the
// write is short, and when what exists under `path` is no regular file (a FIFO or named pipe, a
// device), on POSIX without opening it, so that the append never waits and never writes into such
// a file; on Windows also when it is a link or has a second name (a hard link).
bool AppendLineToFile(const char* path, const std::string& line);
