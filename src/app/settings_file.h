// The tool's settings file, dialkit.ini beside the executable: it remembers the device of the
// last main entry that was stored, in section "Modem Selection", keys DeviceType and DeviceName.
// Both operations take the file's full path and go through the profile component.
#pragma once

#include <cstdint>

#include "entry/entry_record.h"

// Reads the remembered device straight into the record's szDeviceType (at most 16 characters)
// and szDeviceName (at most 128), overwriting both in every case; a missing file, section or key
// reads as empty. Returns 0 when both are non-empty, kNoRememberedDevice otherwise. The device is
// not compared with the installed ones.
int32_t ReadModemSelection(RASENTRYA* entry, const char* settingsFilePath);

// Writes the record's szDeviceType and szDeviceName as the remembered device, both keys every
// time; the file and its section are created when missing. A failed write is not reported.
void WriteModemSelection(const RASENTRYA* entry, const char* settingsFilePath);

// Writes the record's device as the remembered one only when the file does not hold exactly that
// device already, so that a run that changes nothing leaves the file's bytes and time as they
// were. True when it wrote.
bool RememberModemSelection(const RASENTRYA* entry, const char* settingsFilePath);
