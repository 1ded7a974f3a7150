// The provisioning run: the tool's application object, whose start-up is the whole life of the
// process. It moves into the executable's directory, reads the command line, loads the
// remote-access library, asks before overwriting existing entries, reads the entry descriptions,
// has devices assigned, stores the entries and remembers the main entry's device, then cleans up
// and moves back. Every exchange with the user is a message box or the device selection dialog.
// This is the driver subsystem's chief header.
#pragma once

#include <string>

#include "framework/win_app.h"

class CProvisionApp : public CWinApp {
 public:
  CProvisionApp();
  ~CProvisionApp() override;

  // The run. It always answers FALSE: there is no main window and no message loop to enter, and
  // the exit step follows at once.
  BOOL InitInstance() override;
};

// Shows the usage notice and returns the message box's answer.
int ShowUsage();

// The directory of the executable, from its path as kept for the help file: everything up to the
// last separator, without that separator unless it is the root's ("C:\\" and "/" name the root
// only with it).
std::string ExecutableDirectory(const char* helpFilePath);
