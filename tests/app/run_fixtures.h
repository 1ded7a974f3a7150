// What the tests of whole runs share, in process and as a program on either platform: the entry
// description file and the remembered device they start from, the devices of a typical machine,
// and the stand-in phone book and the settings file as the checks see them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/text.h"
#include "phone_book_file.h"
#include "platform/profile.h"
#include "support/stand_in_system.h"

namespace test {

inline constexpr char kDescriptions[] =
    "[RasEntry]\nLocalPhoneNumber=5550123\n[VPNEntry]\nLocalPhoneNumber=vpn.example.net\n";
inline constexpr char kRemembered[] =
    "[Modem Selection]\nDeviceType=modem\nDeviceName=Acme 56k Voice\n";

inline const Device kStandard = {"modem", "Standard 28800 bps Modem"};
inline const Device kAcme = {"modem", "Acme 56k Voice"};
inline const Device kIsdn = {"isdn", "ISDN Line"};
inline const Device kVpn = {"vpn", "WAN Miniport (PPTP)"};
inline const std::vector<Device> kTypicalDevices = {kStandard, kAcme, kVpn};
// The remote-access devices of a Windows machine with one modem: the system lists its WAN
// miniports among them.
inline const std::vector<Device> kWindowsDevices = {
    kStandard, kVpn, {"vpn", "WAN Miniport (L2TP)"}, {"pppoe", "WAN Miniport (PPPOE)"}};

// Replaces the phone book with entries of these names, each with the device "Earlier Device";
// no names: leaves it alone. Entries with alternate numbers need more than 1768 bytes.
inline bool StoreEarlierEntries(const std::string& phoneBook, const std::vector<std::string>& names,
                                bool alternates = false) {
  PhoneBook book;
  for (const std::string& name : names) {
    book.push_back({name, {}});
    book.back().record.dwSize = kEntryRecordSize;
    book.back().record.dwAlternateOffset = alternates ? kEntryRecordSize : 0;
    CopyText(book.back().record.szDeviceName, "Earlier Device");
  }
  return names.empty() || WritePhoneBook(phoneBook, book);
}

// "name: device" of every stored entry, in the phone book's order.
inline std::vector<std::string> StoredEntries(const std::string& phoneBook) {
  PhoneBook book;
  ReadPhoneBook(phoneBook, &book);
  std::vector<std::string> stored;
  for (const StoredEntry& entry : book) {
    stored.push_back(entry.name + ": " + entry.record.szDeviceName);
  }
  return stored;
}

// A run's world: a stand-in system with the devices installed, the entries stored beforehand and
// a function made to fail with 624; the program's directory with the entry description files
// (dialup.ini has no VPN section), a work file left by someone else and the settings file (null:
// none); and a directory to start the program from.
class RunWorld : public ScopedStandInSystem {
 public:
  RunWorld(const std::vector<Device>& devices, const char* settings,
           const std::vector<std::string>& existing, const char* failingFunction,
           bool alternates = false) {
    std::filesystem::create_directory(program);
    std::filesystem::create_directory(start);
    WriteFileBytes(ProgramFile("isp.ini"), kDescriptions);
    WriteFileBytes(ProgramFile("dialup.ini"), "[RasEntry]\nLocalPhoneNumber=5550123\n");
    WriteFileBytes(ProgramFile("dialkit.wrk"), "left by someone else");
    if (settings != nullptr) {
      WriteFileBytes(ProgramFile("dialkit.ini"), settings);
    }
    InstallDevices(devices);
    EXPECT_TRUE(StoreEarlierEntries(PhoneBookPath(), existing, alternates));
    if (failingFunction != nullptr) {
      FailFunction(failingFunction, 624);
    }
  }

  std::string ProgramFile(const std::string& name) const { return (program / name).string(); }

  const std::filesystem::path program = Root().path() / "program";
  const std::filesystem::path start = Root().path() / "elsewhere";
};

// The device the settings file remembers, as "type: name".
inline std::string Remembered(const std::string& settingsFile) {
  char type[32] = "";
  char name[256] = "";
  GetPrivateProfileStringA("Modem Selection", "DeviceType", "", type, sizeof type,
                           settingsFile.c_str());
  GetPrivateProfileStringA("Modem Selection", "DeviceName", "", name, sizeof name,
                           settingsFile.c_str());
  return std::string(type) + ": " + name;
}

}  // namespace test
