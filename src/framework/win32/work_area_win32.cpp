// Finding the work area with the functions the running Windows has.
#include "framework/win32/work_area_win32.h"

namespace {

// Through the one function type the compiler lets a found function be cast from and to.
template <typename Function>
Function FindUser32Function(HMODULE user32, const char* name) {
  using AnyFunction = void (*)();
  return reinterpret_cast<Function>(reinterpret_cast<AnyFunction>(GetProcAddress(user32, name)));
}

}  // namespace

CMonitorFunctions SystemMonitorFunctions() {
  // USER32 is loaded: the program imports from it.
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (user32 == nullptr) {
    return {nullptr, nullptr};
  }
  CMonitorFunctions functions = {
      FindUser32Function<decltype(CMonitorFunctions::monitorFromWindow)>(user32,
                                                                         "MonitorFromWindow"),
      FindUser32Function<decltype(CMonitorFunctions::getMonitorInfo)>(user32, "GetMonitorInfoA")};
  if (functions.monitorFromWindow == nullptr || functions.getMonitorInfo == nullptr) {
    return {nullptr, nullptr};
  }
  return functions;
}

bool WorkAreaOf(HWND window, const CMonitorFunctions& functions, RECT* area) {
  if (functions.monitorFromWindow != nullptr && functions.getMonitorInfo != nullptr) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (functions.getMonitorInfo(functions.monitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY),
                                 &monitor)) {
      *area = monitor.rcWork;
      return true;
    }
  }
  return SystemParametersInfoA(SPI_GETWORKAREA, 0, area, 0) != FALSE;
}
