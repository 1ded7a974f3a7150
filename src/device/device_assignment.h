// Device assignment: gives the two new entries their remote-access devices. The VPN entry gets
// the first installed VPN adapter; the main entry gets the only installed device, or, with
// several, the device remembered in the settings file or the one the user picks in the device
// selection dialog. This is the device subsystem's chief header.
#pragma once

#include <cstdint>

#include "device/modem_select_dlg.h"
#include "entry/entry_record.h"

// Assigns the devices and warns the user in a message box when a device is missing. `*vpnFlag`
// says on entry whether a VPN entry is wanted, and on return whether it got an adapter.
// `askForDevice` lets the user pick even when a device is remembered. Returns the main flag: 1
// when the main entry got a device and may be stored; 0 when no device is installed or the user
// did not pick one. The device list stays allocated, and the dialog pointing into it, until the
// process ends.
int AssignDevices(RASENTRYA* mainEntry, RASENTRYA* vpnEntry, int* vpnFlag, int32_t askForDevice,
                  const char* settingsFilePath, CModemSelectDlg* dialog);
