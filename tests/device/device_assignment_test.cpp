// Device assignment against the real stand-in service (a device list of the test's own) and the
// scripted window system: which warnings and dialogs appear in which order, what each entry's
// device fields hold byte for byte, and the two flags.
#include "device/device_assignment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ras/ras_library.h"
#include "resource.h"
#include "support/scripted_window_system.h"
#include "support/stand_in_system.h"

namespace {

const test::Device kModemA = {"modem", "Acme 28800"};
const test::Device kModemZ = {"modem", "Zoom 56k"};
const test::Device kIsdn = {"isdn", "ISDN Line"};
const test::Device kVpn = {"vpn", "WAN Miniport (PPTP)"};
const test::Device kVpnCapitals = {"VPN", "Capital Tunnel"};
const test::Device kVpnLonger = {"vpn2", "Not A Tunnel"};
const test::Device kNone = {"", ""};

constexpr char kDunWarning[] = "message box: DUN Warning";
constexpr char kModemWarning[] = "message box: Modem Warning";
constexpr char kDialog[] = "dialog 109";

struct AssignmentCase {
  const char* name;
  std::vector<test::Device> installed;
  const char* settings;  // dialkit.ini's content; null: no file
  bool vpnWanted;
  int32_t ask;
  std::optional<test::DialogAnswer> answer;
  std::vector<std::string> events;
  int mainFlag;
  test::Device mainDevice;
  int vpnFlag;
  test::Device vpnDevice;
};

const char kRemembered[] = "[Modem Selection]\nDeviceType=modem\nDeviceName=Old Modem\n";

const AssignmentCase kCases[] = {
    {"no device, VPN wanted",
     {},
     nullptr,
     true,
     0,
     {},
     {kDunWarning, kModemWarning},
     0,
     kNone,
     0,
     kNone},
    {"no device", {}, nullptr, false, 0, {}, {kModemWarning}, 0, kNone, 0, kNone},
    {"no VPN adapter among the devices",
     {kModemA},
     nullptr,
     true,
     0,
     {},
     {kDunWarning},
     1,
     kModemA,
     0,
     kNone},
    {"a lone VPN adapter serves both", {kVpn}, nullptr, true, 0, {}, {}, 1, kVpn, 1, kVpn},
    {"one device, ask set: no dialog",
     {kModemZ},
     kRemembered,
     false,
     1,
     {},
     {},
     1,
     kModemZ,
     0,
     kNone},
    {"several, nothing remembered: the dialog's first",
     {kModemZ, kModemA},
     nullptr,
     false,
     0,
     test::DialogAnswer::Ok(),
     {kDialog},
     1,
     kModemA,
     0,
     kNone},
    {"several, half remembered",
     {kModemZ, kModemA},
     "[Modem Selection]\nDeviceType=modem\n",
     false,
     0,
     test::DialogAnswer::Pick(IDC_MODEM_LIST, 1),
     {kDialog},
     1,
     kModemZ,
     0,
     kNone},
    {"several, remembered but not installed",
     {kModemZ, kModemA, kVpn},
     kRemembered,
     true,
     0,
     {},
     {},
     1,
     {"modem", "Old Modem"},
     1,
     kVpn},
    {"several, remembered, ask set",
     {kModemZ, kModemA, kIsdn},
     kRemembered,
     false,
     1,
     test::DialogAnswer::Pick(IDC_MODEM_LIST, 2),
     {kDialog},
     1,
     kModemZ,
     0,
     kNone},
    {"dialog cancelled, VPN still assigned",
     {kModemZ, kVpn, kModemA},
     nullptr,
     true,
     0,
     test::DialogAnswer::Pick(IDC_MODEM_LIST, 1, IDCANCEL),
     {kDialog},
     0,
     kNone,
     1,
     kVpn},
    {"dialog fails to open",
     {kModemZ, kModemA},
     nullptr,
     false,
     0,
     test::DialogAnswer::FailToOpen(),
     {kDialog},
     0,
     kNone,
     0,
     kNone},
    {"first of two VPN adapters by list order",
     {kVpn, kVpnCapitals},
     kRemembered,
     true,
     0,
     {},
     {},
     1,
     {"modem", "Old Modem"},
     1,
     kVpnCapitals},
    {"a longer type is no VPN adapter",
     {kVpnLonger},
     nullptr,
     true,
     0,
     {},
     {kDunWarning},
     1,
     kVpnLonger,
     0,
     kNone},
    {"VPN section missing: no scan", {kModemA}, nullptr, false, 0, {}, {}, 1, kModemA, 0, kNone},
};

// The bytes a device field must hold: the text, then zeros to its end.
template <size_t Width>
::testing::AssertionResult FieldHolds(const char (&field)[Width], const std::string& text) {
  char expected[Width] = {};
  std::memcpy(expected, text.data(), std::min(text.size(), Width - 1));
  if (std::memcmp(field, expected, Width) == 0) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "field holds \"" << std::string(field, Width).c_str()
                                       << "\", expected \"" << text << "\"";
}

// One assignment's world: a stand-in system with its devices, the scripted window system, the
// settings file and the two entry records as the reader leaves them (device fields empty).
struct AssignmentScene {
  int Assign(const std::vector<test::Device>& installed, const char* settings, int* vpnFlag,
             int32_t ask) {
    system.InstallDevices(installed);
    if (settings != nullptr) {
      test::WriteFileBytes(settingsPath, settings);
    }
    EXPECT_EQ(g_rasLibrary.Load(nullptr, nullptr), 0u);
    return AssignDevices(&main, &vpn, vpnFlag, ask, settingsPath.c_str(), &dialog);
  }

