// The command line's process-wide values as a process starts them: empty. The tool parses once
// per process and a value whose key is absent keeps what it held, but a test parses many times.
#pragma once

#include "app/command_line.h"

namespace test {

inline void ClearCommandLineValues() {
  g_entryFilePath[0] = g_mainEntryName[0] = g_vpnEntryName[0] = '\0';
}

}  // namespace test
