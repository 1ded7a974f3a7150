// The Remote Access Service over pppd, on a made-up system root of each test's own: the mapping
// from record to peer file and back, judged by pppd's own option parser where pppd is installed;
// the chat script against a modem played on a pseudo-terminal; names, foreign peer files and
// stores that fail; the device list; and dials through a stand-in pppd.
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "framework/text.h"
#include "peer_file.h"
#include "peer_store.h"
#include "platform/ras_service.h"
#include "ppp_system.h"
#include "pppd_dial.h"
#include "service_answers.h"
#include "support/posix/child_process.h"
#include "support/posix/pseudo_terminal.h"
#include "support/test_environment.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

// A system root of the test's own, named by the service's environment variable.
class CPppRoot {
 public:
  CPppRoot() : root_(directory_.path() / "root"), named_("DIALKIT_PPP_ROOT", root_.c_str()) {
    fs::create_directories(root_ / "dev");
  }
  const fs::path& path() const { return root_; }
  std::string Peer(const std::string& name) const { return PeerFilePath(root_, name); }
  std::string Chat(const std::string& name) const { return ChatScriptPath(root_, name); }
  // A serial port: its sysfs entry and, standing in for its device node, a character device.
  void AddPort(const std::string& name, const char* product = nullptr,
               const char* type = "4") const {
    const fs::path port = root_ / "sys/class/tty" / name;
    fs::create_directories(port / "device");
    if (type != nullptr) {
      test::WriteFileBytes((port / "type").string(), std::string(type) + "\n");
    }
    if (product != nullptr) {
      test::WriteFileBytes((port / "device/product").string(), std::string(product) + "\n");
    }
    fs::create_symlink("/dev/null", root_ / "dev" / name);
  }
  void AddProgram(const char* name, const std::string& script) const {
    const fs::path program = root_ / "usr/sbin" / name;
    fs::create_directories(program.parent_path());
    test::WriteFileBytes(program.string(), script);
    fs::permissions(program, fs::perms(0755));
  }

 private:
  test::ScopedTempDirectory directory_;
  fs::path root_;
  test::ScopedEnvironmentVariable named_;
};

RASENTRYA Modem(const std::string& device) {
  RASENTRYA record = DefaultEntryRecord();
  record.dwfOptions = RASEO_ModemLights | RASEO_RemoteDefaultGateway | RASEO_SwCompression;
  CopyText(record.szLocalPhoneNumber, "555-0142");
  CopyText(record.szAreaCode, "617");
  CopyText(record.szDeviceType, "modem");
  CopyText(record.szDeviceName, device.c_str());
  return record;
}

RASENTRYA Vpn() {
  RASENTRYA record = DefaultEntryRecord();
  record.dwfOptions = RASEO_RemoteDefaultGateway | RASEO_RequireMsEncryptedPw |
                      RASEO_RequireDataEncryption | RASEO_SpecificNameServers;
  record.ipaddrDns = {10, 0, 0, 53};
  CopyText(record.szLocalPhoneNumber, "vpn.example.com");
  CopyText(record.szDeviceType, "vpn");
  CopyText(record.szDeviceName, kPptpAdapterName);
  return record;
}

