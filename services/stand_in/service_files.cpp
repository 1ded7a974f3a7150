// The stand-in service's data directory, device list and failure orders.
#include "service_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "base/text.h"
#include "entry/entry_layouts.h"
#include "platform/environment.h"
#include "platform/system_info.h"
#include "platform/whole_file.h"

namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// Appends the data directory to `path`; false when there is none.
bool AppendDataDirectory(std::string& path) {
  if (AppendEnvironmentText(path, "SystemRoot")) {
    path.append(1, kSeparator).append("system32");
    return true;
  }
  char directory[260];
  const size_t length = GetSystemDirectoryPath(directory, sizeof directory);
  path.append(directory, length > 0 && length < sizeof directory ? length : 0);
  return !path.empty();
}

// The lines that carry content: without their line end and surrounding blanks, and without
// blank lines and comments.
std::vector<std::string_view> ContentLines(std::string_view text) {
  std::vector<std::string_view> content;
  for (const std::string_view line : TextLines(text)) {
    const size_t begin = line.find_first_not_of(" \t\r");
    if (begin == std::string::npos || line[begin] == ';' || line[begin] == '#') {
      continue;
    }
    content.emplace_back(line.substr(begin, line.find_last_not_of(" \t\r") + 1 - begin));
  }
  return content;
}

}  // namespace

std::string ServiceFilePath(const char* fileName) {
  std::string path;
  path.reserve(256);  // one allocation for the whole path, on the path of every call
  if (!AppendDataDirectory(path)) {
    return "";
  }
  return path.append(1, kSeparator).append("ras").append(1, kSeparator).append(fileName);
}

// Only a regular file is read, so that a FIFO or a device in a file's place never blocks a call.
bool ReadServiceFile(const std::string& path, std::string* text) {
  return !path.empty() && ReadRegularFile(path.c_str(), text, nullptr);
}

std::vector<std::string_view> TextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    lines.push_back(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

std::vector<RASDEVINFOA> ParseDeviceList(const std::string& text) {
  std::vector<RASDEVINFOA> devices;
  for (const std::string_view line : ContentLines(text)) {
    const size_t typeEnd = line.find_first_of(" \t");
    const size_t nameBegin =
        typeEnd == std::string::npos ? std::string::npos : line.find_first_not_of(" \t", typeEnd);
    if (nameBegin == std::string::npos) {
      continue;
    }
    RASDEVINFOA& device = devices.emplace_back();
    device.dwSize = sizeof device;
    CopyText(device.szDeviceType, sizeof device.szDeviceType, line.data(), typeEnd);
    CopyText(device.szDeviceName, sizeof device.szDeviceName, line.data() + nameBegin,
             line.size() - nameBegin);
  }
  return devices;
}

uint32_t ParseFailureOrder(const std::string& text, const char* functionName) {
  for (const std::string_view view : ContentLines(text)) {
    const std::string line(view);
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      continue;
    }
    std::string name = line.substr(0, equals);
    name.erase(name.find_last_not_of(" \t") + 1);
    if (TextEqualsIgnoringCase(name.c_str(), functionName)) {
      return static_cast<uint32_t>(std::strtoul(line.c_str() + equals + 1, nullptr, 10));
    }
  }
  return 0;
}

const NamedDialState kDialStates[] = {
    {"OpenPort", RASCS_OpenPort},
    {"PortOpened", RASCS_PortOpened},
    {"ConnectDevice", RASCS_ConnectDevice},
    {"DeviceConnected", RASCS_DeviceConnected},
    {"AllDevicesConnected", RASCS_AllDevicesConnected},
    {"Authenticate", RASCS_Authenticate},
    {"AuthNotify", RASCS_AuthNotify},
    {"AuthProject", RASCS_AuthProject},
    {"Authenticated", RASCS_Authenticated},
    {"Connected", RASCS_Connected},
};
const size_t kDialStateCount = sizeof kDialStates / sizeof kDialStates[0];

DialOutcome ParseDialOrder(const std::string& text, const char* entryName) {
  static const std::string kPrefix = "RasDialA ";
  for (const std::string_view view : ContentLines(text)) {
    const std::string line(view);
    // Entry names may hold equals signs; the outcome never does.
    const size_t equals = line.rfind('=');
    if (equals == std::string::npos || equals < kPrefix.size() ||
        !TextEqualsIgnoringCase(line.substr(0, kPrefix.size()).c_str(), kPrefix.c_str())) {
      continue;
    }
    std::string name = line.substr(kPrefix.size(), equals - kPrefix.size());
    name.erase(0, name.find_first_not_of(" \t"));
    name.erase(name.find_last_not_of(" \t") + 1);
    if (!TextEqualsIgnoringCase(name.c_str(), entryName)) {
      continue;
    }
    // The error, then the state's name after blanks; a number out of range ends the outcome.
    const char* outcome = line.c_str() + equals + 1;
    char* numberEnd = nullptr;
    errno = 0;
    const unsigned long error = std::strtoul(outcome, &numberEnd, 10);
    std::string stateName;
    if (numberEnd != outcome && errno != ERANGE) {
      const std::string_view rest = numberEnd;
      const size_t begin = std::min(rest.find_first_not_of(" \t\n\v\f\r"), rest.size());
      stateName = rest.substr(begin, rest.find_first_of(" \t\n\v\f\r", begin) - begin);
    }
    DialOutcome ordered = {RASCS_ConnectDevice, static_cast<DWORD>(error)};
    for (size_t i = 0; i + 1 < kDialStateCount; ++i) {
      if (TextEqualsIgnoringCase(stateName.c_str(), kDialStates[i].name)) {
        ordered.state = kDialStates[i].state;
      }
    }
    return ordered.error != 0 ? ordered : DialOutcome{RASCS_Connected, 0};
  }
  return {RASCS_Connected, 0};
}

std::vector<RASDEVINFOA> ReadInstalledDevices() {
  std::string text;
  return ReadServiceFile(ServiceFilePath("devices.txt"), &text) ? ParseDeviceList(text)
                                                                : std::vector<RASDEVINFOA>{};
}

uint32_t OrderedFailure(const char* functionName) {
  std::string text;
  return ReadServiceFile(ServiceFilePath("failures.txt"), &text)
             ? ParseFailureOrder(text, functionName)
             : 0;
}

bool TakesPlayedWindowsSize(DWORD size) {
  std::string text;
  DWORD longest = kEntryRecordSize;
  if (ReadServiceFile(ServiceFilePath("windows.txt"), &text)) {
    for (std::string_view line : TextLines(text)) {
      line = line.substr(0, line.find_last_not_of(" \t\r") + 1);
      if (line.empty() || line[0] == ';' || line[0] == '#') {
        continue;
      }
      for (const EntryLayout& layout : kEntryLayouts) {
        longest = line == layout.windows ? layout.size : longest;
      }
      break;
    }
  }
  for (const EntryLayout& layout : kEntryLayouts) {
    if (layout.size == size && size <= longest) {
      return true;
    }
  }
  return false;
}

DialOutcome OrderedDialOutcome(const char* entryName) {
  std::string text;
  return ReadServiceFile(ServiceFilePath("failures.txt"), &text) ? ParseDialOrder(text, entryName)
                                                                 : DialOutcome{RASCS_Connected, 0};
}
