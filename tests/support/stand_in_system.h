// A system of its own for one test, as the stand-in Remote Access Service sees it: SystemRoot
// points at a fresh temporary folder whose system32/ras holds the installed devices, the
// functions made to fail and the default phone book. On both platforms the stand-in reads the
// variable on every call, so a test changes the devices or failures between two calls at will.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_environment.h"
#include "support/test_files.h"

namespace test {

struct Device {
  std::string type;
  std::string name;
};

class ScopedStandInSystem {
 public:
  ScopedStandInSystem() { std::filesystem::create_directories(root_.path() / "system32" / "ras"); }

  // The installed devices, in the service's order (the tool sorts them itself).
  void InstallDevices(const std::vector<Device>& devices) {
    std::string lines;
    for (const Device& device : devices) {
      lines += device.type + " " + device.name + "\n";
    }
    WriteFileBytes(RasFile("devices.txt"), lines);
  }
  // Makes the named function, and no other, answer `code` at once.
  void FailFunction(const std::string& function, unsigned code) {
    WriteFileBytes(RasFile("failures.txt"), function + "=" + std::to_string(code) + "\n");
  }

  // The Windows whose service the stand-in plays ("Windows XP"), by its windows.txt.
  void PlayWindows(const std::string& windows) {
    WriteFileBytes(RasFile("windows.txt"), windows + "\n");
  }

  // <root>/system32/ras/rasphone.pbk, the default phone book.
  std::string PhoneBookPath() const { return RasFile("rasphone.pbk"); }
  // The phone book's bytes; empty when there is none.
  std::string PhoneBook() const { return ReadFileBytes(PhoneBookPath()); }

  const ScopedTempDirectory& Root() const { return root_; }

 private:
  std::string RasFile(const char* name) const {
    return (root_.path() / "system32" / "ras" / name).string();
  }

  ScopedTempDirectory root_;
  ScopedEnvironmentVariable systemRoot_{"SystemRoot", root_.path().string().c_str()};
};

}  // namespace test
