// Dialog windows and controls kept in memory.
#include "framework/in_memory_windows.h"

#include "framework/dialog.h"

intptr_t CMemoryControl::Send(UINT message, uintptr_t wParam, intptr_t lParam) {
  const char* text = reinterpret_cast<const char*>(lParam);
  switch (message) {
    case WM_SETTEXT:
      text_ = text != nullptr ? text : "";
      return TRUE;
    case CB_ADDSTRING:
      if (text == nullptr) {
        return CB_ERR;
      }
      items_.emplace_back(text);
      return static_cast<intptr_t>(items_.size() - 1);
    case CB_SETCURSEL: {
      // The platform reads the position as a signed int: -1 clears the selection.
      const int index = static_cast<int>(static_cast<intptr_t>(wParam));
      if (index < 0 || static_cast<size_t>(index) >= items_.size()) {
        selection_ = -1;
        return CB_ERR;
      }
      selection_ = index;
      return index;
    }
    case CB_GETCURSEL:
      return selection_;
    default:
      return 0;
  }
}

CMemoryDialogWindow::CMemoryDialogWindow(bool createOnRequest)
    : createOnRequest_(createOnRequest) {}

CMemoryControl& CMemoryDialogWindow::AddControl(int id) {
  std::unique_ptr<CMemoryControl>& control = controls_[id];
  if (!control) {
    control = std::make_unique<CMemoryControl>();
  }
  return *control;
}

CMemoryControl* CMemoryDialogWindow::Control(int id) {
  const auto found = controls_.find(id);
  return found != controls_.end() ? found->second.get() : nullptr;
}

CControlWindow* CMemoryDialogWindow::FindControl(int id) {
  return createOnRequest_ ? &AddControl(id) : Control(id);
}

void CMemoryDialogWindow::EndModal(int result) {
  ended_ = true;
  result_ = result;
}

int RunMemoryDialog(CDialog& dialog, CMemoryDialogWindow& window,
                    const std::function<int()>& nextCommand) {
  dialog.InitializeWindow(&window);
  while (!window.HasEnded()) {
    dialog.HandleCommand(nextCommand());
  }
  dialog.ReleaseWindow();
  return window.Result();
}
