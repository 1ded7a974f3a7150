// The device selection dialog on its own, for what assignment through the stand-in service cannot
// show: records whose names fill their fields without a terminator, and names that repeat.
#include "device/modem_select_dlg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/text.h"
#include "resource.h"
#include "support/scripted_window_system.h"

namespace {

TEST(ModemSelectDialog, ListsEachNameCutToItsFieldAndKeepsThePickByPosition) {
  RASDEVINFOA devices[3] = {};
  std::memset(devices[0].szDeviceName, 'x', sizeof devices[0].szDeviceName);
  CopyText(devices[1].szDeviceName, "Same Modem");
  CopyText(devices[2].szDeviceName, "Same Modem");
  test::ScriptedWindowSystem windows;
  windows.AnswerDialogs({test::DialogAnswer::Pick(IDC_MODEM_LIST, 2)});
  CModemSelectDlg dialog;
  dialog.devices = devices;
  dialog.deviceCount = 3;

  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.selectedIndex, 2);
  ASSERT_EQ(windows.Dialogs().size(), 1u);
  const auto& controls = windows.Dialogs()[0].controls;
  EXPECT_EQ(controls.at(IDC_MODEM_PROMPT).text, "Select a modem for Dial Up Networking:");
  EXPECT_EQ(controls.at(IDC_MODEM_LIST).items,
            (std::vector<std::string>{std::string(128, 'x'), "Same Modem", "Same Modem"}));
  EXPECT_EQ(controls.at(IDC_MODEM_LIST).selection, 0);
}

}  // namespace
