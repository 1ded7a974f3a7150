// The settings file.
#include "app/settings_file.h"

#include <cstring>

#include "base/text.h"
#include "platform/profile.h"
#include "platform/result_codes.h"

namespace {
constexpr char kSection[] = "Modem Selection";
constexpr char kDeviceTypeKey[] = "DeviceType";
constexpr char kDeviceNameKey[] = "DeviceName";
}  // namespace

int32_t ReadModemSelection(RASENTRYA* entry, const char* settingsFilePath) {
  // The fields cross to the Remote Access Service whole: no stale bytes behind the values.
  std::memset(entry->szDeviceType, 0, sizeof entry->szDeviceType);
  std::memset(entry->szDeviceName, 0, sizeof entry->szDeviceName);
  GetPrivateProfileStringA(kSection, kDeviceTypeKey, "", entry->szDeviceType,
                           sizeof entry->szDeviceType, settingsFilePath);
  GetPrivateProfileStringA(kSection, kDeviceNameKey, "", entry->szDeviceName,
                           sizeof entry->szDeviceName, settingsFilePath);
  return entry->szDeviceType[0] == '\0' || entry->szDeviceName[0] == '\0' ? kNoRememberedDevice : 0;
}

void WriteModemSelection(const RASENTRYA* entry, const char* settingsFilePath) {
  // Bounded copies, so that a field without its terminator cannot carry the next field's bytes
  // into the file.
  char deviceType[sizeof entry->szDeviceType];
  char deviceName[sizeof entry->szDeviceName];
  CopyText(deviceType, entry->szDeviceType);
  CopyText(deviceName, entry->szDeviceName);
  WritePrivateProfileStringA(kSection, kDeviceTypeKey, deviceType, settingsFilePath);
  WritePrivateProfileStringA(kSection, kDeviceNameKey, deviceName, settingsFilePath);
}

bool RememberModemSelection(const RASENTRYA* entry, const char* settingsFilePath) {
  RASENTRYA remembered = {};
  ReadModemSelection(&remembered, settingsFilePath);
  if (FieldText(remembered.szDeviceType) == FieldText(entry->szDeviceType) &&
      FieldText(remembered.szDeviceName) == FieldText(entry->szDeviceName)) {
    return false;
  }
  WriteModemSelection(entry, settingsFilePath);
  return true;
}
