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
// `askForDevice` lets the user pick even when a device is remembered. `deviceAnswer` (null or
// empty: none) answers the dialog where it would open: when it names exactly one installed
// device (FindNamedDevice), that device is taken as if picked, and the dialog opens only
// otherwise. Returns the main flag: 1 when the main entry got a device and may be stored; 0 when
// no device is installed or none was picked. The device list stays allocated, and the dialog
// pointing into it, until the process ends.
int AssignDevices(RASENTRYA* mainEntry, RASENTRYA* vpnEntry, int* vpnFlag, int32_t askForDevice,
                  const char* settingsFilePath, CModemSelectDlg* dialog,
                  const char* deviceAnswer = nullptr);

// What the device a /device option names is compared with: the devices' names, and only when no
// name matches, their types.
enum class DeviceField { kName, kType };

struct CDeviceMatch {
  DeviceField field;          // the field that decided
  uint32_t count;             // how many devices matched in it; 0: none in either
  const RASDEVINFOA* device;  // the device when exactly one matched, else null
};

// True when `device`'s name or type (`field`) is `wanted`, whole, in any letter case.
bool DeviceIs(const RASDEVINFOA& device, const char* wanted, DeviceField field);

// The installed device that `wanted` names: a device name ("Standard 28800 bps Modem") or a device
// type ("modem") that exactly one of `devices` has.
CDeviceMatch FindNamedDevice(const RASDEVINFOA* devices, uint32_t count, const char* wanted);
