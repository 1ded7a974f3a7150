// The situations of a whole run, played in process against the scripted window system, and by the
// tool's program: through a terminal on POSIX, through its windows under Wine. Each says what the
// world holds beforehand and how the user answers, then what the user is shown, the exit status,
// and what the phone book, the settings file, the program's directory, the log and the report
// hold afterwards. Also what the other tests of whole runs share: the world a run starts from,
// and the stand-in phone book, the settings file and the report as the checks see them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/provision_app.h"
#include "base/text.h"
#include "entry_fields.h"
#include "phone_book_file.h"
#include "support/command_line_values.h"
#include "support/scripted_window_system.h"
#include "support/stand_in_system.h"

namespace test {

// CountryCode=0 asks the service to fill in the country's code, which the stand-in does: a run
// repeated must still find the entry unchanged.
inline constexpr char kDescriptions[] =
    "[RasEntry]\nLocalPhoneNumber=5550123\nCountryCode=0\n[VPNEntry]\nLocalPhoneNumber=vpn."
    "example.net\n";
inline constexpr char kRemembered[] =
    "[Modem Selection]\nDeviceType=modem\nDeviceName=Acme 56k Voice\n";

inline const Device kStandard = {"modem", "Standard 28800 bps Modem"};
inline const Device kAcme = {"modem", "Acme 56k Voice"};
inline const Device kIsdn = {"isdn", "ISDN Line"};
inline const Device kVpn = {"vpn", "WAN Miniport (PPTP)"};
inline const std::vector<Device> kTypicalDevices = {kStandard, kAcme, kVpn};

// "name: device" of every stored entry, in the phone book's order, and " Key=value" for each field
// of the later records that it keeps.
inline std::vector<std::string> StoredEntries(const std::string& phoneBook) {
  PhoneBook book;
  ReadPhoneBook(phoneBook, &book);
  std::vector<std::string> stored;
  for (const StoredEntry& entry : book) {
    std::string later;
    AppendLaterStoredFields(later, entry.later, " ");
    std::erase(later, '\n');
    stored.push_back(entry.name + ": " + entry.record.szDeviceName + later);
  }
  return stored;
}

inline constexpr char kUsage[] = "message box: DIALKIT Usage Notice";
inline constexpr char kExists[] = "message box: Object Already Exists";
inline constexpr char kDialog[] = "dialog 109";

// The service the run loads: the stand-in, none at all, or (in process only) one whose entries
// need more than the record's 1768 bytes.
enum class Service { kStandIn, kNone, kLargeEntries };

struct RunCase {
  const char* name = "";
  std::string commandLine = "INIT=isp.ini CONNECT=\"My ISP\" VPN=\"My VPN\"";
  std::vector<Device> devices = kTypicalDevices;
  const char* settings = kRemembered;      // dialkit.ini beforehand; null: none
  const char* file = kDescriptions;        // isp.ini, beforehand and for the case's run
  const char* windows = nullptr;           // the Windows the stand-in plays; null: Windows 95
  std::vector<std::string> existing = {};  // entries stored beforehand
  bool alternates = false;                 // the entries stored beforehand have alternate numbers
  Service service = Service::kStandIn;
  const char* failingFunction = nullptr;          // made to fail with 624
  int answer = IDOK;                              // to the first message box; later ones: OK
  std::optional<DialogAnswer> dialogAnswer = {};  // none: the dialog is cancelled
  std::vector<std::string> shown = {};            // the window system's events
  std::string firstText = {};                     // of the first message box
  std::vector<std::string> stored = {};
  const char* remembered = nullptr;  // dialkit.ini afterwards; null: as it was beforehand
  int status = 0;
  // Lines of run.log in the starting directory, in this order, without their time, and last
  // "exit <status>"; "<program>" is the program's directory, and a final '*' matches any rest.
  std::vector<std::string> log = {};
  // A quiet run played first, with `earlierFile` as isp.ini (null: the same), whose entries and
  // remembered device the run then meets.
  std::string earlier = {};
  const char* earlierFile = nullptr;
  std::string report = {};  // the report's ReportSummary; empty: not compared
};

// A run's world: a stand-in system with the case's devices installed, its entries stored
// beforehand (each with the device "Earlier Device", and with `alternates` too large for the 1768
// bytes) and its function made to fail with 624; the program's directory, with a blank in its
// name, holding the entry description files (dialup.ini has no VPN section), a work file left by
// someone else and the case's settings file; and a directory to start the program from, holding
// another entry description file and a settings file that remembers another device, as a
// downloads folder may, which the run must never read.
class RunWorld : public ScopedStandInSystem {
 public:
  explicit RunWorld(const RunCase& c = {}) {
    std::filesystem::create_directories(program);
    std::filesystem::create_directory(start);
    WriteFileBytes(ProgramFile("isp.ini"), c.file);
    if (c.windows != nullptr) {
      PlayWindows(c.windows);
    }
    WriteFileBytes(ProgramFile("dialup.ini"), "[RasEntry]\nLocalPhoneNumber=5550123\n");
    WriteFileBytes(ProgramFile("dialkit.wrk"), "left by someone else");
    WriteFileBytes((start / "isp.ini").string(), "[RasEntry]\nLocalPhoneNumber=5556666\n");
    WriteFileBytes((start / "dialkit.ini").string(), "[Modem Selection]\nDeviceName=Planted\n");
    if (c.settings != nullptr) {
      WriteFileBytes(ProgramFile("dialkit.ini"), c.settings);
    }
    InstallDevices(c.devices);
    ::PhoneBook book;
    for (const std::string& name : c.existing) {
      book.push_back({name, {}});
      book.back().record.dwSize = kEntryRecordSize;
      book.back().record.dwAlternateOffset = c.alternates ? kEntryRecordSize : 0;
      CopyText(book.back().record.szDeviceName, "Earlier Device");
    }
    EXPECT_TRUE(c.existing.empty() || WritePhoneBook(PhoneBookPath(), book));
    if (c.failingFunction != nullptr) {
      FailFunction(c.failingFunction, 624);
    }
  }

