// Where the stand-in service keeps its data, and the two plain-text files that describe the
// machine it pretends to run on. All lie in the folder ras of the data directory:
//
//   rasphone.pbk   the default phone book (phone_book_file.h)
//   devices.txt    the installed devices: one per line, the device type, blanks, the name
//                  ("modem Standard 28800 bps Modem"); no file means no devices
//   windows.txt    the Windows whose service it plays, by name as the first line that is not a
//                  comment ("Windows XP"; the names of entry/entry_layouts.h): it takes the entry
//                  records of that Windows and of every earlier one, and answers 632 for longer
//                  ones; no file, or a name it does not know, plays Windows 95 (1768 bytes only)
//   failures.txt   functions made to fail: one per line, the function's name, an equals sign
//                  and the result it is to give ("RasSetEntryPropertiesA=624"); and dials made
//                  to fail: "RasDialA", the entry name, an equals sign, the error the dial ends
//                  with and, optionally, the dial state it ends in ("RasDialA Work=691
//                  Authenticate")
//
// In both text files, blank lines and lines starting with ; or # are passed over. The data
// directory is system32 under the folder named by the environment variable SystemRoot, which
// Windows sets to its own folder (so it is the system directory there) and which a test points
// at a temporary folder; without the variable it is the platform's system directory.
// docs/stand-in-service.md describes the files in full.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ras_service.h"
#include "service_dials.h"

// <data directory>/ras/<fileName>.
std::string ServiceFilePath(const char* fileName);

// Whole file content; false when the file cannot be opened.
bool ReadServiceFile(const std::string& path, std::string* text);

// The lines of a text, split at line feeds; a line feed at the end starts no further line.
std::vector<std::string_view> TextLines(std::string_view text);

// The devices that a devices.txt text describes, in its order. A type is cut to 16 characters
// and a name to 128, as the device record holds them; a line without a name is passed over.
std::vector<RASDEVINFOA> ParseDeviceList(const std::string& text);

// The result that a failures.txt text orders for `functionName` (compared without regard to
// letter case); 0 when it orders none.
uint32_t ParseFailureOrder(const std::string& text, const char* functionName);

// The dial states that a dial passes through, in order, ending in RASCS_Connected; their names
// are the platform's constant names without the prefix RASCS_.
struct NamedDialState {
  const char* name;
  RASCONNSTATE state;
};
extern const NamedDialState kDialStates[];
extern const size_t kDialStateCount;

// The outcome that a failures.txt text orders for dialling `entryName` (compared without regard
// to letter case). A state that is not one the dial passes through before connecting, or no
// state at all, means RASCS_ConnectDevice, where most dials fail.
DialOutcome ParseDialOrder(const std::string& text, const char* entryName);

// The installed devices and the ordered failure, read afresh from the data directory on every
// call, so that a test may change them between two calls.
std::vector<RASDEVINFOA> ReadInstalledDevices();
uint32_t OrderedFailure(const char* functionName);
// Whether the Windows that windows.txt names takes an entry record of `size` bytes.
bool TakesPlayedWindowsSize(DWORD size);
DialOutcome OrderedDialOutcome(const char* entryName);
