// The command line of dialkit-check, as a function that tests can run in process:
//   dialkit-check FILE [--section RasEntry|VPNEntry] [--json]
// Writes the report to `out` and complaints about the command line or the file to `err`, and
// returns the exit status: 0 no error or warning, 1 warnings only, 2 errors, 3 the file cannot
// be read, 4 the command line is wrong.
#pragma once

#include <cstdio>

int RunCheckProgram(int argc, const char* const* argv, std::FILE* out, std::FILE* err);
