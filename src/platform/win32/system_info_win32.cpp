// Where the Windows system and the running program are, and which family of Windows runs it.
#include <windows.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "platform/system_info.h"
#include "platform/system_version.h"

size_t GetSystemDirectoryPath(char* buffer, size_t capacity) {
  return GetSystemDirectoryA(buffer, static_cast<UINT>(capacity));
}

bool IsNtFamilySystem() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Without a manifest that names them, Windows 8.1 and later say 6.2: enough for what is asked.
SystemVersion PlatformSystemVersion() {
  OSVERSIONINFOEXA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
    return {4, 0, 0};
  }
  return {version.dwMajorVersion, version.dwMinorVersion, version.wServicePackMajor};
}

bool GetExecutablePath(char* buffer, size_t capacity) {
  std::vector<char> path(capacity + 1);
  const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length + 1 > capacity) {
    return false;
  }
  CopyText(buffer, capacity, path.data());
  return true;
}

std::string ToolFilesDirectory(const std::string& executableDirectory) {
  return executableDirectory;
}
