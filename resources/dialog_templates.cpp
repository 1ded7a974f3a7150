// The tool's dialogs for window systems without a resource format of their own, such as the
// terminal front end of the POSIX build: the same captions
// and control identifiers as the Windows dialog resources, the controls in the order in which
// they are shown from top to bottom.
#include "dialog_templates.h"

#include "resource.h"

namespace {

const CDialogItemTemplate kModemSelectItems[] = {
    {IDC_MODEM_PROMPT, CDialogItemTemplate::kStatic, ""},
    {IDC_MODEM_LIST, CDialogItemTemplate::kComboBox, ""},
    {IDOK, CDialogItemTemplate::kButton, "OK"},
    {IDCANCEL, CDialogItemTemplate::kButton, "Cancel"},
};

const CDialogTemplate kDialogs[] = {
    {IDD_MODEM_SELECT, "Create Dial Up Networking Object", kModemSelectItems,
     sizeof kModemSelectItems / sizeof kModemSelectItems[0]},
};

}  // namespace

const CDialogTemplate* FindDialogTemplate(UINT templateId) {
  for (const CDialogTemplate& dialog : kDialogs) {
    if (dialog.id == templateId) {
      return &dialog;
    }
  }
  return nullptr;
}
