#include "support/stand_in_system.h"

#include <filesystem>

namespace test {

ScopedStandInSystem::ScopedStandInSystem()
    : systemRoot_("SystemRoot", root_.path().string().c_str()) {
  std::filesystem::create_directories(root_.path() / "system32" / "ras");
}

std::string ScopedStandInSystem::RasFile(const char* name) const {
  return (root_.path() / "system32" / "ras" / name).string();
}

void ScopedStandInSystem::InstallDevices(const std::vector<Device>& devices) {
  std::string lines;
  for (const Device& device : devices) {
    lines += device.type + " " + device.name + "\n";
  }
  WriteFileBytes(RasFile("devices.txt"), lines);
}

void ScopedStandInSystem::FailFunction(const std::string& function, unsigned code) {
  failures_ += function + "=" + std::to_string(code) + "\n";
  WriteFileBytes(RasFile("failures.txt"), failures_);
}

std::string ScopedStandInSystem::PhoneBookPath() const {
  return RasFile("rasphone.pbk");
}

}  // namespace test
