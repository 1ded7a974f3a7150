// The two ways a line is appended to a log on Windows (see AppendLineToFile), for the tests: each
// can be tested on any system, also where the platform takes the other.
#pragma once

#include <string>

enum class AppendAccess {
  // Append access alone (NT family): every write goes to the end of the file as it is at that
  // moment, also when two processes append at once.
  kAppendData,
  // Write access, then the end before the write (95 family, whose CreateFileA honours only the
  // generic rights, so that append access alone cannot write at all).
  kWriteAtEnd,
};

// AppendLineToFile by `access`.
bool AppendLineWithAccess(const char* path, const std::string& line, AppendAccess access);
