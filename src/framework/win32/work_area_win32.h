// The work area a dialog without a parent is centred on, on every Windows the 32-bit program is
// for. The multi-monitor functions came with Windows 98 and 2000: they are found at run time, so
// that the program also loads on Windows 95 and NT 4.0, which have one screen's work area only.
#pragma once

#include <windows.h>

struct CMonitorFunctions {
  HMONITOR(WINAPI* monitorFromWindow)(HWND, DWORD);
  BOOL(WINAPI* getMonitorInfo)(HMONITOR, LPMONITORINFO);
};

// This system's multi-monitor functions: both, or neither where USER32 lacks either.
CMonitorFunctions SystemMonitorFunctions();

// The work area of the monitor `window` is on, through `functions`; where they are missing or
// fail, the work area of the primary screen (SPI_GETWORKAREA). False when neither can be had.
bool WorkAreaOf(HWND window, const CMonitorFunctions& functions, RECT* area);
