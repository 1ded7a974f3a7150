// The device selection dialog.
#include "device/modem_select_dlg.h"

#include "base/text.h"
#include "resource.h"

namespace {
constexpr char kPrompt[] = "Select a modem for Dial Up Networking:";
}  // namespace

// The device array and count are the caller's to set; they start empty rather than undefined,
// so that a dialog shown without them lists nothing.
CModemSelectDlg::CModemSelectDlg()
    : CDialog(IDD_MODEM_SELECT), selectedIndex(0), devices(nullptr), deviceCount(0) {}

CModemSelectDlg::~CModemSelectDlg() = default;

BOOL CModemSelectDlg::OnInitDialog() {
  deviceList_.SubclassDlgItem(IDC_MODEM_LIST, this);
  for (uint32_t i = 0; i < deviceCount; ++i) {
    // The records come from the Remote Access Service: a name that fills its field without a
    // terminator is cut at 128 characters rather than read on into the next record.
    char name[sizeof devices[i].szDeviceName];
    CopyText(name, devices[i].szDeviceName);
    deviceList_.AddString(name);
  }
  // The names are in place, so the load exchange can select one by its position.
  CDialog::OnInitDialog();
  return TRUE;
}

void CModemSelectDlg::DoDataExchange(CDataExchange* exchange) {
  CDialog::DoDataExchange(exchange);
  DDX_Text(exchange, IDC_MODEM_PROMPT, kPrompt);
  DDX_CBIndex(exchange, IDC_MODEM_LIST, selectedIndex);
}