  test::ScopedStandInSystem system;
  test::ScriptedWindowSystem ui;
  std::string settingsPath = system.Root().File("dialkit.ini");
  RASENTRYA main = {};
  RASENTRYA vpn = {};
  CModemSelectDlg dialog;
};

TEST(DeviceAssignment, AssignsTheDevicesAndWarnsAsTheInstalledDevicesDemand) {
  for (const AssignmentCase& c : kCases) {
    SCOPED_TRACE(c.name);
    AssignmentScene run;
    if (c.answer) {
      run.ui.AnswerDialogs({*c.answer});
    }
    int vpnFlag = c.vpnWanted;
    EXPECT_EQ(run.Assign(c.installed, c.settings, &vpnFlag, c.ask), c.mainFlag);
    EXPECT_EQ(vpnFlag, c.vpnFlag);
    EXPECT_EQ(run.ui.Events(), c.events);
    if (c.mainFlag) {
      EXPECT_TRUE(FieldHolds(run.main.szDeviceType, c.mainDevice.type));
      EXPECT_TRUE(FieldHolds(run.main.szDeviceName, c.mainDevice.name));
    }
    EXPECT_TRUE(FieldHolds(run.vpn.szDeviceType, c.vpnDevice.type));
    EXPECT_TRUE(FieldHolds(run.vpn.szDeviceName, c.vpnDevice.name));
  }
}

TEST(DeviceAssignment, WarningsHaveTheirTextsTitlesAndStyle) {
  AssignmentScene scene;
  int vpnFlag = 1;
  scene.Assign({}, nullptr, &vpnFlag, 0);
  ASSERT_EQ(scene.ui.MessageBoxes().size(), 2u);
  EXPECT_EQ(scene.ui.MessageBoxes()[0].text,
            "There are no VPN adapters installed.\nPlease install DUN version 1.2b or higher.");
  EXPECT_EQ(scene.ui.MessageBoxes()[1].text,
            "There is no modem installed in this system.  Please install the modem first");
  for (const test::ShownMessageBox& box : scene.ui.MessageBoxes()) {
    EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONWARNING | MB_OK));
  }
}

TEST(DeviceAssignment, DialogListsTheNamesInListOrderWithTheFirstSelected) {
  AssignmentScene scene;
  scene.ui.AnswerDialogs({test::DialogAnswer::Ok()});
  int vpnFlag = 0;
  scene.Assign({kVpn, kModemZ, kIsdn, kModemA}, kRemembered, &vpnFlag, 1);
  ASSERT_EQ(scene.ui.Dialogs().size(), 1u);
  const test::ShownControl& list = scene.ui.Dialogs()[0].controls.at(IDC_MODEM_LIST);
  EXPECT_EQ(list.items,
            (std::vector<std::string>{kIsdn.name, kModemA.name, kModemZ.name, kVpn.name}));
  EXPECT_EQ(list.selection, 0);
}

TEST(DeviceAssignment, CopiesNamesOfFullWidthWholeAndTerminated) {
  AssignmentScene scene;
  const test::Device wide = {std::string(16, 't'), std::string(128, 'n')};
  int vpnFlag = 0;
  ASSERT_EQ(scene.Assign({wide}, nullptr, &vpnFlag, 0), 1);
  EXPECT_TRUE(FieldHolds(scene.main.szDeviceType, wide.type));
  EXPECT_TRUE(FieldHolds(scene.main.szDeviceName, wide.name));
}

}  // namespace
