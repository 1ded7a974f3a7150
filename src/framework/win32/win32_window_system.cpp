// The Windows window system: the platform's message boxes, and modal dialogs made by the
// platform's dialog manager from the dialog templates among the executable's resources. A
// dialog whose template the executable does not carry fails to open (DoModal -1); the tool's
// dialog template comes with its resource script.
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/dialog.h"
#include "framework/win32/work_area_win32.h"
#include "framework/window_system.h"

namespace {

class CWin32ControlWindow final : public CControlWindow {
 public:
  explicit CWin32ControlWindow(HWND window) : window_(window) {}

  HWND Window() const { return window_; }

  intptr_t Send(UINT message, uintptr_t wParam, intptr_t lParam) override {
    return SendMessageA(window_, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
  }

 private:
  HWND window_;
};

class CWin32DialogWindow final : public CDialogWindow {
 public:
  void Open(HWND window) { window_ = window; }

  CControlWindow* FindControl(int id) override {
    HWND control = GetDlgItem(window_, id);
    if (control == nullptr) {
      return nullptr;
    }
    for (const std::unique_ptr<CWin32ControlWindow>& wrapper : controls_) {
      if (wrapper->Window() == control) {
        return wrapper.get();
      }
    }
    return controls_.emplace_back(std::make_unique<CWin32ControlWindow>(control)).get();
  }

  void EndModal(int result) override { EndDialog(window_, result); }

  // Centred on the work area of the screen the window is on, as a dialog without a parent is.
  void Center() override {
    RECT window{};
    RECT area{};
    if (!GetWindowRect(window_, &window) || !WorkAreaOf(window_, SystemMonitorFunctions(), &area)) {
      return;
    }
    const int x = area.left + ((area.right - area.left) - (window.right - window.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (window.bottom - window.top)) / 2;
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  HWND window_ = nullptr;
  // One wrapper for each control asked for; a dialog has a handful.
  std::vector<std::unique_ptr<CWin32ControlWindow>> controls_;
};

// What one modal run keeps: the dialog object and its window's wrapper.
struct CModalRun {
  CDialog& dialog;
  CWin32DialogWindow window;
};

INT_PTR CALLBACK ModalDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    CModalRun& run = *reinterpret_cast<CModalRun*>(lParam);
    run.window.Open(window);
    return run.dialog.InitializeWindow(&run.window);
  }
  CModalRun* run = reinterpret_cast<CModalRun*>(GetWindowLongPtrA(window, DWLP_USER));
  if (run == nullptr) {
    return FALSE;
  }
  switch (message) {
    case WM_COMMAND:
      // Enter and Escape arrive here as IDOK and IDCANCEL from the dialog manager.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        run->dialog.HandleCommand(LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      run->dialog.ReleaseWindow();
      return FALSE;
    default:
      return FALSE;
  }
}

class CWin32WindowSystem final : public CWindowSystem {
 public:
  int ShowMessageBox(const char* text, const char* title, UINT style) override {
    return MessageBoxA(nullptr, text, title, style);
  }

  int RunModalDialog(CDialog& dialog) override {
    CModalRun run{dialog, {}};
    const INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog.TemplateId()), nullptr,
                        ModalDialogProcedure, reinterpret_cast<LPARAM>(&run));
    // A window that failed half-way may not have said goodbye.
    dialog.ReleaseWindow();
    return static_cast<int>(result);
  }
};

}  // namespace

CWindowSystem& PlatformWindowSystem() {
  static CWin32WindowSystem windowSystem;
  return windowSystem;
}

void UseDialogTemplates(DialogTemplateLookup) {}

void WriteUnshownLine(std::string_view) {}

void TurnOffSystemErrorBoxes() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}
