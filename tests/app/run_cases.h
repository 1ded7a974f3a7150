// The situations of a whole run, played twice: in process against the scripted window system, and
// by the tool's program through a terminal. Each says what the world holds beforehand and how the
// user answers, then what the user is shown and what the phone book, the settings file and the
// program's directory hold afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/run_fixtures.h"
#include "support/scripted_window_system.h"

namespace test {

inline constexpr char kUsage[] = "message box: DIALKIT Usage Notice";
inline constexpr char kExists[] = "message box: Object Already Exists";
inline constexpr char kDialog[] = "dialog 109";
inline constexpr char kBothExist[] =
    "The connectiods \"My ISP\" and \"My VPN\" already exist.\nDo you want to overwrite them?";

// The service the run loads: the stand-in, none at all, or (in process only) one whose entries
// need more than the record's 1768 bytes.
enum class Service { kStandIn, kNone, kLargeEntries };

struct RunCase {
  const char* name;
  std::string commandLine = "INIT=isp.ini CONNECT=\"My ISP\" VPN=\"My VPN\"";
  std::vector<Device> devices = kTypicalDevices;
  const char* settings = kRemembered;      // dialkit.ini beforehand; null: none
  std::vector<std::string> existing = {};  // entries stored beforehand
  Service service = Service::kStandIn;
  const char* failingFunction = nullptr;          // made to fail with 624
  int answer = IDOK;                              // to the first message box; later ones: OK
  std::optional<DialogAnswer> dialogAnswer = {};  // none: the dialog is cancelled
  std::vector<std::string> shown = {};            // the window system's events
  std::string firstText = {};  // of the first message box; "<program>" is the program's directory
  std::vector<std::string> stored = {};
  const char* remembered = nullptr;  // "type: name"; null: the settings file is left as it was
};

inline const RunCase kRunCases[] = {
    {.name = "typical: a remembered device, nothing exists yet",
     .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
     .remembered = "modem: Acme 56k Voice"},
    {.name = "INIT without CONNECT", .commandLine = "INIT=isp.ini", .shown = {kUsage}},
    {.name = "CONNECT without INIT", .commandLine = "CONNECT=x", .shown = {kUsage}},
    {.name = "empty: usage, without moving or cleaning up",
     .commandLine = "",
     .shown = {kUsage},
     .firstText = "Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]"},
    {.name = "missing entry description file",
     .commandLine = "INIT=missing.ini CONNECT=x",
     .shown = {"message box: File Not Found"},
     .firstText = "<program>missing.ini does not exist.  Please check the file name."},
    {.name = "the library cannot be loaded",
     .service = Service::kNone,
     .shown = {"message box: DIALKIT"},
     .firstText = "Error loading RAS Api!"},
    {.name = "only the VPN entry exists",
     .existing = {"My VPN"},
     .shown = {kExists},
     .firstText = "The connectiod \"My VPN\" already exists.\nDo you want to overwrite it?",
     .stored = {"My VPN: WAN Miniport (PPTP)", "My ISP: Acme 56k Voice"},
     .remembered = "modem: Acme 56k Voice"},
    {.name = "both exist, the question cancelled",
     .existing = {"My ISP", "My VPN"},
     .answer = IDCANCEL,
     .shown = {kExists},
     .firstText = kBothExist,
     .stored = {"My ISP: Earlier Device", "My VPN: Earlier Device"}},
    {.name = "the VPN entry exists, the file has no VPN section",
     .commandLine = "INIT=dialup.ini CONNECT=\"My ISP\" VPN=\"My VPN\"",
     .existing = {"My VPN"},
     .shown = {kExists},
     .stored = {"My VPN: Earlier Device", "My ISP: Acme 56k Voice"},
     .remembered = "modem: Acme 56k Voice"},
    {.name = "a service whose entries outgrow the record",
     .service = Service::kLargeEntries,
     .answer = IDCANCEL,
     .shown = {kExists},
     .firstText = kBothExist},
    {.name = "dialog cancelled: the VPN entry alone is stored",
     .settings = nullptr,
     .shown = {kDialog},
     .stored = {"My VPN: WAN Miniport (PPTP)"}},
    {.name = "no device at all",
     .devices = {},
     .settings = nullptr,
     .shown = {"message box: DUN Warning", "message box: Modem Warning"}},
    {.name = "storing the main entry fails: no VPN entry, settings untouched",
     .failingFunction = "RasSetEntryPropertiesA",
     .shown = {"message box: Failed to Set Connection Object"},
     .firstText = "Error 624 creating connection object \"My ISP\""},
    {.name = "the third device picked, then storing the VPN entry fails",
     .commandLine = "INIT=isp.ini CONNECT=\"My ISP\" VPN=.vpn",
     .devices = {{"modem", "Zoom"}, kIsdn, kAcme, kVpn},
     .settings = nullptr,
     .dialogAnswer = DialogAnswer::Pick(3060, 2),
     .shown = {kDialog, "message box: Failed to Set VPN Connection Object"},
     .firstText = "Error 123 creating connection object \".vpn\"",
     .stored = {"My ISP: Zoom"},
     .remembered = "modem: Zoom"},
};

// The first message box's text in `world`.
inline std::string FirstText(const RunCase& c, const RunWorld& world) {
  std::string text = c.firstText;
  if (text.rfind("<program>", 0) == 0) {
    text.replace(0, 9, world.ProgramFile(""));
  }
  return text;
}

inline void ExpectWorldAfterRun(const RunCase& c, const RunWorld& world) {
  EXPECT_EQ(StoredEntries(world.PhoneBookPath()), c.stored);
  const std::string settings = world.ProgramFile("dialkit.ini");
  if (c.remembered != nullptr) {
    EXPECT_EQ(Remembered(settings), c.remembered);
  } else if (c.settings != nullptr) {
    EXPECT_EQ(ReadFileBytes(settings), c.settings);
  } else {
    EXPECT_FALSE(std::filesystem::exists(settings));
  }
  // The work file is deleted on every way out but the first.
  EXPECT_EQ(std::filesystem::exists(world.ProgramFile("dialkit.wrk")), c.commandLine.empty());
}

}  // namespace test
