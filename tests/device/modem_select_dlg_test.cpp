// The device selection dialog through the scripted window system: what it lists and selects
// when it opens, and which position OK and Cancel leave behind.
#include "device/modem_select_dlg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/text.h"
#include "resource.h"
#include "support/scripted_window_system.h"

namespace {

std::vector<RASDEVINFOA> Devices(const std::vector<std::string>& names) {
  std::vector<RASDEVINFOA> devices(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    devices[i].dwSize = sizeof(RASDEVINFOA);
    CopyText(devices[i].szDeviceType, "modem");
    CopyText(devices[i].szDeviceName, names[i].c_str());
  }
  return devices;
}

struct SelectionCase {
  const char* name;
  std::vector<std::string> devices;
  test::DialogAnswer answer;
  int result;
  int32_t selectedIndex;
};

TEST(ModemSelectDialog, ListsTheNamesInOrderWithTheFirstSelectedAndKeepsThePickOnOk) {
  const std::vector<std::string> three = {"Modem A", "Modem B", "ISDN Line"};
  const std::vector<std::string> twins = {"Same Modem", "Same Modem"};
  const SelectionCase cases[] = {
      {"third picked, OK", three, test::DialogAnswer::Pick(IDC_MODEM_LIST, 2), IDOK, 2},
      {"untouched, OK", three, test::DialogAnswer::Ok(), IDOK, 0},
      {"two of one name, the second picked", twins, test::DialogAnswer::Pick(IDC_MODEM_LIST, 1),
       IDOK, 1},
      {"third picked, Cancel", three, test::DialogAnswer::Pick(IDC_MODEM_LIST, 2, IDCANCEL),
       IDCANCEL, 0},
      {"window fails to open", three, test::DialogAnswer::FailToOpen(), -1, 0},
  };
  for (const SelectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::ScriptedWindowSystem windows;
    windows.AnswerDialogs({c.answer});
    std::vector<RASDEVINFOA> devices = Devices(c.devices);
    CModemSelectDlg dialog;
    dialog.devices = devices.data();
    dialog.deviceCount = static_cast<uint32_t>(devices.size());

    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_EQ(dialog.selectedIndex, c.selectedIndex);

    ASSERT_EQ(windows.Dialogs().size(), 1u);
    const test::ShownDialog& shown = windows.Dialogs()[0];
    EXPECT_EQ(shown.templateId, static_cast<UINT>(IDD_MODEM_SELECT));
    if (!shown.opened) {
      continue;
    }
    EXPECT_TRUE(shown.centeredAfterInit);
    EXPECT_EQ(shown.controls.at(IDC_MODEM_PROMPT).text, "Select a modem for Dial Up Networking:");
    EXPECT_EQ(shown.controls.at(IDC_MODEM_LIST).items, c.devices);
    EXPECT_EQ(shown.controls.at(IDC_MODEM_LIST).selection, 0);
  }
}

TEST(ModemSelectDialog, NameThatFillsItsWholeFieldIsListedWithItsFirst128Characters) {
  test::ScriptedWindowSystem windows;
  windows.AnswerDialogs({test::DialogAnswer::Ok()});
  std::vector<RASDEVINFOA> devices = Devices({"", "next"});
  std::memset(devices[0].szDeviceName, 'x', sizeof devices[0].szDeviceName);
  CModemSelectDlg dialog;
  dialog.devices = devices.data();
  dialog.deviceCount = 2;

  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(windows.Dialogs()[0].controls.at(IDC_MODEM_LIST).items,
            (std::vector<std::string>{std::string(128, 'x'), "next"}));
}

}  // namespace
