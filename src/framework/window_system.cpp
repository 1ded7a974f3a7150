// The window-system seam: which window system the framework uses.
#include "framework/window_system.h"

namespace {
CWindowSystem* g_replacementWindowSystem = nullptr;
}  // namespace

CWindowSystem& CurrentWindowSystem() {
  return g_replacementWindowSystem != nullptr ? *g_replacementWindowSystem : PlatformWindowSystem();
}

CWindowSystem* ReplaceWindowSystem(CWindowSystem* windowSystem) {
  CWindowSystem* previous = g_replacementWindowSystem;
  g_replacementWindowSystem = windowSystem;
  return previous;
}

int ShowMessageBox(const char* text, const char* title, UINT style) {
  return CurrentWindowSystem().ShowMessageBox(text, title, style);
}

void ShowWarning(const char* text, const char* title) {
  ShowMessageBox(text, title, MB_ICONWARNING | MB_OK);
}
