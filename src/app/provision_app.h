// The provisioning run: the tool's application object, whose start-up is the whole life of the
// process. It moves into the executable's directory, reads the command line, loads the
// remote-access library, asks before overwriting existing entries, reads the entry descriptions,
// has devices assigned, stores the entries and remembers the main entry's device, then cleans up
// and moves back. With /remove it deletes the named entries instead. Every exchange with the user
// is a message box or the device selection dialog, unless the run is quiet (/quiet), when nobody
// is asked anything; with /log:FILE the run is also recorded in FILE. This is the driver
// subsystem's chief header.
#pragma once

#include <string>

#include "app/run_result.h"
#include "framework/win_app.h"

class CProvisionApp : public CWinApp {
 public:
  CProvisionApp();
  ~CProvisionApp() override;

  // The run. It always answers FALSE: there is no main window and no message loop to enter, and
  // the exit step follows at once.
  BOOL InitInstance() override;
  // The run's exit status (RunStatus), which becomes the process's.
  int ExitInstance() override;
  std::string UsageText() const override;
  std::string VersionText() const override;

 private:
  int exitStatus_ = kRunStoredAll;
};
