// The system under the pppd service's root: its paths, its serial ports, and who may change what.
#include "ppp_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "base/text.h"
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

// The serial ports' families, as the kernel names them: 8250 UARTs, USB serial adapters, USB
// modems (CDC ACM), the UARTs of a Raspberry Pi and other ARM boards (a modem on the GPIO header).
constexpr std::string_view kSerialPortFamilies[] = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA"};

bool IsSerialPortName(std::string_view name) {
  for (const std::string_view family : kSerialPortFamilies) {
    if (name.size() > family.size() && name.starts_with(family) &&
        name.find_first_not_of("0123456789", family.size()) == std::string_view::npos) {
      return true;
    }
  }
  return false;
}

std::string_view NameOf(std::string_view path) {
  return path.substr(path.rfind('/') + 1);
}

// Whether `folder` and each folder above it up to `top` (empty for /) is a folder, no link, that
// only root, this user and dip may change; or one of root's with the sticky bit (/tmp), where
// others may add names but not take or replace another's, above a name that is root's or this
// user's (`nameBelowTrusted`, for the first folder; the next ones are above a folder that passed).
bool IsClosedChain(std::string folder, const std::string& top, bool nameBelowTrusted) {
  for (;;) {
    const int opened = open(folder.empty() ? "/" : folder.c_str(),
                            O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info;
    const bool closed = opened >= 0 && fstat(opened, &info) == 0 &&
                        (IsClosedToOthers(opened) ||
                         (nameBelowTrusted && info.st_uid == 0 && (info.st_mode & S_ISVTX) != 0));
    if (opened >= 0) {
      close(opened);
    }
    if (!closed || folder.size() <= top.size()) {
      return closed && folder == top;
    }
    folder.erase(folder.rfind('/'));
    nameBelowTrusted = true;
  }
}

}  // namespace

gid_t DialersGroup() {
  group entry;
  group* found = nullptr;
  char buffer[4096];
  return getgrnam_r("dip", &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr
             ? found->gr_gid
             : static_cast<gid_t>(-1);
}

bool IsClosedToOthers(int file) {
  struct stat info;
  if (fstat(file, &info) != 0) {
    return false;
  }
  const bool ownerTrusted = info.st_uid == 0 || info.st_uid == geteuid();
  const bool groupTrusted = (info.st_mode & S_IWGRP) == 0 || info.st_gid == DialersGroup();
  // With an ACL the mode's group bits are its mask, and a user named in it may write unseen; a
  // folder's default ACL gives one to every file made in it.
  bool acl = false;
  for (const char* name : {"system.posix_acl_access", "system.posix_acl_default"}) {
    acl = acl || fgetxattr(file, name, nullptr, 0) >= 0;
  }
  return ownerTrusted && groupTrusted && (info.st_mode & S_IWOTH) == 0 && !acl;
}

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
      const std::string path = root + "/dev/" + std::string(name);
      if (!IsSerialPortName(name) || !IsRealPort(ports + "/" + std::string(name), name) ||
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

bool IsModemDevice(const std::string& root, const std::string& port) {
  if (port.empty()) {
    return false;
  }
  const std::string devices = root + "/dev";
  std::string folder = port.substr(0, port.rfind('/'));
  struct stat info;
  if (lstat(port.c_str(), &info) != 0) {
    if (errno != ENOENT ||
        !(IsSerialPortName(NameOf(port)) || port.starts_with(devices + "/serial/"))) {
      return false;
    }
    // Only who may change the nearest folder there may make the port.
    while (folder.size() > devices.size() && lstat(folder.c_str(), &info) != 0) {
      folder.erase(folder.rfind('/'));
    }
    return IsClosedChain(folder, devices, false);
  }
  char target[PATH_MAX];
  const bool portTrusted = info.st_uid == 0 || info.st_uid == geteuid();
  if (!IsClosedChain(folder, devices, portTrusted) || realpath(port.c_str(), target) == nullptr ||
      stat(target, &info) != 0 || !S_ISCHR(info.st_mode) || info.st_uid != 0) {
    return false;
  }
  const std::string_view device = target;
  return (IsSerialPortName(NameOf(port)) || IsSerialPortName(NameOf(device))) &&
         IsClosedChain(std::string(device.substr(0, device.rfind('/'))), "", true);
}
