// Device assignment: gives the two new entries their remote-access devices. The VPN entry gets
// the first installed VPN adapter; the main entry gets the only installed device, or, with
// several, the device remembered in the settings file or the one the user picks in the device
// selection dialog. This is the device subsystem's chief header.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "device/modem_select_dlg.h"
#include "entry/entry_record.h"

// What a device named beforehand (/device) is compared with: the devices' names, and only when
// no name matches, their types.
enum class DeviceField { kName, kType };

// Why the main entry got no device.
struct CMissingDevice {
  // The installed devices, in the device list's order, which lasts until the process ends; none
  // when no device is installed. Otherwise a choice was needed and none was made.
  std::span<const RASDEVINFOA> installed;
  // The answer given beforehand, when there was one: the field that decided and the devices it
  // named there, none or several (one would have been taken).
  DeviceField answerField = DeviceField::kType;
  std::vector<const RASDEVINFOA*> answerNamed;
};

// Assigns the devices and warns the user in a message box when a device is missing. `*vpnFlag`
// says on entry whether a VPN entry is wanted, and on return whether it got an adapter.
// `askForDevice` lets the user pick even when a device is remembered. `deviceAnswer` (null or
// empty: none) answers the dialog where it would open: when it names exactly one installed device
// ("Standard 28800 bps Modem", or "modem"; in any letter case), that device is taken as if picked,
// and the dialog opens only otherwise. Returns the main flag: 1 when the main entry got a device
// and may be stored; 0 when no device is installed or none was picked, and then `*missing` (when
// given) says which. The device list stays allocated, and the dialog pointing into it, until the
// process ends.
int AssignDevices(RASENTRYA* mainEntry, RASENTRYA* vpnEntry, int* vpnFlag, int32_t askForDevice,
                  const char* settingsFilePath, CModemSelectDlg* dialog,
                  const char* deviceAnswer = nullptr, CMissingDevice* missing = nullptr);
