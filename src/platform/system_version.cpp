// The seam of the running Windows' version.
#include "platform/system_version.h"

namespace {

SystemVersionSource g_source = nullptr;

}  // namespace

bool IsAtLeast(const SystemVersion& version, DWORD major, DWORD minor, DWORD servicePack) {
  if (version.major != major) {
    return version.major > major;
  }
  if (version.minor != minor) {
    return version.minor > minor;
  }
  return version.servicePack >= servicePack;
}

SystemVersion RunningSystemVersion() {
  return g_source != nullptr ? g_source() : PlatformSystemVersion();
}

SystemVersionSource ReplaceSystemVersionSource(SystemVersionSource source) {
  const SystemVersionSource replaced = g_source;
  g_source = source;
  return replaced;
}
