// The modal dialog class and its data exchange. A dialog object lives longer than its window:
// the window exists only while DoModal runs. Data exchange copies control values into plain
// members and back, which is what lets a dialog be tested without a window.
#pragma once

#include <vector>

#include "framework/window_system.h"

class CControl;
class CDialog;

// One exchange between a dialog's members and its controls.
struct CDataExchange {
  CDialog* dialog;
  // true: controls into members (the save direction, on OK); false: members into controls (the
  // load direction, when the dialog opens).
  bool saving;
};

class CDialog {
 public:
  // A dialog made from the dialog template `templateId`. Dialogs of this framework have no parent
  // window.
  explicit CDialog(UINT templateId);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Shows the dialog and waits until it is ended: IDOK (1), IDCANCEL (2), or -1 when the window
  // cannot be opened.
  virtual int DoModal();

  UINT TemplateId() const { return templateId_; }

  // The control `id` of the open window; null when the window is not open or has no such
  // control.
  CControlWindow* GetDlgItem(int id) const;

  // Ends the modal run with `result`. Does nothing when the window is not open.
  void EndDialog(int result);

  // Runs DoDataExchange in the given direction.
  void UpdateData(bool saving);

  // The window system's side of DoModal (see framework/window_system.h); nothing else calls
  // these. InitializeWindow attaches the new window, runs OnInitDialog and then centres the
  // window, and returns OnInitDialog's answer (TRUE: the platform sets the focus).
  BOOL InitializeWindow(CDialogWindow* window);
  void HandleCommand(int commandId);
  // The window is going away: the dialog and every control attached to it let go of it.
  void ReleaseWindow();

 protected:
  // Runs once when the window has been created and before it is shown. The default loads the
  // members into the controls and returns TRUE.
  virtual BOOL OnInitDialog();
  // Exchanges members and controls in the direction `exchange` gives. The default exchanges
  // nothing.
  virtual void DoDataExchange(CDataExchange* exchange);
  // The default saves the controls into the members and ends the dialog with IDOK.
  virtual void OnOK();
  // The default ends the dialog with IDCANCEL and saves nothing.
  virtual void OnCancel();

 private:
  friend class CControl;
  bool AttachControl(CControl* control, int id);
  void ForgetControl(CControl* control);

  UINT templateId_;
  CDialogWindow* window_ = nullptr;
  std::vector<CControl*> attachedControls_;
};

// Exchanges a combo box's current position with `index`: load makes item `index` current
// (CB_SETCURSEL), save stores the current position (CB_GETCURSEL, CB_ERR when none).
void DDX_CBIndex(CDataExchange* exchange, int controlId, int& index);

// Exchanges a control's text with a fixed text: load sets it (WM_SETTEXT); save has nothing to
// take back.
void DDX_Text(CDataExchange* exchange, int controlId, const char* text);
