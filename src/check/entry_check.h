// dialkit-check: what the tool would store from an entry description file, and every surprise in
// it, each as a finding on the line it comes from. The records are filled by the tool's own
// ReadEntryDescription, and every value, key and section is taken from the same profile functions
// it reads through (the platform's own on Windows), so that the checker cannot read a file
// differently from the tool. Only the line numbers come from the file itself (source_lines.h).
#pragma once

#include "findings.h"

// Checks the file at `fullPath` (a full path, as the tool passes it): both sections when
// `onlySection` is null, otherwise "RasEntry" or "VPNEntry" alone.
CEntryFileCheck CheckEntryFile(const char* fullPath, const char* onlySection);
