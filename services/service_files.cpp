// The stand-in service's data directory, device list and failure orders.
#include "service_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "framework/text.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

std::string DataDirectory() {
  std::string root = GetEnvironmentText("SystemRoot");
  if (!root.empty()) {
    return root.append(1, kSeparator).append("system32");
  }
  char directory[260];
  const size_t length = GetSystemDirectoryPath(directory, sizeof directory);
  return length > 0 && length < sizeof directory ? directory : "";
}

// The lines that carry content: without their line end and surrounding blanks, and without
// blank lines and comments.
std::vector<std::string> ContentLines(const std::string& text) {
  std::vector<std::string> content;
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
  std::string path = DataDirectory();
  if (path.empty()) {
    return "";
  }
  return path.append(1, kSeparator).append("ras").append(1, kSeparator).append(fileName);
}

// C streams rather than C++ ones: the first C++ stream of a process sets up the C++ locale,
// which would cost each run of the tool more than everything else the service does.
bool ReadServiceFile(const std::string& path, std::string* text) {
  std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return false;
  }
  text->clear();
  char chunk[4096];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    text->append(chunk, got);
  }
  std::fclose(file);
  return true;
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
  for (const std::string& line : ContentLines(text)) {
    const size_t typeEnd = line.find_first_of(" \t");
    const size_t nameBegin =
        typeEnd == std::string::npos ? std::string::npos : line.find_first_not_of(" \t", typeEnd);
    if (nameBegin == std::string::npos) {
      continue;
    }
    RASDEVINFOA device = {};
    device.dwSize = sizeof device;
    CopyText(device.szDeviceType, line.substr(0, typeEnd).c_str());
    CopyText(device.szDeviceName, line.substr(nameBegin).c_str());
    devices.push_back(device);
  }
  return devices;
}

uint32_t ParseFailureOrder(const std::string& text, const char* functionName) {
  for (const std::string& line : ContentLines(text)) {
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
  for (const std::string& line : ContentLines(text)) {
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

DialOutcome OrderedDialOutcome(const char* entryName) {
  std::string text;
  return ReadServiceFile(ServiceFilePath("failures.txt"), &text) ? ParseDialOrder(text, entryName)
                                                                 : DialOutcome{RASCS_Connected, 0};
}
