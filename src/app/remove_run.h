// The removal run of /remove, the uninstaller's half of the tool.
#pragma once

#include "app/command_line.h"
#include "app/run_log.h"
#include "app/run_result.h"

// Deletes the entries named by CONNECT and VPN in `commandLine` (with /check: says which it
// would delete), asking a person first. Answers the run's status.
int RemoveEntries(const char* commandLine, const CRunLog& log, const CRunOptions& options,
                  CRunResult* result);