  std::string ProgramFile(const std::string& name) const { return (program / name).string(); }

  const std::filesystem::path program = Root().path() / "Program Files" / "DIALKIT";
  const std::filesystem::path start = Root().path() / "elsewhere";
};

// Every file of the world, its bytes and its time, but in the starting folder and the work file,
// which every run deletes: to tell that a run wrote nothing.
inline std::string WrittenFiles(const RunWorld& world) {
  std::string files;
  for (const auto& file : std::filesystem::recursive_directory_iterator(world.Root().path())) {
    if (file.is_regular_file() && file.path().parent_path() != world.start &&
        file.path().filename() != "dialkit.wrk") {
      files += file.path().string() + "@" +
               std::to_string(file.last_write_time().time_since_epoch().count()) + "\n" +
               ReadFileBytes(file.path().string());
    }
  }
  return files;
}

// A report in a few words: "STATUS changed|same: NAME RESULT[ KEYS], ...", where KEYS are the
// keys that change, or "all" for the 26 of every entry, followed by those of the later records.
inline std::string ReportSummary(const std::string& report) {
  // The fields at the start of their lines (not the device's name), and the changes' keys.
  const std::regex field(R"~(\n *"(status|changed|name|result)": "?([^",\n]*)|\{"key": "(\w+))~");
  std::string summary;
  std::string keys;  // " KEY" for each
  const auto addKeys = [&] {
    const auto count = std::count(keys.begin(), keys.end(), ' ');
    size_t later = keys.size();
    for (auto k = count; k > 26; --k) {
      later = keys.rfind(' ', later - 1);
    }
    summary += count >= 26 ? " all" + keys.substr(later) : keys;
    keys.clear();
  };
  for (std::sregex_iterator i(report.begin(), report.end(), field), end; i != end; ++i) {
    const std::string name = (*i)[1];
    const std::string value = (*i)[2];
    if ((*i)[3].matched) {
      keys += " " + (*i)[3].str();
    } else if (name == "status") {
      summary = value;
    } else if (name == "changed") {
      summary += value == "true" ? " changed:" : " same:";
    } else if (name == "name") {
      addKeys();
      summary += (summary.back() == ':' ? " " : ", ") + value;
    } else {
      summary += " " + value;
    }
  }
  addKeys();
  return summary;
}

// Keeps `report` for the check of every report against the schema (match_schema.py), in a folder
// of the running test's own, emptied when the test first keeps one.
inline void KeepReport(const std::string& report) {
  static std::set<std::string> cleared;
  const testing::TestInfo& test = *testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path folder = std::filesystem::path(DIALKIT_TEST_REPORTS) /
                                       (std::string(test.test_suite_name()) + "." + test.name());
  if (cleared.insert(folder.string()).second) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  const auto count = std::distance(std::filesystem::directory_iterator(folder), {});
  WriteFileBytes((folder / (std::to_string(count) + ".json")).string(), report);
}

inline constexpr char kQuiet[] = " /quiet /log:run.log";
inline const std::string kTypicalLine = RunCase{}.commandLine;
inline const std::string kTypicalQuiet = kTypicalLine + " /quiet";
inline constexpr char kOtherNumber[] =
    "[RasEntry]\nLocalPhoneNumber=5550000\nCountryCode=0\n[VPNEntry]\nLocalPhoneNumber=vpn."
    "example.net\n";
inline constexpr char kStoredTypical[] = "0 changed: My ISP created all, My VPN created all";
inline const std::string kRemoveLine = "CONNECT=\"My ISP\" VPN=\"My VPN\" /remove";
// A VPN entry with keys that only the later records carry, and a strategy each Windows takes.
inline constexpr char kLaterKeys[] =
    "[RasEntry]\nLocalPhoneNumber=5550123\n[VPNEntry]\nLocalPhoneNumber=vpn.example.net\n"
    "VpnStrategy=l2tpfirst\nUsePreSharedKey=1\nDnsSuffix=corp.example.net\n";
inline constexpr char kIkev2[] =
    "[RasEntry]\nLocalPhoneNumber=5550123\n[VPNEntry]\nLocalPhoneNumber=vpn.example.net\n"
    "VpnStrategy=Ikev2Only\n";
inline constexpr char kUnknownStrategy[] =
    "[RasEntry]\nLocalPhoneNumber=5550123\n[VPNEntry]\nLocalPhoneNumber=vpn.example.net\n"
    "VpnStrategy=WireGuard\n";
inline const std::vector<std::string> kStoredLater = {
    "My ISP: Acme 56k Voice",
    "My VPN: WAN Miniport (PPTP) VpnStrategy=L2tpFirst Options2=UsePreSharedKey "
    "DnsSuffix=corp.example.net"};

inline const RunCase kRunCases[] = {
    // The service of Windows XP answers 632 for the records of Vista and 7: XP's is stored, the
    // rest of it as the service gave it, and a run repeated finds nothing to change.
    {.name = "Windows XP: the keys of the later records, in the longest record it takes",
     .file = kLaterKeys,
     .windows = "Windows XP",
     .stored = kStoredLater,
     .report = "0 changed: My ISP created all, My VPN created all VpnStrategy UsePreSharedKey "
               "DnsSuffix"},
    {.name = "Windows XP, once more: the later keys unchanged",
     .commandLine = kTypicalQuiet,
     .file = kLaterKeys,
     .windows = "Windows XP",
     .stored = kStoredLater,
     .earlier = kTypicalQuiet,
     .report = "0 same: My ISP unchanged, My VPN unchanged"},
    {.name = "Windows 95: a later key is not stored, and the log names the Windows it needs",
     .commandLine = kTypicalLine + kQuiet,
     .file = kLaterKeys,
     .stored = {"My ISP: Acme 56k Voice"},
     .status = 12,
     .log = {"not stored \"My VPN\": VpnStrategy=L2tpFirst needs Windows 2000; this Windows "
             "takes the record of Windows 95"},
     .report = "12 changed: My ISP created all, My VPN not stored"},
    {.name = "Windows XP and IKEv2, which came with Windows 7",
     .commandLine = kTypicalLine + kQuiet,
     .file = kIkev2,
     .windows = "Windows XP",
     .stored = {"My ISP: Acme 56k Voice"},
     .status = 12,
     .log = {"not stored \"My VPN\": VpnStrategy=Ikev2Only needs Windows 7; *"}},
    {.name = "a strategy the tool does not know is no default",
     .commandLine = kTypicalLine + kQuiet,
     .file = kUnknownStrategy,
     .windows = "Windows 7",
     .stored = {"My ISP: Acme 56k Voice"},
     .status = 12,
     .log = {"not stored \"My VPN\": VpnStrategy=WireGuard is no value of the key"}},
    {.name = "typical: a remembered device, nothing exists yet",
     .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
     .report = kStoredTypical},
    // A run repeated changes nothing: no entry and no settings file is written, and none of
    // their bytes and times change (PlayCase).
    {.name = "quiet, once more: unchanged, without /overwrite",
     .commandLine = kTypicalLine + kQuiet,
     .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
     .log = {"unchanged \"My ISP\": the stored entry is what the file describes"},
     .earlier = kTypicalQuiet,
     .report = "0 same: My ISP unchanged, My VPN unchanged"},
    {.name = "once more with a person: the question, then nothing to write",
     .commandLine = "INIT=isp.ini CONNECT=\"My ISP\" VPN=\"Caf\xE9\"",
     .shown = {kExists},
     .stored = {"My ISP: Acme 56k Voice", "Caf\xE9: WAN Miniport (PPTP)"},
     .earlier = "INIT=isp.ini CONNECT=\"My ISP\" VPN=\"Caf\xE9\" /quiet",
     .report = "0 same: My ISP unchanged, Caf\xC3\xA9 unchanged"},
    {.name = "a changed file, /overwrite: only what changed",
     .commandLine = kTypicalLine + " /log:run.log /quiet /overwrite",
     .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
     .log = {"Object Already Exists: The connectiod \"My ISP\" already exists. *",
             "stored \"My ISP\" on modem \"Acme 56k Voice\"", "unchanged \"My VPN\": *"},
     .earlier = kTypicalQuiet,
     .earlierFile = kOtherNumber,
     .report = "0 changed: My ISP updated LocalPhoneNumber, My VPN unchanged"},
    {.name = "a changed file without /overwrite: kept, and the rest unchanged",
     .commandLine = kTypicalLine + kQuiet,
     .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
     .status = 4,
     .log = {"not stored \"My ISP\": the overwrite of existing entries was not confirmed"},
     .earlier = kTypicalQuiet,
     .earlierFile = kOtherNumber,
     .report = "4 same: My ISP kept LocalPhoneNumber, My VPN unchanged"},
    {.name = "an entry the service cannot read back counts as one that differs",
     .commandLine = kTypicalLine + kQuiet,
     .failingFunction = "RasGetEntryPropertiesA",
     .status = 4,
     .log = {"Object Already Exists: The connectiods \"My ISP\" and \"My VPN\" already exist. *"},
     .report = "4 same: My ISP kept all, My VPN kept all"},
    {.name = "/check: says what it would store, and stores nothing",
     .commandLine = kTypicalLine + " /check /log:run.log",
     .log = {"would store \"My ISP\" on modem \"Acme 56k Voice\""},
     .report = kStoredTypical},
    {.name = "/check /remove: says what it would remove",
     .commandLine = kRemoveLine + " /check /report:-",
     .existing = {"My ISP", "Other"},
     .stored = {"My ISP: Earlier Device", "Other: Earlier Device"},
     .report = "0 changed: My ISP removed all, My VPN absent"},
    {.name = "INIT without CONNECT", .commandLine = "INIT=isp.ini", .shown = {kUsage}},
    {.name = "empty: usage, without moving or cleaning up",
     .commandLine = "",
     .shown = {kUsage},
     .firstText = "Usage is: DIALKIT INIT=\"myfile.ini\" CONNECT=\"connectoid\" [ASK]"},
    {.name = "the library cannot be loaded",
     .service = Service::kNone,
     .shown = {"message box: DIALKIT"}},
    {.name = "only the VPN entry exists",
     .existing = {"My VPN"},
     .shown = {kExists},
     .firstText = "The connectiod \"My VPN\" already exists.\nDo you want to overwrite it?",
     .stored = {"My VPN: WAN Miniport (PPTP)", "My ISP: Acme 56k Voice"}},
    // Only the service's "no such entry" lets an entry be replaced without the question, also one
    // that the record cannot hold whole.
    {.name = "both exist, with alternate numbers, the question cancelled, logged",
     .commandLine = kTypicalLine + " /log:run.log",
     .existing = {"My ISP", "My VPN"},
     .alternates = true,
     .answer = IDCANCEL,
     .shown = {kExists},
     .firstText =
         "The connectiods \"My ISP\" and \"My VPN\" already exist.\nDo you want to overwrite them?",
     .stored = {"My ISP: Earlier Device", "My VPN: Earlier Device"},
     .log = {"start: " + kTypicalLine + " /log:run.log*", "Object Already Exists: *",
             "not stored \"My ISP\": the overwrite of existing entries was not confirmed"}},
    {.name = "a service whose entries outgrow the record",
     .service = Service::kLargeEntries,
     .answer = IDCANCEL,
     .shown = {kExists}},
    {.name = "dialog cancelled: the VPN entry alone is stored",
     .settings = nullptr,
     .shown = {kDialog},
     .stored = {"My VPN: WAN Miniport (PPTP)"}},
    {.name = "the third device picked, then storing the VPN entry fails",
     .commandLine = "INIT=isp.ini CONNECT=\"My ISP\" VPN=.vpn",
     .devices = {{"modem", "Zoom"}, kIsdn, kAcme, kVpn},
     .settings = nullptr,
     .dialogAnswer = DialogAnswer::Pick(3060, 2),
     .shown = {kDialog, "message box: Failed to Set VPN Connection Object"},
     .firstText = "Error 123 creating connection object \".vpn\"",
     .stored = {"My ISP: Zoom"},
     .remembered = "[Modem Selection]\nDeviceType=modem\nDeviceName=Zoom\n"},
    // Quiet runs: nothing is shown, and the status says what fell short.
    {.name = "quiet: usage",
     .commandLine = std::string("CONNECT=x") + kQuiet,
     .status = 1,
     .log = {"DIALKIT Usage Notice: Usage is: DIALKIT INIT=*"}},
    {.name = "quiet: missing file, control characters escaped",
     .commandLine = std::string("INIT=miss\ring.ini CONNECT=x") + kQuiet,
     .status = 2,
     .log = {"start: INIT=miss\\x0ding.ini*",
             "File Not Found: <program>miss\\x0ding.ini does not exist.  Please check the file "
             "name."}},
    {.name = "quiet: INIT names a folder",
     .commandLine = std::string("INIT=\"\" CONNECT=x") + kQuiet,
     .status = 2,
     .log = {"File Not Found: *"}},
    {.name = "quiet: VPN names the dial-up entry in other letter case",
     .commandLine = std::string("INIT=isp.ini CONNECT=Work VPN=work") + kQuiet,
     .status = 1,
     .log = {"VPN=\"work\" names the entry that CONNECT=\"Work\" names: *",
             "DIALKIT Usage Notice: *"}},
    {.name = "quiet: no library",
     .commandLine = kTypicalLine + kQuiet,
     .service = Service::kNone,
     .status = 3,
     .log = {"DIALKIT: Error loading RAS Api!",
             "rasapi32.dll could not be loaded; looked for at *"}},
    {.name = "quiet: the service refuses the main entry",
     .commandLine = kTypicalLine + kQuiet,
     .failingFunction = "RasSetEntryPropertiesA",
     .status = 5,
     .log = {"Failed to Set Connection Object: Error 624 creating connection object \"My ISP\"",
             "not stored \"My ISP\": the service refused it with error 624",
             "not stored \"My VPN\": not tried once the first was refused"}},
    {.name = "quiet: no device at all is 6 before 7",
     .commandLine = kTypicalLine + kQuiet,
     .devices = {},
     .settings = nullptr,
     .status = 6,
     .log = {"DUN Warning: There are no VPN adapters installed. Please install DUN *",
             "Modem Warning: There is no modem installed in this system.  Please install the "
             "modem first",
             "not stored \"My ISP\": no device is installed"}},
    {.name = "quiet: no VPN section",
     .commandLine = std::string("INIT=dialup.ini CONNECT=\"My ISP\" VPN=\"My VPN\"") + kQuiet,
     .stored = {"My ISP: Acme 56k Voice"},
     .status = 7,
     .log = {"not stored \"My VPN\": the entry description file has no VPNEntry section"}},
    // Every word passed over is said: the rest after an = where a key belongs too.
    {.name = "words passed over, logged",
     .commandLine = "INIT=isp.ini CONNECT=\"My ISP\" /quite COLOR=blue ASK /device:x=y VPN=\"My "
                    "VPN\" /log:run.log",
     .stored = {"My ISP: Acme 56k Voice"},
     .log = {"ignored \"/quite\": no option of this program *",
             "ignored \"COLOR=blue\": no key of this program *",
             "ignored \"ASK\": a key without \"=\" and a value",
             "ignored \"VPN=\"My VPN\"\": the command line is read no further than *"}},
    // /device answers the dialog, and only the dialog.
    {.name = "quiet /device: a name in other letter case, also with ASK=0",
     .commandLine = kTypicalLine + " ASK=0" + kQuiet + " \"/device:acme 56K VOICE\"",
     .settings = nullptr,
     .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
     .remembered = kRemembered,
     .log = {"stored \"My ISP\" on modem \"Acme 56k Voice\""}},
    {.name = "quiet /device: a type that several devices have",
     .commandLine = kTypicalLine + kQuiet + " /device:modem",
     .settings = nullptr,
     .stored = {"My VPN: WAN Miniport (PPTP)"},
     .status = 6,
     .log = {"not stored \"My ISP\": /device:modem matches 2 devices by type, *",
             "matching device: modem \"Acme 56k Voice\"",
             "matching device: modem \"Standard 28800 bps Modem\""}},
    {.name = "quiet /device: no match, and a device to choose is never guessed",
     .commandLine = kTypicalLine + kQuiet + " /device:isdn",
     .settings = nullptr,
     .stored = {"My VPN: WAN Miniport (PPTP)"},
     .status = 6,
     .log = {"not stored \"My ISP\": /device:isdn matches no installed device by name or type, *",
             "installed device: modem \"Acme 56k Voice\"",
             "installed device: modem \"Standard 28800 bps Modem\"",
             "to choose one, name it with /device:NAME or /device:TYPE, or place dialkit.ini *"}},
    {.name = "/device yields to a remembered device",
     .commandLine = kTypicalLine + kQuiet + " /device:vpn",
     .stored = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"},
     .log = {"stored \"My ISP\" on modem \"Acme 56k Voice\""}},
    {.name = "/device with a person: the dialog is answered beforehand, by a type in any case",
     .commandLine = kTypicalLine + " ASK=0 /device:ISDN",
     .devices = {kStandard, kAcme, kIsdn, kVpn},
     .stored = {"My ISP: ISDN Line", "My VPN: WAN Miniport (PPTP)"},
     .remembered = "[Modem Selection]\nDeviceType=isdn\nDeviceName=ISDN Line\n"},
    {.name = "/device without a match: the person is asked",
     .commandLine = kTypicalLine + " /device:isdn",
     .settings = nullptr,
     .dialogAnswer = DialogAnswer::Pick(3060, 1),
     .shown = {kDialog},
     .stored = {"My ISP: Standard 28800 bps Modem", "My VPN: WAN Miniport (PPTP)"},
     .remembered = "[Modem Selection]\nDeviceType=modem\nDeviceName=Standard 28800 bps Modem\n"},
    // /remove: the uninstaller's half. The settings file stays as it was.
    {.name = "remove, asked and cancelled",
     .commandLine = kRemoveLine + " /log:run.log",
     .existing = {"My ISP", "My VPN"},
     .answer = IDCANCEL,
     .shown = {"message box: Remove Connection Object"},
     .firstText = "The connection objects \"My ISP\" and \"My VPN\" will be removed.\nDo you want "
                  "to remove them?",
     .stored = {"My ISP: Earlier Device", "My VPN: Earlier Device"},
     .log = {"Remove Connection Object: *", "not removed \"My ISP\": the removal was not confirmed",
             "not removed \"My VPN\": the removal was not confirmed"}},
    {.name = "quiet remove: one there, one not, and an INIT whose file is gone",
     .commandLine = "INIT=gone.ini " + kRemoveLine + kQuiet,
     .existing = {"Other", "My VPN"},
     .stored = {"Other: Earlier Device"},
     .log = {"not there, so nothing to remove: \"My ISP\"", "removed \"My VPN\""}},
    {.name = "quiet remove refused by the service",
     .commandLine = kRemoveLine + kQuiet,
     .existing = {"My ISP"},
     .failingFunction = "RasDeleteEntryA",
     .stored = {"My ISP: Earlier Device"},
     .status = 5,
     .log = {"Failed to Remove Connection Object: Error 624 removing connection object *",
             "not removed \"My ISP\": the service refused it with error 624"}},
    {.name = "quiet remove: a query that fails leaves the answer to the deletion",
     .commandLine = "CONNECT=\"My ISP\" /remove" + std::string(kQuiet),
     .existing = {"My ISP"},
     .failingFunction = "RasGetEntryPropertiesA",
     .log = {"removed \"My ISP\""}},
    {.name = "quiet remove without a name",
     .commandLine = std::string("INIT=isp.ini /remove") + kQuiet,
     .status = 1,
     .log = {"DIALKIT Usage Notice: *"}},
    {.name = "quiet remove without the library",
     .commandLine = kRemoveLine + kQuiet,
     .service = Service::kNone,
     .status = 3,
     .log = {"DIALKIT: Error loading RAS Api!", "rasapi32.dll could not be loaded; *",
             "not removed \"My ISP\": the remote-access library cannot be loaded"}},
};

// The style of a run's message box: the two questions offer OK and Cancel, and the service's
// absence is told without an icon.
inline UINT BoxStyle(const std::string& title) {
  const bool question = title == "Object Already Exists" || title == "Remove Connection Object";
  return title == "DIALKIT" ? MB_OK : MB_ICONWARNING | (question ? MB_OKCANCEL : MB_OK);
}

// Every line of the log begins with the local date and time, the expected lines come in their
// order, and the last line is the exit status.
inline void ExpectLog(const RunCase& c, const RunWorld& world) {
  const std::string log = ReadFileBytes((world.start / "run.log").string());
  std::vector<std::string> lines;
  const std::regex line("(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d )?([^\r\n]*)\r?\n");
  for (std::sregex_iterator i(log.begin(), log.end(), line), end; i != end; ++i) {
    EXPECT_TRUE((*i)[1].matched) << "no time: " << (*i)[2];
    lines.push_back((*i)[2]);
  }
  EXPECT_EQ(lines.empty() ? "" : lines.back(),
            c.log.empty() ? "" : "exit " + std::to_string(c.status));
  auto next = lines.begin();
  for (const std::string& expected : c.log) {
    std::string text = expected;
    if (const size_t at = text.find("<program>"); at != std::string::npos) {
      text.replace(at, 9, world.ProgramFile(""));
    }
    const size_t length = text.back() == '*' ? text.size() - 1 : std::string::npos;
    next = std::find_if(next, lines.end(), [&](const std::string& l) {
      return l.substr(0, length) == text.substr(0, length);
    });
    EXPECT_NE(next, lines.end()) << "not in its place in the log: " << text << "\n" << log;
    next += next != lines.end();
  }
}

// Plays the case's earlier run, if it has one, with `play(line)`.
template <typename Play>
void PlayEarlier(const RunCase& c, const RunWorld& world, Play play) {
  if (!c.earlier.empty()) {
    WriteFileBytes(world.ProgramFile("isp.ini"), c.earlierFile ? c.earlierFile : c.file);
    EXPECT_EQ(play(c.earlier), 0) << "the earlier run";
    WriteFileBytes(world.ProgramFile("isp.ini"), c.file);
  }
}

// Plays `line` in process in `world`, from its starting directory, as the program in the
// program's directory; answers the exit status. The starting directory is current again after it.
inline int PlayInProcess(const RunWorld& world, const std::string& line) {
  test::ClearCommandLineValues();
  ScopedCurrentDirectory current(world.start);
  CProvisionApp application;
  const int status = RunApplication(line.c_str(), world.ProgramFile("dialkit.exe").c_str());
  EXPECT_EQ(std::filesystem::current_path(), world.start) << "the starting directory";
  return status;
}

// What a run ended with, and wrote on its standard output.
struct Played {
  int status;
  std::string output;
};

// Plays the case in its world with `play(line, shown)`, which runs `line` to its end and answers
// the windows `shown` as the case says: the earlier run first, which shows nothing. Afterwards
// the phone book, the settings file, the program's directory, the log and the report are as the
// case says. A report is written to report.json unless the case names one, and kept for the
// schema check; one that says nothing changed, or comes from /check, is true: the files a run
// writes are as they were, bytes and times (WrittenFiles).
template <typename Play>
void PlayCase(const RunCase& c, const RunWorld& world, Play play) {
  PlayEarlier(c, world, [&](const std::string& line) { return play(line, {}).status; });
  const std::string before = WrittenFiles(world);
  const bool named = c.commandLine.empty() || c.commandLine.find("/report:") != std::string::npos;
  const Played played = play(c.commandLine + (named ? "" : " /report:report.json"), c.shown);
  EXPECT_EQ(played.status, c.status);

  EXPECT_EQ(StoredEntries(world.PhoneBookPath()), c.stored);
  // Windows writes the settings file in its own layout, with CR LF line ends.
  const char* settings = c.remembered != nullptr ? c.remembered : c.settings;
  std::string written = ReadFileBytes(world.ProgramFile("dialkit.ini"));
  std::erase(written, '\r');
  EXPECT_EQ(written, settings != nullptr ? settings : "");
  EXPECT_EQ(std::filesystem::exists(world.ProgramFile("dialkit.ini")), settings != nullptr);
  // The work file is deleted on every way out but the first.
  EXPECT_EQ(std::filesystem::exists(world.ProgramFile("dialkit.wrk")), c.commandLine.empty());
  ExpectLog(c, world);
  if (c.commandLine.empty()) {
    return;
  }
  const std::string report = c.commandLine.find("/report:-") != std::string::npos
                                 ? played.output
                                 : ReadFileBytes((world.start / "report.json").string());
  KeepReport(report);
  if (!c.report.empty()) {
    EXPECT_EQ(ReportSummary(report), c.report) << report;
  }
  if (report.find("\"changed\": false") != std::string::npos ||
      report.find("\"check\": true") != std::string::npos) {
    EXPECT_EQ(WrittenFiles(world), before) << report;
  }
}

}  // namespace test
