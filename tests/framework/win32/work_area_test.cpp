// The work area the dialog is centred on: the monitor's, through the multi-monitor functions where
// the system has them, and the primary screen's where it does not (Windows 95 and NT 4.0) or they
// fail. Fake functions stand for a monitor whose work area differs from the screen's.
#include "framework/win32/work_area_win32.h"

#include <gtest/gtest.h>

namespace {

constexpr RECT kMonitorWorkArea = {100, 200, 900, 700};
const HMONITOR kMonitor = reinterpret_cast<HMONITOR>(0x1234);

HMONITOR WINAPI FakeMonitorFromWindow(HWND, DWORD flags) {
  return flags == MONITOR_DEFAULTTOPRIMARY ? kMonitor : nullptr;
}

BOOL WINAPI FakeGetMonitorInfo(HMONITOR monitor, LPMONITORINFO info) {
  if (monitor != kMonitor || info->cbSize != sizeof(MONITORINFO)) {
    return FALSE;
  }
  info->rcWork = kMonitorWorkArea;
  return TRUE;
}

BOOL WINAPI FailingGetMonitorInfo(HMONITOR, LPMONITORINFO) {
  return FALSE;
}

TEST(WorkArea, TheMonitorsWhereTheFunctionsExistElseThePrimaryScreens) {
  RECT screen{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0));
  const struct {
    const char* what;
    CMonitorFunctions functions;
    RECT expected;
  } cases[] = {
      {"with the multi-monitor functions",
       {FakeMonitorFromWindow, FakeGetMonitorInfo},
       kMonitorWorkArea},
      {"without them (95, NT 4.0)", {nullptr, nullptr}, screen},
      {"when they fail", {FakeMonitorFromWindow, FailingGetMonitorInfo}, screen},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RECT area{};
    ASSERT_TRUE(WorkAreaOf(GetDesktopWindow(), c.functions, &area));
    EXPECT_TRUE(EqualRect(&area, &c.expected));
  }
  // This system has them: USER32 exports both.
  const CMonitorFunctions system = SystemMonitorFunctions();
  EXPECT_NE(system.monitorFromWindow, nullptr);
  EXPECT_NE(system.getMonitorInfo, nullptr);
}

}  // namespace
