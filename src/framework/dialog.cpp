// The modal dialog class, its data exchange and the control objects.
#include "framework/dialog.h"

#include <algorithm>

#include "framework/combo_box.h"

CDialog::CDialog(UINT templateId) : templateId_(templateId) {}

CDialog::~CDialog() {
  ReleaseWindow();
}

int CDialog::DoModal() {
  return CurrentWindowSystem().RunModalDialog(*this);
}

CControlWindow* CDialog::GetDlgItem(int id) const {
  return window_ != nullptr ? window_->FindControl(id) : nullptr;
}

void CDialog::EndDialog(int result) {
  if (window_ != nullptr) {
    window_->EndModal(result);
  }
}

void CDialog::UpdateData(bool saving) {
  CDataExchange exchange{this, saving};
  DoDataExchange(&exchange);
}

BOOL CDialog::InitializeWindow(CDialogWindow* window) {
  window_ = window;
  const BOOL result = OnInitDialog();
  // After OnInitDialog, so that the window is centred with whatever it put in place.
  if (window_ != nullptr) {
    window_->Center();
  }
  return result;
}

void CDialog::HandleCommand(int commandId) {
  if (commandId == IDOK) {
    OnOK();
  } else if (commandId == IDCANCEL) {
    OnCancel();
  }
}

void CDialog::ReleaseWindow() {
  for (CControl* control : attachedControls_) {
    control->window_ = nullptr;
    control->dialog_ = nullptr;
  }
  attachedControls_.clear();
  window_ = nullptr;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  UpdateData(true);
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool CDialog::AttachControl(CControl* control, int id) {
  CControlWindow* controlWindow = GetDlgItem(id);
  if (controlWindow == nullptr) {
    return false;
  }
  control->Detach();
  control->window_ = controlWindow;
  control->dialog_ = this;
  attachedControls_.push_back(control);
  return true;
}

void CDialog::ForgetControl(CControl* control) {
  attachedControls_.erase(std::remove(attachedControls_.begin(), attachedControls_.end(), control),
                          attachedControls_.end());
}

void DDX_CBIndex(CDataExchange* exchange, int controlId, int& index) {
  CControlWindow* control = exchange->dialog->GetDlgItem(controlId);
  if (control == nullptr) {
    return;
  }
  if (exchange->saving) {
    index = static_cast<int>(control->Send(CB_GETCURSEL, 0, 0));
  } else {
    control->Send(CB_SETCURSEL, static_cast<uintptr_t>(index), 0);
  }
}

void DDX_Text(CDataExchange* exchange, int controlId, const char* text) {
  CControlWindow* control = exchange->dialog->GetDlgItem(controlId);
  if (control != nullptr && !exchange->saving) {
    control->Send(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(text));
  }
}

CControl::~CControl() {
  Detach();
}

bool CControl::SubclassDlgItem(int id, CDialog* dialog) {
  return dialog->AttachControl(this, id);
}

void CControl::Detach() {
  if (dialog_ != nullptr) {
    dialog_->ForgetControl(this);
  }
  window_ = nullptr;
  dialog_ = nullptr;
}

intptr_t CControl::Send(UINT message, uintptr_t wParam, intptr_t lParam) const {
  return window_ != nullptr ? window_->Send(message, wParam, lParam) : 0;
}

int CComboBox::AddString(const char* text) {
  return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<intptr_t>(text)));
}

int CComboBox::SetCurSel(int index) {
  return static_cast<int>(Send(CB_SETCURSEL, static_cast<uintptr_t>(index)));
}

int CComboBox::GetCurSel() const {
  return static_cast<int>(Send(CB_GETCURSEL));
}
