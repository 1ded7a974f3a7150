// A whole run whose entry description file, settings file, default profile or log is no regular
// file (a FIFO that nobody opens, the endless /dev/zero) or is one of many short lines. Each run
// goes in a child process that the kernel ends after 20 seconds and that may take no more address
// space than it had plus the file's size and 32 MiB: the run must end within both, and go on as
// for a file it cannot read, which it leaves as it was. A quiet run that gets too little memory
// ends with its own status and says so in its log.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/provision_app.h"
#include "app/run_cases.h"
#include "resource.h"
#include "support/posix/child_process.h"
#include "support/scripted_window_system.h"

namespace {

namespace fs = std::filesystem;

enum class Place { kEntryFile, kSettingsFile, kDefaultProfile, kLog };
enum class Kind { kFifo, kEndless, kShortLines };

constexpr size_t kShortLinesSize = 4 << 20;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// What the run stores when it cannot read the file: an entry description of defaults without a
// VPN section; a settings file without a device, so that the dialog asks (and the second device
// is picked); a default profile without the library switch.
const std::vector<std::string> kMainOnly = {"My ISP: Acme 56k Voice"};
const std::vector<std::string> kPicked = {"My ISP: Standard 28800 bps Modem",
                                          "My VPN: WAN Miniport (PPTP)"};
const std::vector<std::string> kBoth = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"};

struct OddFileRow {
  const char* what;
  Place place;
  Kind kind;
  const std::vector<std::string>& stored;
};

const OddFileRow kRows[] = {
    {"a FIFO as INIT", Place::kEntryFile, Kind::kFifo, kMainOnly},
    {"/dev/zero as INIT", Place::kEntryFile, Kind::kEndless, kMainOnly},
    {"4 MiB of two-byte lines as INIT", Place::kEntryFile, Kind::kShortLines, kMainOnly},
    {"a FIFO as dialkit.ini", Place::kSettingsFile, Kind::kFifo, kPicked},
    {"/dev/zero as dialkit.ini", Place::kSettingsFile, Kind::kEndless, kPicked},
    {"a FIFO as win.ini", Place::kDefaultProfile, Kind::kFifo, kBoth},
    {"/dev/zero as win.ini", Place::kDefaultProfile, Kind::kEndless, kBoth},
    {"a FIFO as the log", Place::kLog, Kind::kFifo, kBoth},
    {"/dev/zero as the log", Place::kLog, Kind::kEndless, kBoth},
};

void MakeOddFile(const std::string& path, Kind kind) {
  fs::remove(path);
  if (kind == Kind::kFifo) {
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  } else if (kind == Kind::kEndless) {
    fs::create_symlink("/dev/zero", path);
  } else {
    std::string lines(kShortLinesSize, '\n');
    for (size_t i = 0; i < lines.size(); i += 2) {
      lines[i] = 'k';
    }
    test::WriteFileBytes(path, lines);
    // Written long ago, as such a file would be: it is then taken apart once for the run.
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
}

size_t AddressSpace() {
  std::ifstream statm("/proc/self/statm");
  size_t pages = 0;
  statm >> pages;
  return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// Runs `body` in a child process that the kernel ends after 20 seconds and that may map `room`
// bytes more than it has (not under the sanitizers, which map their own way). Answers the
// child's wait status: exit 0 when it ran to its end without a failed check, 1 after a failed
// check, 2 after an exception.
int RunLimited(size_t room, const std::function<void()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(20);
    if (!kSanitized) {
      rlimit limit;
      getrlimit(RLIMIT_AS, &limit);
      limit.rlim_cur = AddressSpace() + room;
      setrlimit(RLIMIT_AS, &limit);
    }
    int status = 2;
    try {
      body();
      status = testing::Test::HasFailure() ? 1 : 0;
    } catch (...) {
    }
    _exit(status);
  }
  const int status = test::WaitForChild(child);
  return status;
}

// Empty when the child of RunLimited ran to its end without a failed check, else what went
// wrong.
std::string RunWithinBounds(size_t room, const std::function<void()>& body) {
  const int status = RunLimited(room, body);
  if (WIFSIGNALED(status)) {
    return WTERMSIG(status) == SIGALRM ? "past the deadline" : "ended by a signal";
  }
  const int code = WEXITSTATUS(status);
  return code == 0 ? "" : code == 1 ? "a check failed" : "an exception: out of memory?";
}

TEST(OddProfileFiles, ARunEndsWithinBoundsAndLeavesThemAsTheyWere) {
  for (const OddFileRow& row : kRows) {
    SCOPED_TRACE(row.what);
    test::RunWorld world(test::kTypicalDevices, test::kRemembered, {}, nullptr);
    const std::string path = row.place == Place::kEntryFile      ? world.ProgramFile("odd.ini")
                             : row.place == Place::kSettingsFile ? world.ProgramFile("dialkit.ini")
                             : row.place == Place::kLog ? (world.start / "run.log").string()
                                                        : world.Root().File("win.ini");
    if (row.place != Place::kEntryFile) {
      test::WriteFileBytes(world.ProgramFile("odd.ini"), test::kDescriptions);
    }
    MakeOddFile(path, row.kind);
    const fs::file_status before = fs::symlink_status(path);
    const size_t room = (32 << 20) + (row.kind == Kind::kShortLines ? kShortLinesSize : 0);

    const auto run = [&] {
      test::ScriptedWindowSystem ui;
      ui.AnswerDialogs({test::DialogAnswer::Pick(IDC_MODEM_LIST, 1)});
      g_entryFilePath[0] = g_mainEntryName[0] = g_vpnEntryName[0] = '\0';
      test::ScopedCurrentDirectory start(world.start);
      CProvisionApp application;
      RunApplication(row.place == Place::kLog
                         ? "INIT=odd.ini CONNECT=\"My ISP\" VPN=\"My VPN\" /log:run.log"
                         : "INIT=odd.ini CONNECT=\"My ISP\" VPN=\"My VPN\"",
                     world.ProgramFile("dialkit").c_str());
      EXPECT_EQ(ui.Events(),
                std::vector<std::string>(row.place == Place::kSettingsFile, test::kDialog));
      EXPECT_EQ(test::StoredEntries(world.PhoneBookPath()), row.stored);
    };
    EXPECT_EQ(RunWithinBounds(room, run), "");
    EXPECT_EQ(fs::symlink_status(path).type(), before.type());
  }
}

TEST(OddProfileFiles, AQuietRunOutOfMemoryEndsWithItsOwnStatusAndSaysSo) {
  if (kSanitized) {
    GTEST_SKIP() << "the sanitizers' allocators end the process their own way";
  }
#ifdef DIALKIT_TESTS_EMULATED
  GTEST_SKIP() << "qemu-user keeps a limit on the address space to itself";
#endif
  test::RunWorld world(test::kTypicalDevices, test::kRemembered, {}, nullptr);
  // A file larger than anything the process has held, with far less room than that: reading it
  // needs more memory than there is. Sparse, so that it costs no disk.
  test::WriteFileBytes(world.ProgramFile("odd.ini"), "");
  fs::resize_file(world.ProgramFile("odd.ini"), 64 << 20);
  const int status = RunLimited(1 << 20, [&] {
    test::ScopedCurrentDirectory start(world.start);
    CProvisionApp application;
    RunApplication("INIT=odd.ini CONNECT=\"My ISP\" /quiet /log:run.log",
                   world.ProgramFile("dialkit").c_str());
  });
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kRunOutOfMemory) << status;
  const std::string log = test::ReadFileBytes((world.start / "run.log").string());
  EXPECT_NE(log.find(" the run cannot go on: memory ran out\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" exit 8\n"), std::string::npos) << log;
}

}  // namespace
