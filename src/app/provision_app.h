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

#include "framework/win_app.h"

// The exit status of a quiet run: 0 when every entry asked for was stored (or, with /remove, is
// gone); otherwise, of the ways in which the run fell short, the one with the smallest code. A run
// that is not quiet always exits with 0, as installers that start the tool expect.
enum RunStatus : int {
  kRunStoredAll = 0,
  kRunUsage = 1,             // the command line is incomplete or unusable
  kRunFileNotFound = 2,      // the entry description file does not exist
  kRunServiceNotLoaded = 3,  // the remote-access library cannot be loaded
  kRunExistingKept = 4,      // the overwrite question was not answered OK
  kRunStoreRefused = 5,      // the service refused to store an entry
  kRunNoDevice = 6,          // the main entry has no device: none installed, or none chosen
  kRunNoVpnEntry = 7,        // no VPN adapter, or no VPNEntry section in the file
  kRunOutOfMemory = 8,       // the run could not go on: memory ran out
  kRunNoOwnFolder = 9,       // the tool's files directory cannot be made the current directory
};

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

// Shows the usage notice and returns the message box's answer.
int ShowUsage();

// The directory of the executable, from its path as kept for the help file: everything up to the
// last separator, without that separator unless it is the root's ("C:\\" and "/" name the root
// only with it).
std::string ExecutableDirectory(const char* helpFilePath);
