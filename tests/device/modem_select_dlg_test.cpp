// The device selection dialog through the scripted window system: what it lists and selects
// when it opens, and which position OK and Cancel leave behind.
#include "device/modem_select_dlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "resource.h"
#include "support/scripted_window_system.h"

namespace {

struct SelectionCase {
  const char* name;
  std::vector<std::string> devices;  // names; one of 129 characters or more fills its field
  test::DialogAnswer answer;
  int result;
  int32_t selectedIndex;
};

TEST(ModemSelectDialog, ListsTheNamesInOrderWithTheFirstSelectedAndKeepsThePickOnOk) {
  const std::vector<std::string> three = {"Modem A", "Modem B", "ISDN Line"};
  const SelectionCase cases[] = {
      {"third picked, OK", three, test::DialogAnswer::Pick(IDC_MODEM_LIST, 2), IDOK, 2},
      {"untouched, OK", three, test::DialogAnswer::Ok(), IDOK, 0},
      {"two of one name, the second picked",
       {"Same Modem", "Same Modem"},
       test::DialogAnswer::Pick(IDC_MODEM_LIST, 1),
       IDOK,
       1},
      {"third picked, Cancel", three, test::DialogAnswer::Pick(IDC_MODEM_LIST, 2, IDCANCEL),
       IDCANCEL, 0},
      {"window fails to open", three, test::DialogAnswer::FailToOpen(), -1, 0},
      // A name without its terminator is listed with its 128 characters, not read on.
      {"a name that fills its field",
       {std::string(140, 'x'), "next"},
       test::DialogAnswer::Ok(),
       IDOK,
       0},
  };
  for (const SelectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::ScriptedWindowSystem windows;
    windows.AnswerDialogs({c.answer});
    std::vector<RASDEVINFOA> devices(c.devices.size());
    std::vector<std::string> listed;
    for (size_t i = 0; i < devices.size(); ++i) {
      std::memcpy(devices[i].szDeviceName, c.devices[i].data(),
                  std::min(c.devices[i].size(), sizeof devices[i].szDeviceName));
      listed.push_back(c.devices[i].substr(0, 128));
    }
    CModemSelectDlg dialog;
    dialog.devices = devices.data();
    dialog.deviceCount = static_cast<uint32_t>(devices.size());

    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_EQ(dialog.selectedIndex, c.selectedIndex);
    ASSERT_EQ(windows.Dialogs().size(), 1u);
    const test::ShownDialog& shown = windows.Dialogs()[0];
    if (shown.opened) {
      EXPECT_EQ(shown.controls.at(IDC_MODEM_PROMPT).text, "Select a modem for Dial Up Networking:");
      EXPECT_EQ(shown.controls.at(IDC_MODEM_LIST).items, listed);
      EXPECT_EQ(shown.controls.at(IDC_MODEM_LIST).selection, 0);
    }
  }
}

}  // namespace
