#include "ppp_system.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "framework/text.h"
#include "platform/paths.h"
#include "platform/whole_file.h"

namespace {

std::string FirstLine(const std::string& path) {
  std::string text;
  if (!ReadRegularFile(path.c_str(), &text, nullptr)) {
    return {};
  }
  text.resize(std::min(text.find('\n'), text.size()));
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) {
    text.pop_back();
  }
  return text;
}

// The product that sysfs names for the port, from the port's device or the devices above it (the
// USB interface, the USB device).
std::string ProductOf(const std::string& port) {
  for (const char* up : {"/device/product", "/device/../product", "/device/../../product"}) {
    std::string product = FirstLine(port + up);
    if (!product.empty()) {
      return product;
    }
  }
  return {};
}

// A ttyS port whose UART is unknown (type 0) is a place for a port, not a port.
bool IsRealPort(const std::string& port, std::string_view name) {
  if (name.starts_with("ttyS")) {
    const std::string type = FirstLine(port + "/type");
    return !type.empty() && type != "0";
  }
  return PathExists((port + "/device").c_str());
}

}  // namespace

std::string PppRoot() {
  std::string root;
  if (const char* named = std::getenv("DIALKIT_PPP_ROOT")) {
    root = named;
  }
  while (!root.empty() && root.back() == '/') {
    root.pop_back();
  }
  return root;
}

std::string PeersDirectory(const std::string& root) {
  return root + "/etc/ppp/peers";
}

std::string PeerFilePath(const std::string& root, std::string_view name) {
  return PeersDirectory(root) + "/" + std::string(name);
}

std::string SystemProgram(const std::string& root, const char* program) {
  return root + "/usr/sbin/" + program;
}

std::vector<RASDEVINFOA> FindDevices(const std::string& root) {
  std::vector<RASDEVINFOA> devices;
  const std::string ports = root + "/sys/class/tty";
  if (DIR* directory = opendir(ports.c_str())) {
    while (const dirent* entry = readdir(directory)) {
      const std::string_view name = entry->d_name;
      // ttyAMA: the UARTs of a Raspberry Pi and other ARM boards (a modem on the GPIO header).
      const bool serial = name.starts_with("ttyS") || name.starts_with("ttyUSB") ||
                          name.starts_with("ttyACM") || name.starts_with("ttyAMA");
      const std::string path = root + "/dev/" + std::string(name);
      if (!serial || !IsRealPort(ports + "/" + std::string(name), name) ||
          !PathExists(path.c_str())) {
        continue;
      }
      const std::string product = ProductOf(ports + "/" + std::string(name));
      // The path must stay whole to name the port; a product that leaves it no room goes.
      std::string shown = product;
      shown.append(product.empty() ? "" : " (").append(path).append(product.empty() ? "" : ")");
      if (shown.size() >= sizeof(RASDEVINFOA::szDeviceName)) {
        shown = path;
      }
      if (shown.size() >= sizeof(RASDEVINFOA::szDeviceName)) {
        continue;
      }
      RASDEVINFOA& device = devices.emplace_back();
      device = {};
      device.dwSize = sizeof device;
      CopyText(device.szDeviceType, kModemType);
      CopyText(device.szDeviceName, shown.c_str());
    }
    closedir(directory);
  }
  if (PathExists(SystemProgram(root, "pptp").c_str())) {
    RASDEVINFOA& adapter = devices.emplace_back();
    adapter = {};
    adapter.dwSize = sizeof adapter;
    CopyText(adapter.szDeviceType, kVpnType);
    CopyText(adapter.szDeviceName, kPptpAdapterName);
  }
  std::sort(devices.begin(), devices.end(), [](const RASDEVINFOA& a, const RASDEVINFOA& b) {
    const int byType = std::strncmp(a.szDeviceType, b.szDeviceType, sizeof a.szDeviceType);
    return byType != 0 ? byType < 0
                       : std::strncmp(a.szDeviceName, b.szDeviceName, sizeof a.szDeviceName) < 0;
  });
  return devices;
}

bool IsModemDevice(const std::string& port) {
  struct stat info;
  if (lstat(port.c_str(), &info) != 0) {
    return errno == ENOENT;
  }
  return stat(port.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}
