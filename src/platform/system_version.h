// The version of the running Windows, for what the size of the entry record a service takes
// cannot tell (a feature that came with a service pack, or with a Windows whose record is no
// longer than the one before). On POSIX it is the stand-in system's: the key Version of section
// [StandIn] of its win.ini, "major.minor.servicepack" ("6.0.1" for Vista SP1), 10.0.0 without it.
#pragma once

#include "platform_types.h"

struct SystemVersion {
  DWORD major;
  DWORD minor;
  DWORD servicePack;
};

// Whether `version` is `major`.`minor` with service pack `servicePack` or later.
bool IsAtLeast(const SystemVersion& version, DWORD major, DWORD minor, DWORD servicePack = 0);

SystemVersion RunningSystemVersion();

using SystemVersionSource = SystemVersion (*)();
// Puts `source` in place (null: the system's own) and returns the one it replaces. Tests only.
SystemVersionSource ReplaceSystemVersionSource(SystemVersionSource source);

// The system's own answer, which each platform defines.
SystemVersion PlatformSystemVersion();
