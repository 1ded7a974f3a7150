// Control objects: a C++ object attached to one control of an open dialog window, and the combo
// box built on it. Each operation of a control sends the platform's message for it and nothing
// more, so the control behaves as the platform's (or a test's) control does.
#pragma once

#include <cstdint>

#include "framework/window_system.h"

class CDialog;

class CControl {
 public:
  CControl() = default;
  // Lets go of the control window, if one is still attached; the window itself belongs to the
  // dialog window and goes with it.
  virtual ~CControl();
  CControl(const CControl&) = delete;
  CControl& operator=(const CControl&) = delete;

  // Attaches this object to control `id` of `dialog`'s open window (the dialog lets go of it
  // when its window closes). False, and nothing attached, when there is no such control.
  bool SubclassDlgItem(int id, CDialog* dialog);

  // Lets go of the control window; further messages go nowhere.
  void Detach();

  bool IsAttached() const { return window_ != nullptr; }

 protected:
  // Sends one message to the attached control; 0 when none is attached, as the platform answers
  // for a missing window.
  intptr_t Send(UINT message, uintptr_t wParam = 0, intptr_t lParam = 0) const;

 private:
  friend class CDialog;
  CControlWindow* window_ = nullptr;
  CDialog* dialog_ = nullptr;
};

class CComboBox : public CControl {
 public:
  // Adds `text` to the list (at the end, for a list that does not sort). Returns its position,
  // or CB_ERR.
  int AddString(const char* text);
  // Makes item `index` the current one; -1 or an index out of range clears the selection and
  // gives CB_ERR. Returns the index.
  int SetCurSel(int index);
  // The position of the current item; CB_ERR when none is selected.
  int GetCurSel() const;
};
