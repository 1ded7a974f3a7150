// The Remote Access Service over pppd on made-up system roots, tried as an attacker would, with
// pppd's parser and chat as judges; the device list; dials through a stand-in pppd.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text.h"
#include "entry_fields.h"
#include "peer_secrets.h"
#include "peer_store.h"
#include "peer_words.h"
#include "platform/ras_service.h"
#include "ppp_system.h"
#include "service_answers.h"
#include "service_contract.h"
#include "support/posix/child_process.h"
#include "support/posix/pseudo_terminal.h"
#include "support/test_environment.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

// A system root of the test's own with a blank in its path, named by DIALKIT_PPP_ROOT.
class CPppRoot {
 public:
  CPppRoot() : root_(directory_.path() / "sys root"), named_("DIALKIT_PPP_ROOT", root_.c_str()) {}
  const fs::path& path() const { return root_; }
  std::string Peer(const std::string& file) const { return PeersDirectory(root_) + "/" + file; }
  // A serial port: its sysfs entry and, standing in for its device node, a character device.
  std::string AddPort(const std::string& name, const char* product = nullptr,
                      const char* type = "4") const {
    const fs::path port = root_ / "sys/class/tty" / name;
    fs::create_directories(port / "device");
    fs::create_directories(root_ / "dev");
    for (const auto& [file, text] : {std::pair{"type", type}, {"device/product", product}}) {
      test::WriteFileBytes((port / file).string(), text != nullptr ? text + std::string("\n") : "");
    }
    fs::create_symlink("/dev/null", root_ / "dev" / name);
    return (root_ / "dev" / name).string();
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
  record.dwfOptions = RASEO_ModemLights | RASEO_RemoteDefaultGateway | RASEO_SwCompression |
                      RASEO_UseCountryAndAreaCodes;
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

DWORD Store(const std::string& name, RASENTRYA record) {
  return RasSetEntryPropertiesA(nullptr, name.c_str(), &record, sizeof record, nullptr, 0);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

bool ReadsAs(const std::string& name, const RASENTRYA& expected) {
  RASENTRYA read = DefaultEntryRecord();
  DWORD size = sizeof read;
  return RasGetEntryPropertiesA(nullptr, name.c_str(), &read, &size, nullptr, nullptr) == 0 &&
         std::memcmp(&read, &expected, sizeof read) == 0;
}

// The service's function of this name, linked in, found as a loader finds it in its library.
EntryPoint Linked(const char* name) {
  return reinterpret_cast<EntryPoint>(dlsym(RTLD_DEFAULT, name));
}

// RasDialA for `name`, to its end.
DWORD Dial(const char* name) {
  RASDIALPARAMSA parameters = test::DialParameters(name);
  HRASCONN connection = nullptr;
  return RasDialA(nullptr, nullptr, &parameters, 0, nullptr, &connection);
}

// pppd's own option parser on a peer file, with the plugin recorder armed: 2 is an option error;
// 4 (no PPP in the kernel) and 0 mean the options were taken; 100 more when a plugin was loaded.
// -1 where pppd is not installed or cannot judge as this user.
int PppdJudges(const std::string& peer) {
  if (access("/usr/sbin/pppd", X_OK) != 0 || geteuid() != 0) {
    return -1;
  }
  const std::string record = fs::path(peer).parent_path().parent_path().string() + "/loaded";
  const test::ScopedEnvironmentVariable armed("DIALKIT_PLUGIN_RECORD", record.c_str());
  const int status =
      std::system(("/usr/sbin/pppd file '" + peer + "' dryrun >/dev/null 2>&1").c_str());
  const bool loaded = fs::remove(record);
  return (WIFEXITED(status) ? WEXITSTATUS(status) : -1) + (loaded ? 100 : 0);
}

// Every field: a value is one word of pppd's or refused, what is stored pppd takes without loading
// a plugin, and the same record comes back.
TEST(PppdService, EveryValueIsOneWordOrRefusedAndPppdTakesWhatIsStored) {
  const struct {
    bool vpn;
    std::string name;
    const char* change;  // a line "Key=value" of the record's text; PLUGIN and DEV replaced
    DWORD result;
    const char* line;  // in the peer file
  } rows[] = {
      {false, "Home Dial-Up", "", 0, "\nreplacedefaultroute "},
      {false, "Home Dial-Up", "", 0, "`pon Home-Dial-Up` dials it, `poff Home-Dial-Up` hangs up"},
      {false, "Home", "Options=RequireDataEncryption", 0, "\nrefuse-chap "},
      {false, "Home", "Script=x%0Aplugin PLUGIN", 0, "Script x%0Aplugin"},
      {false, "Home", "DeviceName=Acme%0Aplugin PLUGIN (DEV/ttyS0)", 0, "modem: Acme%0Aplugin"},
      {false, "Home", "AreaCode=6%0Aplugin PLUGIN", 0, "ATDT6p555"},
      {false, "-\"Home\" #1 'x'", "", 0, "\nipparam Home-1-x "},
      {false, "a" + std::string(255, '"'), "", 0, "\nipparam a "},
      {false, "Home", "DeviceName=Evil (/dev/null plugin PLUGIN)", kErrorDeviceDoesNotExist, ""},
      {false, "Home", "DeviceName=DEV/../x", kErrorDeviceDoesNotExist, ""},
      {false, "Home", "DeviceName=DEV/file", kErrorDeviceDoesNotExist, ""},
      {false, "Home", "DeviceName=Standard Modem", kErrorDeviceDoesNotExist, ""},
      {false, "Home", "DeviceName=Modem (DEV/shm/ttyUSB0)", kErrorDeviceDoesNotExist, ""},
      {false, "Home", "DeviceName=Modem (DEV/modem)", kErrorDeviceDoesNotExist, ""},
      {false, "Home", "FramingProtocol=Slip", kErrorNotSupported, ""},
      {true, "Office", "", 0, "pptp' vpn.example.com --nolaunchpppd\""},
      {true, "Office", "LocalPhoneNumber=v%0Aplugin PLUGIN", ERROR_INVALID_PARAMETER, ""},
      {true, "Office", "LocalPhoneNumber=--version", ERROR_INVALID_PARAMETER, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name + ": " + row.change);
    const CPppRoot root;
    const std::string dev = fs::path(root.AddPort("ttyS0")).parent_path().string();
    test::WriteFileBytes(dev + "/file", "");
    fs::create_directories(dev + "/shm");  // which every user may write
    fs::permissions(dev + "/shm", fs::perms(01777));
    fs::create_symlink("/dev/null", dev + "/modem");  // a character device, but no serial port
    // The plugin recorder, copied beside the root: its build path may be too long for the
    // 128-byte device name that carries it.
    const std::string plugin = (root.path().parent_path() / "p.so").string();
    fs::copy_file(DIALKIT_PLUGIN_RECORDER, plugin);
    RASENTRYA record = row.vpn ? Vpn() : Modem(dev + "/ttyS0");
    size_t next = 0;
    ReadStoredLine(&record, Replaced(Replaced(row.change, "PLUGIN", plugin), "DEV", dev), &next);
    ASSERT_EQ(Store(row.name, record), row.result);
    const std::vector<std::string> files = ListPeerFiles(root.path());
    ASSERT_EQ(files.size(), row.result == 0 ? 1u : 0u);
    if (row.result == 0) {
      const std::string peer = test::ReadFileBytes(root.Peer(files[0]));
      EXPECT_NE(peer.find(row.line), std::string::npos) << peer;
      EXPECT_TRUE(ReadsAs(row.name, record));
      const int judged = PppdJudges(root.Peer(files[0]));
      EXPECT_TRUE(judged == -1 || judged == 0 || judged == 4) << "pppd ended with " << judged;
      // The judge itself: a plugin in a peer file is seen.
      test::WriteFileBytes(root.Peer(files[0]), peer + "plugin " + plugin + "\n");
      EXPECT_TRUE(judged == -1 || PppdJudges(root.Peer(files[0])) >= 100);
    }
  }
}

// The dialogue in the peer file's connect option dials the record's number through the real chat
// program, with a modem played on a pseudo-terminal that answers AT commands.
TEST(PppdService, TheConnectOptionDialsTheRecordsNumber) {
  if (access("/usr/sbin/chat", X_OK) != 0) {
    GTEST_SKIP() << "chat is not installed";
  }
  const CPppRoot root;
  root.AddProgram("chat", "#!/bin/sh\nexec /usr/sbin/chat \"$@\"\n");
  ASSERT_EQ(Store("Home", Modem(root.AddPort("ttyS0"))), 0u);
  const std::string peer = test::ReadFileBytes(root.Peer("Home"));
  std::string command;
  for (size_t at = peer.find("\nconnect \"") + 10; peer[at] != '"'; ++at) {
    command += peer[at += peer[at] == '\\' ? 1 : 0];
  }
  test::PseudoTerminal modem;
  const pid_t chat = modem.Start({"/bin/sh", "-c", command}, "/", {});
  EXPECT_TRUE(modem.WaitFor("ATZ\r"));
  modem.Type("\r\nOK\r\n");
  EXPECT_TRUE(modem.WaitFor("ATDT6175550142\r"));
  modem.Type("\r\nCONNECT 33600\r\n");
  EXPECT_EQ(modem.WaitForExit(chat), 0);
}

// The platform's refusals, and every name no peer file can have refused; no file outside its folder
// is touched, not even through a link in it, which is an entry of its own. The peers folder is made
// as Debian keeps it, also after a crash while it was made, and refused, for changes and dials,
// where others may write it.
TEST(PppdService, WhatTheSystemOwnsStaysTheSystems) {
  const CPppRoot root;
  const std::string port = root.AddPort("ttyS0");
  fs::create_directories(root.path() / "etc/ppp/.dialkit-peers");  // left by a crash
  const fs::path secret = root.path() / "etc/ppp/secret";
  test::WriteFileBytes(secret.string(), "secret\n");
  fs::permissions(secret, fs::perms(0600));
  ASSERT_EQ(Store("Work", Modem(port)), 0u);
  test::ExpectThePlatformsRefusals(Linked);
  const std::string longest(256, 'a');
  for (const char* name : {"../secret", "..", ".hidden", "\xE2\x82\xAC", "a\nb", longest.c_str()}) {
    EXPECT_EQ(RasValidateEntryNameA(nullptr, name), 123u) << name;
  }
  fs::create_symlink(secret, root.Peer("Link"));
  EXPECT_TRUE(ReadsAs("Link", DefaultEntryRecord()));  // a new entry's record
  EXPECT_EQ(Store("Link", Modem(port)), 0u);
  EXPECT_EQ(RasDeleteEntryA(nullptr, "Link"), 0u);
  EXPECT_EQ(test::ReadFileBytes(secret.string()), "secret\n");
  EXPECT_EQ(fs::status(secret).permissions(), fs::perms(0600));
  EXPECT_EQ(std::distance(fs::directory_iterator(root.path() / "etc/ppp"), {}), 2);
  const std::string peers = PeersDirectory(root.path());
  struct stat folder;
  ASSERT_EQ(stat(peers.c_str(), &folder), 0);
  EXPECT_EQ(folder.st_mode & 07777, 02750u);
  EXPECT_TRUE(geteuid() != 0 || DialersGroup() == gid_t(-1) || folder.st_gid == DialersGroup());
  // Writable by a user through an ACL, which the mode shows as dip's group write; by others; by a
  // group other than dip; or refused to this user. A peer file others may write is a person's.
  const uint32_t acl[] = {2, 0x70001, ~0u, 0x70002, 65534, 0x50004, ~0u, 0x70010, ~0u, 0x20, ~0u};
  if (setxattr(peers.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) == 0) {
    EXPECT_EQ(Store("Home", Modem(port)), kErrorAccessDenied);
    removexattr(peers.c_str(), "system.posix_acl_access");
  }
  EXPECT_TRUE(geteuid() != 0 || chown(peers.c_str(), 0, 0) == 0);
  for (const mode_t mode : {02757, 02770}) {
    chmod(peers.c_str(), mode);
    EXPECT_EQ(Store("Home", Modem(port)), kErrorAccessDenied) << mode;
    EXPECT_EQ(Dial("Work"), kErrorAccessDenied) << mode;
  }
  chmod(peers.c_str(), 0755);
  chmod(root.Peer("Work").c_str(), 0646);
  EXPECT_TRUE(ReadsAs("Work", DefaultEntryRecord()));
  EXPECT_EQ(Dial("Work"), kErrorAccessDenied);
  const pid_t child = fork();
  if (child == 0) {
    _exit(geteuid() == 0 && setuid(65534) != 0 ? 2 : Store("Home", Modem(port)));
  }
  EXPECT_EQ(test::WaitForChild(child), kErrorAccessDenied << 8);
  EXPECT_EQ(ListPeerFiles(root.path()), std::vector<std::string>{"Work"});
}

// What pppd reads is the old peer or the new one, never a mix: two processes storing at once each
// store whole, and what a store stopped between its steps left the next store removes.
TEST(PppdService, ThePeerSwitchesWholeWhenAStoreStopsOrTwoRunAtOnce) {
  const CPppRoot root;
  const std::string port = root.AddPort("ttyS0");
  ASSERT_EQ(Store("Home", Modem(port)), 0u);
  {
    CPeersFolder stopped;  // and left without its second step
    std::string temporary;
    ASSERT_EQ(stopped.Open(root.path()) | stopped.WriteTemporary("plugin x\n", &temporary), 0u);
  }
  // Whoever may read the folder may lock it (the test does), which must hold up no store.
  const int folder = open(PeersDirectory(root.path()).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(flock(folder, LOCK_SH), 0);
  pid_t storers[2];
  RASENTRYA records[2] = {Modem(port), Modem(port)};
  for (int i = 0; i < 2; ++i) {
    CopyText(records[i].szLocalPhoneNumber, i == 0 ? "111" : "222");
    if ((storers[i] = fork()) == 0) {
      int failures = 0;
      for (int store = 0; store < 30; ++store) {
        failures += Store("Home", records[i]) != 0 ? 1 : 0;
      }
      _exit(failures);
    }
  }
  EXPECT_EQ(test::WaitForChild(storers[0]) | test::WaitForChild(storers[1]), 0);
  close(folder);
  EXPECT_TRUE(ReadsAs("Home", records[0]) || ReadsAs("Home", records[1]));
  // The peer and the lock, no temporary file.
  EXPECT_EQ(std::distance(fs::directory_iterator(PeersDirectory(root.path())), {}), 2);
}

// A peer file of the service's own reads back as its record, whatever the state of its port, with
// the lines a person added kept through a rename, which finishes when tried again after it
// stopped; one whose record lines were doubled is a person's own: an existing entry, still under
// its name, with a new entry's record, which the tool asks to overwrite. (A file changed or cut
// off otherwise is the peer file fuzz target's.)
TEST(PppdService, WhatIsReadBackIsWhatIsDialled) {
  const std::string added = "show\nuser \"bob@isp\"\npersist\nmaxfail 0 # forever\n";
  const struct {
    const char* what;
    bool ours;
    std::string from, to;  // replaced in the peer file
  } rows[] = {
      {"lines a person added", true, "show\n", added},
      {"CR LF line ends", true, "\n", "\r\n"},
      {"a doubled record line", false, "#: Alt", "#: LocalPhoneNumber=9\n#: Alt"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CPppRoot root;
    const std::string port = root.AddPort("ttyS0");
    const RASENTRYA stored = Modem(port);
    ASSERT_EQ(Store("Home Dial-Up", stored), 0u);
    const std::string file = root.Peer("Home-Dial-Up");
    const std::string peer = Replaced(test::ReadFileBytes(file), row.from, row.to);
    test::WriteFileBytes(file, peer);
    fs::remove(port);
    fs::create_symlink(port + "-unplugged", port);
    EXPECT_TRUE(ReadsAs("Home Dial-Up", row.ours ? stored : DefaultEntryRecord()));
    EXPECT_EQ(RasValidateEntryNameA(nullptr, "home dial-up"), 183u);  // the name is in use
    if (row.ours) {
      EXPECT_EQ(RasRenameEntryA(nullptr, "Home Dial-Up", "Work"), 0u);
      test::WriteFileBytes(file, peer);  // as if the rename stopped before it removed the file
      EXPECT_EQ(RasRenameEntryA(nullptr, "Home Dial-Up", "Work"), 0u);
      EXPECT_EQ(ListPeerFiles(root.path()), std::vector<std::string>{"Work"});
      EXPECT_EQ(test::ReadFileBytes(root.Peer("Work")).find(added) != std::string::npos,
                row.to == added);
      EXPECT_TRUE(ReadsAs("Work", stored));
      fs::remove(port);
      fs::create_symlink("/dev/null", port);
      const int judged = PppdJudges(root.Peer("Work"));
      EXPECT_TRUE(judged == -1 || judged == 0 || judged == 4) << "pppd ended with " << judged;
    }
  }
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
  std::string found;
  for (const RASDEVINFOA& device : FindDevices(root.path())) {
    found += std::string(device.szDeviceType) + " " + device.szDeviceName + "\n";
  }
  EXPECT_EQ(Replaced(found, root.path().string(), "ROOT"),
            "modem ROOT/dev/ttyACM0\nmodem ROOT/dev/ttyAMA0\nmodem ROOT/dev/ttyS0\n"
            "modem Acme 56K USB Modem (ROOT/dev/ttyUSB0)\nvpn PPTP (pptp-linux)\n");
}

// Each state once, in order; a failure comes as the state reached, once more, with the error.
TEST(PppdService, DialsThroughPppdInOrderAndHangsUp) {
  const struct {
    const char* what;
    const char* end;  // of the stand-in pppd, once it has written its log
    const char* steps;
    const char* log;
  } rows[] = {
      {"connected", "exec sleep 60", "0/0 1/0 2/0 3/0 4/0 5/0 14/0 18/0 8192/0 | 8192/0 ",
       "Serial connection established.\nUsing interface ppp0\nConnect: ppp0 <--> /dev/ttyS0\n"
       "PAP authentication succeeded\nlocal  IP address 10.0.0.2\nremote IP address 10.0.0.1"},
      {"no carrier", "exit 8", "0/0 1/0 2/0 2/678 | 2/678 ", "Connect script failed"},
      {"pppd dies after the modem connected", "exit 16", "0/0 1/0 2/0 3/0 3/628 | 3/628 ",
       "Serial connection established."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const CPppRoot root;
    // A stand-in pppd: it notes its arguments, writes the log a line at a time, then ends.
    root.AddProgram("pppd", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/arguments\"\nprintf '" +
                                std::string(row.log) +
                                "\\n' | while read -r line; do echo \"$line\"; sleep 0.01; done\n" +
                                row.end + "\n");
    const std::string port = root.AddPort("ttyS0");
    ASSERT_EQ(Store("Home", Modem(port)), 0u);
    EXPECT_EQ(test::DialAndHangUp(Linked, "Home", 0), row.steps + port);
    EXPECT_EQ(test::ReadFileBytes((root.path() / "usr/sbin/arguments").string()),
              "file " + root.Peer("Home") + " nodetach logfd 1 user jo\n");
  }
}

}  // namespace

namespace {

// A line of a secrets file as pppd's lexer reads it into words: blanks part words, double
// quotes group them, a backslash takes the next character or three octal digits.
std::vector<std::string> LexedWords(const std::string& line) {
  std::vector<std::string> words;
  for (size_t at = 0; at < line.size();) {
    if (line[at] == ' ') {
      ++at;
      continue;
    }
    std::string word;
    bool quoted = false;
    for (; at < line.size() && (quoted || line[at] != ' '); ++at) {
      if (line[at] == '"') {
        quoted = !quoted;
      } else if (line[at] == '\\' && std::isdigit(static_cast<unsigned char>(line[at + 1]))) {
        word += static_cast<char>(std::stoi(line.substr(at + 1, 3), nullptr, 8));
        at += 3;
      } else {
        word += line[at] == '\\' ? line[++at] : line[at];
      }
    }
    words.push_back(word);
  }
  return words;
}

DWORD SetCredentials(const char* user, const char* password, DWORD mask) {
  RASCREDENTIALSA credentials = {sizeof credentials, mask, {}, {}, {}};
  CopyText(credentials.szUserName, user);
  CopyText(credentials.szPassword, password);
  return RasSetCredentialsA(nullptr, "Home", &credentials, 0);
}

}  // namespace

// The password goes onto a marked line first in each secrets file, as one word pppd reads back
// whole, or is refused; a person's lines stay as they were and go on after it, and the peer
// names the user and its own remote name, which pppd takes. Removing the entry removes its lines.
TEST(PppdService, CredentialsTakeLinesOfTheirOwnThatNoPersonsLineShadows) {
  const struct {
    const char* user;
    const char* password;
    DWORD mask;
    DWORD result;
  } rows[] = {
      {"jo", "plain", RASCM_UserName | RASCM_Password, 0},
      {"Jo Smith", "pa\"ss\\word #1\nplugin x", RASCM_UserName | RASCM_Password, 0},
      {"jo", "@/etc/shadow", RASCM_UserName | RASCM_Password, ERROR_INVALID_PARAMETER},
      {"*", "any", RASCM_UserName | RASCM_Password, ERROR_INVALID_PARAMETER},
      {"jo\"\nplugin x", "p", RASCM_UserName | RASCM_Password, ERROR_INVALID_PARAMETER},
      {"jo", "p", RASCM_UserName | RASCM_Password | RASCM_Domain, 0},
      {"jo", "key", RASCM_PreSharedKey, kErrorNotSupported},
  };
  const std::string persons = "# mine\njo Home other\n* * fallback\n";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.user + std::string(" ") + row.password);
    const CPppRoot root;
    const RASENTRYA record = Modem(root.AddPort("ttyS0"));
    ASSERT_EQ(Store("Home", record), 0u);
    const std::string chap = (root.path() / "etc/ppp/chap-secrets").string();
    test::WriteFileBytes(chap, persons);
    ASSERT_EQ(SetCredentials(row.user, row.password, row.mask), row.result);
    const std::string peer = test::ReadFileBytes(root.Peer("Home"));
    if (row.result != 0) {
      EXPECT_EQ(test::ReadFileBytes(chap), persons);
      continue;
    }
    ASSERT_EQ(RemovePeerSecrets(root.path().string(), "Home"), 0u);  // a deletion gone stale
    for (const char* file : {"chap-secrets", "pap-secrets"}) {
      const std::string path = (root.path() / "etc/ppp" / file).string();
      const std::string text = test::ReadFileBytes(path);
      ASSERT_EQ(text.rfind("# dialkit: the secret of the peer Home\n", 0), 0u) << text;
      const size_t second = text.find('\n') + 1;
      const size_t third = text.find('\n', second) + 1;
      EXPECT_EQ(LexedWords(text.substr(second, third - second - 1)),
                (std::vector<std::string>{row.user, "Home", row.password}));
      EXPECT_EQ(text.substr(third), file == std::string("chap-secrets") ? persons : "");
      EXPECT_EQ(fs::status(path).permissions(), fs::perms(0600));
    }
    EXPECT_NE(peer.find("\nuser " + PppWord(row.user) + "\nremotename Home\n"), std::string::npos)
        << peer;
    EXPECT_TRUE(ReadsAs("Home", record));
    const int judged = PppdJudges(root.Peer("Home"));
    EXPECT_TRUE(judged == -1 || judged == 0 || judged == 4) << "pppd ended with " << judged;
    ASSERT_EQ(RasDeleteEntryA(nullptr, "Home"), 0u);
    EXPECT_EQ(test::ReadFileBytes(chap), persons);
  }
}

// A mark whose line a person took away leaves the person's next line where it is, to its last
// byte, a line end it lacks too.
TEST(PppdService, AMarkWithoutItsLineTakesNoPersonsLine) {
  for (const std::string next : {"# ours is gone\n", "jo Work x"}) {
    EXPECT_EQ(WithOwnSecret(kSecretMark + std::string("Home\n") + next, "Home", ""), next);
  }
}

// A dial reads the peer, which names the user whose secret the tool stored.
TEST(PppdService, ADialSeesTheUserNameAndItsSecret) {
  const CPppRoot root;
  root.AddProgram("pppd",
                  "#!/bin/sh\ngrep -E '^(user|remotename) ' \"$2\" > \"$(dirname "
                  "\"$0\")/seen\"\ngrep -c '^jo Home plain$' \"$(dirname \"$0\")/../../"
                  "etc/ppp/chap-secrets\" >> \"$(dirname \"$0\")/seen\"\nexit 16\n");
  ASSERT_EQ(Store("Home", Modem(root.AddPort("ttyS0"))), 0u);
  RASCREDENTIALSA credentials = {
      sizeof credentials, RASCM_UserName | RASCM_Password, "jo", "plain", {}};
  ASSERT_EQ(RasSetCredentialsA(nullptr, "Home", &credentials, 0), 0u);
  test::DialAndHangUp(Linked, "Home", 0);
  EXPECT_EQ(test::ReadFileBytes((root.path() / "usr/sbin/seen").string()),
            "user jo\nremotename Home\n1\n");
  // Renamed, it keeps its secret until its credentials are set again, under its new name.
  ASSERT_EQ(RasRenameEntryA(nullptr, "Home", "Work"), 0u);
  ASSERT_EQ(RasSetCredentialsA(nullptr, "Work", &credentials, 0), 0u);
  EXPECT_EQ(test::ReadFileBytes((root.path() / "etc/ppp/pap-secrets").string()),
            "# dialkit: the secret of the peer Work\njo Work plain\n");
}

// PPTP is the one tunnel here: a strategy that tries it at all is kept and read back at Windows
// 2000's size, which a shorter store leaves as it was; one that excludes it writes nothing. pppd
// takes the peer of a fallback.
TEST(PppdService, KeepsAStrategyThatTriesPptpAndRefusesOneThatExcludesIt) {
  const struct {
    DWORD strategy;
    DWORD answer;
  } rows[] = {{VS_PptpFirst, 0}, {VS_Ikev2First, 0}, {VS_L2tpOnly, 50}, {VS_Ikev2Only, 50}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.strategy);
    const CPppRoot root;
    constexpr DWORD kSize = offsetof(LongEntryRecord, dwfOptions2);
    LongEntryRecord record = {};
    record.base = Vpn();
    record.base.dwSize = kSize;
    record.dwVpnStrategy = row.strategy;
    ASSERT_EQ(RasSetEntryPropertiesA(nullptr, "Office", &record.base, kSize, nullptr, 0),
              row.answer);
    EXPECT_EQ(fs::exists(root.Peer("Office")), row.answer == 0);
    if (row.answer != 0) {
      continue;
    }
    ASSERT_EQ(Store("Office", Vpn()), 0u);
    LongEntryRecord read = {};
    read.base.dwSize = kSize;
    DWORD size = kSize;
    ASSERT_EQ(RasGetEntryPropertiesA(nullptr, "Office", &read.base, &size, nullptr, nullptr), 0u);
    EXPECT_EQ(read.dwVpnStrategy, row.strategy);
    const int judged = PppdJudges(root.Peer("Office"));
    EXPECT_TRUE(judged == -1 || judged == 0 || judged == 4) << "pppd ended with " << judged;
  }
}
