// Wine tells itself apart from Windows by an export of its own in ntdll.
#include <windows.h>

#include "support/platform_under_test.h"

namespace test {

PlatformUnderTest CurrentPlatformUnderTest() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  const bool wine = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  return wine ? PlatformUnderTest::kWine : PlatformUnderTest::kWindows;
}

}  // namespace test
