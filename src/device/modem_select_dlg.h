// The device selection dialog: lists the names of the installed devices in the order of the
// device list, with the first one selected, and tells which position the user chose. The caller
// owns the device array and sets it, with its count, before DoModal.
#pragma once

#include <cstdint>

#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "platform/ras_service.h"

class CModemSelectDlg : public CDialog {
 public:
  // Made from dialog template IDD_MODEM_SELECT, without a parent window; the selected index
  // starts at 0.
  CModemSelectDlg();
  ~CModemSelectDlg() override;

  // The position of the chosen device in the device array; meaningful after DoModal returned
  // IDOK.
  int32_t selectedIndex;
  // The caller's devices, not owned; empty until the caller sets them.
  RASDEVINFOA* devices;
  uint32_t deviceCount;

 protected:
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;

 private:
  // The list of device names. It does not sort, so item i is device i.
  CComboBox deviceList_;
};
