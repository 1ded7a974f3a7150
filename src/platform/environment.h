// The process environment. The tool reads no variables of its own; the stand-in Remote Access
// Service reads the platform's SystemRoot to find its data directory, and must see a value that
// a test set in the same process a moment before, which the C runtime's copy of the environment
// does not show on Windows.
#pragma once

#include <string>

// The value of the variable `name`; empty when it is not set.
std::string GetEnvironmentText(const char* name);

// Appends the value of the variable `name` to `text`; false, appending nothing, when it is not
// set or empty. It makes no copy of its own, for a caller that forms a path on every call.
bool AppendEnvironmentText(std::string& text, const char* name);
