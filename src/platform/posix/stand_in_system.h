// The stand-in system: one directory that plays the Windows system for the POSIX build, as a
// Wine prefix does for Wine. It holds
//   win.ini                      the default profile (profile reads with a null file name)
//   system32/                    the system directory
//   system32/ras/rasphone.pbk    the phone book of the stand-in Remote Access Service
// and whatever else the stand-in service keeps there.
//
// Its root is the directory named by the environment variable SystemRoot (the name Windows gives
// its own system root) when that is set and not empty; otherwise $XDG_DATA_HOME/dialkit/system,
// or ~/.local/share/dialkit/system when XDG_DATA_HOME is unset. The variable belongs to the
// stand-in platform, not to the tool, which reads no variables of its own. Tests always point it
// at a temporary directory.
#pragma once

#include <string>

// The root directory. Its folders system32/ras are created on the way when missing, as a system
// has them from its installation.
std::string StandInSystemRoot();

// <root>/system32, created when missing.
std::string StandInSystemDirectory();

// <root>/win.ini; the file itself is not created.
std::string StandInDefaultProfilePath();
