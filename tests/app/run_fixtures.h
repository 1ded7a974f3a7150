// What the tests of whole runs share, in process and as a program on either platform: the entry
// description file and the remembered device they start from, the devices of a typical machine,
// and the stand-in phone book and the settings file as the checks see them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "framework/text.h"
#include "phone_book_file.h"
#include "platform/profile.h"
#include "support/stand_in_system.h"

namespace test {

// CountryCode=0 asks the service to fill in the country's code, which the stand-in does: a run
// repeated must still find the entry unchanged.
inline constexpr char kDescriptions[] =
    "[RasEntry]\nLocalPhoneNumber=5550123\nCountryCode=0\n[VPNEntry]\nLocalPhoneNumber=vpn."
    "example.net\n";
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

// A run's world: a stand-in system with the devices installed, the entries stored beforehand (each
// with the device "Earlier Device", and with `alternates` too large for the 1768 bytes) and a
// function made to fail with 624; the program's directory, with a blank in its name, holding the
// entry description files (dialup.ini has no VPN section), a work file left by someone else and
// the settings file (null: none); and a directory to start the program from, holding another
// entry description file and a settings file that remembers another device, as a downloads folder
// may, which the run must never read.
class RunWorld : public ScopedStandInSystem {
 public:
  explicit RunWorld(const std::vector<Device>& devices = kTypicalDevices,
                    const char* settings = kRemembered,
                    const std::vector<std::string>& existing = {},
                    const char* failingFunction = nullptr, bool alternates = false) {
    std::filesystem::create_directories(program);
    std::filesystem::create_directory(start);
    WriteFileBytes(ProgramFile("isp.ini"), kDescriptions);
    WriteFileBytes(ProgramFile("dialup.ini"), "[RasEntry]\nLocalPhoneNumber=5550123\n");
    WriteFileBytes(ProgramFile("dialkit.wrk"), "left by someone else");
    WriteFileBytes((start / "isp.ini").string(), "[RasEntry]\nLocalPhoneNumber=5556666\n");
    WriteFileBytes((start / "dialkit.ini").string(), "[Modem Selection]\nDeviceName=Planted\n");
    if (settings != nullptr) {
      WriteFileBytes(ProgramFile("dialkit.ini"), settings);
      settingsTime = std::filesystem::last_write_time(ProgramFile("dialkit.ini"));
    }
    InstallDevices(devices);
    ::PhoneBook book;
    for (const std::string& name : existing) {
      book.push_back({name, {}});
      book.back().record.dwSize = kEntryRecordSize;
      book.back().record.dwAlternateOffset = alternates ? kEntryRecordSize : 0;
      CopyText(book.back().record.szDeviceName, "Earlier Device");
    }
    EXPECT_TRUE(existing.empty() || WritePhoneBook(PhoneBookPath(), book));
    if (failingFunction != nullptr) {
      FailFunction(failingFunction, 624);
    }
  }

  std::string ProgramFile(const std::string& name) const { return (program / name).string(); }

  const std::filesystem::path program = Root().path() / "Program Files" / "DIALKIT";
  const std::filesystem::path start = Root().path() / "elsewhere";
  std::filesystem::file_time_type settingsTime = {};  // of the settings file written here
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

// Every file of the world, its bytes and its time, but in the starting folder and the work file,
// which every run deletes: to tell that a run wrote nothing.
inline std::string WrittenFiles(const RunWorld& world) {
  std::string files;
  for (const auto& file : std::filesystem::recursive_directory_iterator(world.Root().path())) {
    if (file.is_regular_file() && file.path().parent_path() != world.start &&
        file.path().filename() != "dialkit.wrk") {
      files += file.path().string() + "@" +
               std::to_string(file.last_write_time().time_since_epoch().count()) + "\n" +
               ReadFileBytes(file.path().string());
    }
  }
  return files;
}

// A report in a few words: "STATUS changed|same: NAME RESULT[ KEYS], ...", where KEYS are the
// keys that change, or "all".
inline std::string ReportSummary(const std::string& report) {
  // The fields at the start of their lines (not the device's name), and the changes' keys.
  const std::regex field(R"~(\n *"(status|changed|name|result)": "?([^",\n]*)|\{"key": "(\w+))~");
  std::string summary;
  std::vector<std::string> keys;
  const auto addKeys = [&] {
    summary += keys.size() == 26 ? " all" : "";
    for (size_t i = 0; keys.size() < 26 && i < keys.size(); ++i) {
      summary += " " + keys[i];
    }
    keys.clear();
  };
  for (std::sregex_iterator i(report.begin(), report.end(), field), end; i != end; ++i) {
    const std::string name = (*i)[1];
    const std::string value = (*i)[2];
    if ((*i)[3].matched) {
      keys.push_back((*i)[3]);
    } else if (name == "status") {
      summary = value;
    } else if (name == "changed") {
      summary += value == "true" ? " changed:" : " same:";
    } else if (name == "name") {
      addKeys();
      summary += (summary.back() == ':' ? " " : ", ") + value;
    } else {
      summary += " " + value;
    }
  }
  addKeys();
  return summary;
}

// Keeps `report` for the check of every report against the schema (match_schema.py), in a folder
// of the running test's own, emptied when the test first keeps one.
inline void KeepReport(const std::string& report) {
  static std::set<std::string> cleared;
  const testing::TestInfo& test = *testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path folder = std::filesystem::path(DIALKIT_TEST_REPORTS) /
                                       (std::string(test.test_suite_name()) + "." + test.name());
  if (cleared.insert(folder.string()).second) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  const auto count = std::distance(std::filesystem::directory_iterator(folder), {});
  WriteFileBytes((folder / (std::to_string(count) + ".json")).string(), report);
}

}  // namespace test