// pppd's own option parser on a peer file: 2 is an option error; 4, no PPP in the kernel, and 0
// mean the options were taken. -1 where pppd is not installed or cannot judge as this user.
int PppdJudges(const std::string& peer) {
  if (access("/usr/sbin/pppd", X_OK) != 0 || geteuid() != 0) {
    return -1;
  }
  const std::string command = "/usr/sbin/pppd file '" + peer + "' dryrun >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Record in, peer file and chat script out, pppd takes them, and the same record back.
TEST(PppdService, EachRecordBecomesAPeerThatPppdTakesAndComesBackTheSame) {
  const CPppRoot root;
  root.AddPort("ttyUSB0");
  const std::string port = root.path().string() + "/dev/ttyUSB0";
  RASENTRYA everything = Modem("Acme 56K (" + port + ")");
  everything.dwfOptions = 0xFFFF;
  everything.ipaddr = {192, 168, 1, 2};
  everything.ipaddrWins = {10, 0, 0, 1};
  CopyText(everything.szScript, "logon.scp");
  everything.dwfNetProtocols = RASNP_Ip | RASNP_Ipx;
  RASENTRYA slip = Modem(port);
  slip.dwFramingProtocol = RASFP_Slip;
  const struct {
    const char* what;
    RASENTRYA record;
    DWORD result;
    std::vector<const char*> peerLines;  // each found in the peer file
    const char* dials;                   // in the chat script; null for none
  } rows[] = {
      {"a modem, the tool's defaults",
       Modem(port),
       0,
       {"/dev/ttyUSB0", "115200", "modem", "crtscts", "lock", "noipdefault", "usepeerdns",
        "defaultroute", "novj", "noauth", "# not applied on Linux: ModemLights"},
       "OK ATDT5550142\n"},
      {"every option",
       everything,
       0,
       {"192.168.1.2:", "refuse-pap", "refuse-chap", "require-mppe",
        "# not applied on Linux: Script logon.scp", "# not applied on Linux: ipaddrWins 10.0.0.1",
        "# not applied on Linux: NetProtocols IPX", "(the area code, then the number"},
       "OK ATDT6175550142\n"},
      {"a VPN entry",
       Vpn(),
       0,
       {"/usr/sbin/pptp 'vpn.example.com' --nolaunchpppd\"", "set DNS1=10.0.0.53", "require-mppe",
        "refuse-eap"},
       nullptr},
      {"SLIP framing", slip, kErrorNotSupported, {}, nullptr},
      {"a modem without a port",
       Modem("Standard 28800 bps Modem"),
       kErrorDeviceDoesNotExist,
       {},
       nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    CPeerTexts texts;
    ASSERT_EQ(FormatPeer("Home Dial-Up", row.record, root.path(), &texts), row.result);
    if (row.result != 0) {
      continue;
    }
    for (const char* line : row.peerLines) {
      EXPECT_NE(texts.peer.find(line), std::string::npos) << line << "\n" << texts.peer;
    }
    EXPECT_EQ(texts.chat.empty(), row.dials == nullptr);
    if (row.dials != nullptr) {
      EXPECT_NE(texts.chat.find(row.dials), std::string::npos) << texts.chat;
    }
    RASENTRYA back;
    ASSERT_TRUE(ReadPeerRecord(texts.peer, &back));
    EXPECT_EQ(std::memcmp(&back, &row.record, sizeof back), 0);
    ASSERT_EQ(StorePeer(root.path(), "Home Dial-Up", texts), 0u);
    struct stat stored;
    ASSERT_EQ(stat(root.Peer("Home Dial-Up").c_str(), &stored), 0);
    EXPECT_EQ(stored.st_mode & 07777, 0640u);
    if (const group* dialers = getgrnam("dip"); dialers != nullptr && geteuid() == 0) {
      EXPECT_EQ(stored.st_gid, dialers->gr_gid);  // dip may dial it with pon
    }
    const int judged = PppdJudges(root.Peer("Home Dial-Up"));
    EXPECT_TRUE(judged == -1 || judged == 0 || judged == 4) << "pppd ended with " << judged;
  }
}

// The chat script dials the number the record asks for, through the real chat program, with a
// modem played on a pseudo-terminal that answers AT commands.
TEST(PppdService, TheChatScriptDialsTheRecordsNumber) {
  if (access("/usr/sbin/chat", X_OK) != 0) {
    GTEST_SKIP() << "chat is not installed";
  }
  const CPppRoot root;
  root.AddPort("ttyS0");
  CPeerTexts texts;
  ASSERT_EQ(FormatPeer("Home", Modem(root.path().string() + "/dev/ttyS0"), root.path(), &texts),
            0u);
  ASSERT_EQ(StorePeer(root.path(), "Home", texts), 0u);
  test::PseudoTerminal modem;
  const pid_t chat = modem.Start({"/usr/sbin/chat", "-f", root.Chat("Home")}, "/", {});
  EXPECT_TRUE(modem.WaitFor("ATZ\r"));
  modem.Type("\r\nOK\r\n");
  EXPECT_TRUE(modem.WaitFor("ATDT5550142\r"));
  modem.Type("\r\nCONNECT 33600\r\n");
  EXPECT_EQ(modem.WaitForExit(chat), 0);
}

TEST(PppdService, RefusesEveryNameThatCouldLeaveThePeersDirectory) {
  const CPppRoot root;
  root.AddPort("ttyS0");
  RASENTRYA record = Modem(root.path().string() + "/dev/ttyS0");
  const std::string names[] = {"",    ".",           "..",   ".hidden", "../x",
                               "a/b", "/etc/passwd", "a\nb", "a\x7f",   std::string(256, 'a'),
                               "a|b", "a:b",         "***"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    EXPECT_EQ(RasValidateEntryNameA(nullptr, name.c_str()), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_EQ(RasSetEntryPropertiesA(nullptr, name.c_str(), &record, sizeof record, nullptr, 0),
              static_cast<DWORD>(ERROR_INVALID_NAME));
  }
  EXPECT_FALSE(fs::exists(root.path() / "etc"));
  EXPECT_EQ(RasSetEntryPropertiesA(nullptr, std::string(255, 'a').c_str(), &record, sizeof record,
                                   nullptr, 0),
            0u);
}

// A peer file the service did not write exists for the tool, as an entry with a new entry's
// record, and a store over it replaces it (the tool asks first).
TEST(PppdService, APeerFileOfAnotherIsAnEntryOfItsOwn) {
  const CPppRoot root;
  fs::create_directories(root.path() / "etc/ppp/peers");
  test::WriteFileBytes(root.Peer("provider"), "/dev/ttyS0\n115200\nconnect \"chat -f x\"\n");
  EXPECT_EQ(RasValidateEntryNameA(nullptr, "Provider"), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  RASENTRYA read = DefaultEntryRecord();
  DWORD size = sizeof read;
  EXPECT_EQ(RasGetEntryPropertiesA(nullptr, "provider", &read, &size, nullptr, nullptr), 0u);
  const RASENTRYA fresh = DefaultEntryRecord();
  EXPECT_EQ(std::memcmp(&read, &fresh, sizeof read), 0);
  EXPECT_EQ(RasDeleteEntryA(nullptr, "provider"), 0u);
  EXPECT_FALSE(fs::exists(root.Peer("provider")));
}

// A store that fails leaves neither half; without the right to write, the platform's code.
TEST(PppdService, AStoreThatFailsLeavesNeitherHalf) {
  const CPppRoot root;
  root.AddPort("ttyS0");
  CPeerTexts texts;
  ASSERT_EQ(FormatPeer("Home", Modem(root.path().string() + "/dev/ttyS0"), root.path(), &texts),
            0u);
  // Something in the peer file's place that no file can be renamed over.
  fs::create_directories(root.Peer("Home") + "/x");
  EXPECT_EQ(StorePeer(root.path(), "Home", texts),
            static_cast<DWORD>(ERROR_CANNOT_WRITE_PHONEBOOK));
  EXPECT_FALSE(fs::exists(root.Chat("Home")));
  EXPECT_EQ(std::distance(fs::directory_iterator(root.path() / "etc/chatscripts"), {}), 0);
  fs::remove_all(root.Peer("Home"));

  // Without the right to write: another user, where the test runs as root.
  fs::permissions(root.path() / "etc/ppp/peers", fs::perms(0555));
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && setuid(65534) != 0) {
      _exit(2);
    }
    _exit(StorePeer(root.path(), "Home", texts) == kErrorAccessDenied ? 0 : 1);
  }
  const int status = test::WaitForChild(child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_FALSE(fs::exists(root.Peer("Home")));
}

TEST(PppdService, FindsTheSerialPortsAndThePptpAdapter) {
  const CPppRoot root;
  root.AddPort("ttyS0");
  root.AddPort("ttyS1", nullptr, "0");  // no UART
  root.AddPort("ttyUSB0", "Acme 56K USB Modem");
  root.AddPort("ttyACM0", nullptr, nullptr);
  root.AddPort("ttyAMA0", nullptr, nullptr);                   // a Raspberry Pi's own UART
  fs::create_directories(root.path() / "sys/class/tty/tty1");  // a console, no serial port
  root.AddProgram("pptp", "#!/bin/sh\n");
  const std::string dev = root.path().string() + "/dev/";
  std::vector<std::string> found;
  for (const RASDEVINFOA& device : FindDevices(root.path())) {
    found.push_back(std::string(device.szDeviceType) + " " + device.szDeviceName);
  }
  EXPECT_EQ(found, (std::vector<std::string>{"modem " + dev + "ttyACM0", "modem " + dev + "ttyAMA0",
                                             "modem " + dev + "ttyS0",
                                             "modem Acme 56K USB Modem (" + dev + "ttyUSB0)",
                                             std::string("vpn ") + kPptpAdapterName}));
  EXPECT_EQ(DevicePathOf("Acme 56K USB Modem (" + dev + "ttyUSB0)"), dev + "ttyUSB0");
}

// A stand-in pppd that writes the log lines it is given, then ends with the status given.
std::string StandInPppd(const std::vector<const char*>& lines, int status) {
  std::string script = "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/arguments\"\n";
  for (const char* line : lines) {
    script += std::string("echo '") + line + "'\nsleep 0.01\n";
  }
  return script + (status < 0 ? "exec sleep 60\n" : "exit " + std::to_string(status) + "\n");
}

std::vector<RASCONNSTATE> g_states;
std::vector<DWORD> g_errors;
std::atomic<bool> g_ended{false};

void WINAPI Notifier(UINT, RASCONNSTATE state, DWORD error) {
  g_states.push_back(state);
  g_errors.push_back(error);
  g_ended = state == RASCS_Connected || error != 0;
}

TEST(PppdService, DialsThroughPppdInOrderAndHangsUp) {
  const struct {
    const char* what;
    std::vector<const char*> log;
    int status;  // -1: pppd keeps running, connected
    RASCONNSTATE last;
    DWORD error;
  } rows[] = {
      {"connected",
       {"Serial connection established.", "Using interface ppp0", "Connect: ppp0 <--> /dev/ttyS0",
        "PAP authentication succeeded", "local  IP address 10.0.0.2", "remote IP address 10.0.0.1"},
       -1,
       RASCS_Connected,
       0},
      {"no carrier", {"Connect script failed"}, 8, RASCS_ConnectDevice, kErrorNoAnswer},
      {"pppd dies after the modem connected",
       {"Serial connection established."},
       16,
       RASCS_DeviceConnected,
       kErrorPortDisconnected},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CPppRoot root;
    root.AddPort("ttyS0");
    root.AddProgram("pppd", StandInPppd(row.log, row.status));
    RASENTRYA record = Modem(root.path().string() + "/dev/ttyS0");
    ASSERT_EQ(RasSetEntryPropertiesA(nullptr, "Home", &record, sizeof record, nullptr, 0), 0u);
    RASDIALPARAMSA parameters = {};
    parameters.dwSize = sizeof parameters;
    CopyText(parameters.szEntryName, "Home");
    CopyText(parameters.szUserName, "jo");
    g_states.clear();
    g_errors.clear();
    g_ended = false;
    HRASCONN connection = nullptr;
    ASSERT_EQ(
        RasDialA(nullptr, nullptr, &parameters, 0, reinterpret_cast<void*>(&Notifier), &connection),
        0u);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!g_ended && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(g_ended);
    RASCONNSTATUSA status = {};
    status.dwSize = sizeof status;
    EXPECT_EQ(RasGetConnectStatusA(connection, &status), 0u);
    EXPECT_EQ(RasHangUpA(connection), 0u);
    ASSERT_FALSE(g_states.empty());
    // Each state once, in order; a failure comes as the state reached, once more, with the error.
    for (size_t i = 1; i < g_states.size(); ++i) {
      EXPECT_TRUE(g_states[i - 1] < g_states[i] ||
                  (g_states[i - 1] == g_states[i] && g_errors[i] != 0 && i + 1 == g_states.size()))
          << i;
    }
    EXPECT_EQ(g_states.front(), RASCS_OpenPort);
    EXPECT_EQ(g_states.back(), row.last);
    EXPECT_EQ(g_errors.back(), row.error);
    EXPECT_EQ(status.rasconnstate, row.last);
    EXPECT_EQ(test::ReadFileBytes((root.path() / "usr/sbin/arguments").string()),
              "file " + root.Peer("Home") + " nodetach logfd 1 user jo\n");
  }
}

}  // namespace
