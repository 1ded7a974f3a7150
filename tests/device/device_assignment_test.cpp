// Device assignment against the real stand-in service (a device list of the test's own) and the
// scripted window system: which warnings and dialogs appear in which order, which device a dialog
// selects first, each entry's device fields byte for byte (the remembered device as the settings
// file gives it, read over stale bytes), and the two flags. The situations a whole run shows (no
// device at all, a lone VPN adapter) are the run's tests'. Then the dialog on its own.
#include "device/device_assignment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "device/modem_select_dlg.h"
#include "ras/ras_library.h"
#include "resource.h"
#include "support/scripted_window_system.h"
#include "support/stand_in_system.h"

namespace {

const test::Device kModemA = {"modem", "Acme 28800"};
const test::Device kModemZ = {"modem", "Zoom 56k"};
const test::Device kVpn = {"vpn", "WAN Miniport (PPTP)"};

constexpr char kDunWarning[] = "message box: DUN Warning";
constexpr char kDialog[] = "dialog 109";
constexpr char kRemembered[] = "[Modem Selection]\nDeviceType=modem\nDeviceName=Old Modem\n";

struct AssignmentCase {
  const char* name;
  std::vector<test::Device> installed = {kModemZ, kModemA};  // several, out of the tool's order
  const char* settings = "";                                 // dialkit.ini's content
  bool vpnWanted = false;
  int32_t ask = 0;
  test::DialogAnswer answer = test::DialogAnswer::Cancel();
  std::vector<std::string> events = {};
  test::Device mainDevice = {};  // none: the main entry's flag is 0
  test::Device vpnDevice = {};   // none: the VPN entry's flag is 0
};

// The field holds the text, then zeros to its end.
template <size_t Width>
void ExpectField(const char (&field)[Width], const std::string& text) {
  EXPECT_EQ(std::string(field, Width), text + std::string(Width - text.size(), '\0'));
}

TEST(DeviceAssignment, AssignsTheDevicesAndWarnsAsTheInstalledDevicesDemand) {
  const test::Device fullWidth = {"vpn2" + std::string(12, 't'), std::string(128, 'n')};
  const std::string overlong = "[Modem Selection]\nDeviceType=" + fullWidth.type +
                               "TYPE\nDeviceName=" + fullWidth.name + "NAME\n";
  const AssignmentCase cases[] = {
      {.name = "one device, ask set: no dialog; a type that merely begins with vpn is no VPN "
               "adapter; names that fill their fields are copied whole",
       .installed = {fullWidth},
       .settings = kRemembered,
       .vpnWanted = true,
       .ask = 1,
       .events = {kDunWarning},
       .mainDevice = fullWidth},
      {.name = "several, only the type remembered",
       .settings = "[Modem Selection]\nDeviceType=modem\n",
       .answer = test::DialogAnswer::Pick(IDC_MODEM_LIST, 1),
       .events = {kDialog},
       .mainDevice = kModemZ},
      {.name = "several, only the name remembered: the dialog's first",
       .settings = "[Modem Selection]\nDeviceType=\nDeviceName=Old Modem\n",
       .answer = test::DialogAnswer::Ok(),
       .events = {kDialog},
       .mainDevice = kModemA},
      {.name = "several, remembered but not installed, cut to the fields",
       .settings = overlong.c_str(),
       .mainDevice = fullWidth},
      {.name = "several, remembered, ask set: the list's first selected, not the remembered",
       .installed = {kVpn, kModemZ, {"isdn", "ISDN Line"}, kModemA},
       .settings = "[Modem Selection]\nDeviceType=modem\nDeviceName=Zoom 56k\n",
       .ask = 1,
       .answer = test::DialogAnswer::Pick(IDC_MODEM_LIST, 1),
       .events = {kDialog},
       .mainDevice = kModemA},
      {.name = "dialog fails to open",
       .answer = test::DialogAnswer::FailToOpen(),
       .events = {kDialog}},
      {.name = "the first of two VPN adapters by list order, in any letter case",
       .installed = {kVpn, {"VPN", "Capital Tunnel"}},
       .settings = kRemembered,
       .vpnWanted = true,
       .mainDevice = {"modem", "Old Modem"},
       .vpnDevice = {"VPN", "Capital Tunnel"}},
  };
  for (const AssignmentCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::ScopedStandInSystem system;
    test::ScriptedWindowSystem ui;
    const std::string settingsPath = system.Root().File("dialkit.ini");
    system.InstallDevices(c.installed);
    test::WriteFileBytes(settingsPath, c.settings);
    ui.AnswerDialogs({c.answer});
    ASSERT_EQ(g_rasLibrary.Load(nullptr, nullptr), 0u);
    // Stale bytes in the main entry's fields, as a reused record holds.
    RASENTRYA main;
    std::memset(&main, 0x5a, sizeof main);
    RASENTRYA vpn = {};
    CModemSelectDlg dialog;
    int vpnFlag = c.vpnWanted;

    const bool mainAssigned = !c.mainDevice.name.empty();
    EXPECT_EQ(AssignDevices(&main, &vpn, &vpnFlag, c.ask, settingsPath.c_str(), &dialog),
              mainAssigned);
    EXPECT_EQ(vpnFlag, !c.vpnDevice.name.empty());
    EXPECT_EQ(ui.Events(), c.events);
    for (const test::ShownDialog& shown : ui.Dialogs()) {  // that opened: the first selected
      EXPECT_TRUE(shown.empty() || shown.at(IDC_MODEM_LIST).selection == 0);
    }
    if (mainAssigned) {
      ExpectField(main.szDeviceType, c.mainDevice.type);
      ExpectField(main.szDeviceName, c.mainDevice.name);
    }
    ExpectField(vpn.szDeviceType, c.vpnDevice.type);
    ExpectField(vpn.szDeviceName, c.vpnDevice.name);
  }
}

// For what assignment through the stand-in service cannot show: names that fill their fields
// without a terminator, and names that repeat. (The prompt, the dialog's place and its first item
// selected are the Windows program's runs' and the assignment's checks.)
TEST(ModemSelectDialog, ListsEachNameCutToItsFieldAndKeepsThePickByPosition) {
  RASDEVINFOA devices[3] = {{}, {0, "", "Same Modem"}, {0, "", "Same Modem"}};
  std::memset(devices[0].szDeviceName, 'x', sizeof devices[0].szDeviceName);
  test::ScriptedWindowSystem windows;
  windows.AnswerDialogs({test::DialogAnswer::Pick(IDC_MODEM_LIST, 2)});
  CModemSelectDlg dialog;
  dialog.devices = devices;
  dialog.deviceCount = 3;

  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.selectedIndex, 2);
  EXPECT_EQ(windows.Dialogs().at(0).at(IDC_MODEM_LIST).items,
            (std::vector<std::string>{std::string(128, 'x'), "Same Modem", "Same Modem"}));
  EXPECT_EQ(dialog.GetDlgItem(IDC_MODEM_LIST), nullptr);  // the window has gone
}

}  // namespace
