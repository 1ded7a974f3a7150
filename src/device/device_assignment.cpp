// Device assignment. The device list is taken once, sorted by type and name, and kept until the
// process ends: the dialog's device array points into it, and the records copied from it into
// the entries must stay what the user saw.
#include "device/device_assignment.h"

#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/settings_file.h"
#include "base/text.h"
#include "framework/window_system.h"
#include "ras/device_list.h"

namespace {

constexpr char kNoVpnAdapterText[] =
    "There are no VPN adapters installed.\nPlease install DUN version 1.2b or higher.";
constexpr char kNoVpnAdapterTitle[] = "DUN Warning";
constexpr char kNoModemText[] =
    "There is no modem installed in this system.  Please install the modem first";
constexpr char kNoModemTitle[] = "Modem Warning";

constexpr char kVpnDeviceType[] = "vpn";

struct FreeDeviceList {
  void operator()(RASDEVINFOA* list) const { std::free(list); }
};

// The list of the last assignment, released when the process ends.
std::unique_ptr<RASDEVINFOA, FreeDeviceList> g_deviceList;

// The device's type and name into the entry, each cut to its field and ended by zeros, so the two
// always come from one device record.
void CopyDevice(RASENTRYA* entry, const RASDEVINFOA& device) {
  CopyText(entry->szDeviceName, device.szDeviceName);
  CopyText(entry->szDeviceType, device.szDeviceType);
}

// The first VPN adapter of the list: a device whose whole type is "vpn" in any letter case.
const RASDEVINFOA* FindVpnAdapter(const RASDEVINFOA* devices, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    if (TextEqualsIgnoringCase(devices[i].szDeviceType, kVpnDeviceType)) {
      return &devices[i];
    }
  }
  return nullptr;
}

// The device the user picks in the dialog; null when the dialog is cancelled or cannot open.
const RASDEVINFOA* PickDevice(CModemSelectDlg* dialog, RASDEVINFOA* devices, uint32_t count) {
  dialog->devices = devices;
  dialog->deviceCount = count;
  if (dialog->DoModal() != IDOK) {
    return nullptr;
  }
  // A drop-down list always holds a selection after OK; an index outside the list would still
  // not be followed.
  const int32_t index = dialog->selectedIndex;
  return index >= 0 && static_cast<uint32_t>(index) < count ? &devices[index] : nullptr;
}

// The installed devices that `wanted` names, whole and in any letter case: those of that name,
// or only when no name matches, those of that type.
void FindNamedDevices(std::span<const RASDEVINFOA> devices, const char* wanted,
                      CMissingDevice* found) {
  for (const DeviceField field : {DeviceField::kName, DeviceField::kType}) {
    found->answerField = field;
    for (const RASDEVINFOA& device : devices) {
      const std::string_view text = field == DeviceField::kName ? FieldText(device.szDeviceName)
                                                                : FieldText(device.szDeviceType);
      if (TextEqualsIgnoringCase(text, wanted)) {
        found->answerNamed.push_back(&device);
      }
    }
    if (!found->answerNamed.empty()) {
      return;
    }
  }
}

}  // namespace

int AssignDevices(RASENTRYA* mainEntry, RASENTRYA* vpnEntry, int* vpnFlag, int32_t askForDevice,
                  const char* settingsFilePath, CModemSelectDlg* dialog, const char* deviceAnswer,
                  CMissingDevice* missing) {
  RASDEVINFOA* devices = nullptr;
  uint32_t count = 0;
  // Its result is not needed: the count tells what there is to choose from.
  GetSortedDeviceList(&devices, &count);
  g_deviceList.reset(devices);

  if (*vpnFlag) {
    const RASDEVINFOA* adapter = FindVpnAdapter(devices, count);
    *vpnFlag = adapter != nullptr;
    if (adapter != nullptr) {
      CopyDevice(vpnEntry, *adapter);
    } else {
      ShowWarning(kNoVpnAdapterText, kNoVpnAdapterTitle);
    }
  }

  // What the caller learns when the main entry gets no device.
  CMissingDevice unsaid;
  CMissingDevice& why = missing != nullptr ? *missing : unsaid;
  why = {};
  if (count == 0) {
    ShowWarning(kNoModemText, kNoModemTitle);
    return 0;
  }
  if (count == 1) {
    CopyDevice(mainEntry, devices[0]);
    return 1;
  }
  // The remembered device is read in every case, and used as it was read, installed or not.
  if (ReadModemSelection(mainEntry, settingsFilePath) == 0 && !askForDevice) {
    return 1;
  }
  why.installed = {devices, count};
  // Where the dialog would open, the answer given beforehand counts as the user's pick.
  if (deviceAnswer != nullptr && *deviceAnswer != '\0') {
    FindNamedDevices(why.installed, deviceAnswer, &why);
  }
  const RASDEVINFOA* picked =
      why.answerNamed.size() == 1 ? why.answerNamed[0] : PickDevice(dialog, devices, count);
  if (picked == nullptr) {
    return 0;
  }
  CopyDevice(mainEntry, *picked);
  return 1;
}
