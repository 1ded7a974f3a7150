// Dialog windows and controls kept in memory, for window systems that have no windows of the
// platform's kind: the terminal front end draws them, and tests' scripted window systems look
// into them. They answer the platform's messages as the platform's controls do.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/window_system.h"

// One control: its text and, as a combo box, its list of items (in the order added; the list
// does not sort) and the current item.
class CMemoryControl final : public CControlWindow {
 public:
  // WM_SETTEXT, CB_ADDSTRING, CB_SETCURSEL and CB_GETCURSEL; any other message is answered 0.
  intptr_t Send(UINT message, uintptr_t wParam, intptr_t lParam) override;

  const std::string& Text() const { return text_; }
  const std::vector<std::string>& Items() const { return items_; }
  // The current item; -1 when none.
  int Selection() const { return selection_; }

 private:
  std::string text_;
  std::vector<std::string> items_;
  int selection_ = -1;
};

class CMemoryDialogWindow final : public CDialogWindow {
 public:
  // A window with no controls. With `createOnRequest`, every control the dialog asks for comes
  // into being then (a test's window that holds whatever the dialog uses).
  explicit CMemoryDialogWindow(bool createOnRequest = false);

  // Adds the control `id` (or returns it, when present).
  CMemoryControl& AddControl(int id);
  // The control `id`; null when absent.
  CMemoryControl* Control(int id);
  const std::map<int, std::unique_ptr<CMemoryControl>>& Controls() const { return controls_; }

  CControlWindow* FindControl(int id) override;
  void EndModal(int result) override;
  void Center() override { centered_ = true; }

  bool HasEnded() const { return ended_; }
  int Result() const { return result_; }
  bool IsCentered() const { return centered_; }

 private:
  bool createOnRequest_;
  std::map<int, std::unique_ptr<CMemoryControl>> controls_;
  bool ended_ = false;
  int result_ = 0;
  bool centered_ = false;
};

// The modal run of a window system whose windows are kept in memory: once the dialog has
// initialised the window, `nextCommand` is asked for the user's next command (IDOK or IDCANCEL)
// until the window has been ended; then the dialog lets go of the window. Returns the result the
// window was ended with.
int RunMemoryDialog(CDialog& dialog, CMemoryDialogWindow& window,
                    const std::function<int()>& nextCommand);
