// The tool's files when their writer dies or they are odd, each write or run in a child process
// that the kernel ends after 20 seconds and that may map only so much more than it had.
//
// A writer killed at any step of its replacements (SIGKILL, as a crash ends it) leaves the
// settings file whole: as it was, or as one complete write made it, never a part of one.
//
// A whole run whose entry description file, settings file or log is no regular file (a FIFO that
// nobody opens, the endless /dev/zero) or is one of many short lines ends within 32 MiB more (and
// the file's size) and goes on as for a file it cannot read, which it leaves as it was; a settings
// file it cannot write costs it nothing and is not told of. A quiet run that gets too little
// memory ends with its own status and says so in its log.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/run_cases.h"
#include "app/settings_file.h"
#include "base/text.h"
#include "platform/file_replacement.h"
#include "resource.h"
#include "support/posix/child_process.h"
#include "support/scripted_window_system.h"

namespace {

namespace fs = std::filesystem;

enum class Kind { kFifo, kEndless, kShortLines };

constexpr size_t kShortLinesSize = 4 << 20;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// What the run stores when it cannot read the file: an entry description of defaults without a
// VPN section; for a settings file without a device, the second device, picked in the dialog that
// asks; for a log, both entries. (The default profile is read by the same profile functions.)
const std::vector<std::string> kMainOnly = {"My ISP: Acme 56k Voice"};
const std::vector<std::string> kPicked = {"My ISP: Standard 28800 bps Modem",
                                          "My VPN: WAN Miniport (PPTP)"};
const std::vector<std::string> kBoth = {"My ISP: Acme 56k Voice", "My VPN: WAN Miniport (PPTP)"};

const struct {
  const char* file;  // in the world's root
  Kind kind;
  const std::vector<std::string>& stored;
} kRows[] = {
    {"Program Files/DIALKIT/isp.ini", Kind::kFifo, kMainOnly},
    {"Program Files/DIALKIT/isp.ini", Kind::kEndless, kMainOnly},
    {"Program Files/DIALKIT/isp.ini", Kind::kShortLines, kMainOnly},
    {"Program Files/DIALKIT/dialkit.ini", Kind::kFifo, kPicked},
    {"Program Files/DIALKIT/dialkit.ini", Kind::kEndless, kPicked},
    {"elsewhere/run.log", Kind::kFifo, kBoth},
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
// bytes more than it has (not under the sanitizers, which map their own way). Empty when the child
// ran to its end without a failed check, else how it ended: "exit 1" after a failed check, "exit
// 2" after an exception (out of memory?), the status it chose, or "signal N".
std::string RunLimited(size_t room, const std::function<void()>& body) {
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
  if (WIFSIGNALED(status)) {
    return WTERMSIG(status) == SIGALRM ? "past the deadline"
                                       : "signal " + std::to_string(WTERMSIG(status));
  }
  return WEXITSTATUS(status) == 0 ? "" : "exit " + std::to_string(WEXITSTATUS(status));
}

int g_stepsLeft;

// The settings file is written key by key, as the profile functions write it: the type, then the
// name, each by a replacement of the whole file; its other sections stay. (The stand-in phone book
// is replaced by the same function.)
TEST(CrashSafety, ASettingsFileWriterKilledAtAnyStepLeavesTheFileWhole) {
  // A type that fills its field without a terminator: its own 16 characters are written, not the
  // name behind them.
  RASENTRYA device = {};
  std::memset(device.szDeviceType, 't', sizeof device.szDeviceType);
  CopyText(device.szDeviceName, "ISDN Line");
  const std::string type =
      "[Libraries]\nUseAltras=1\n[Modem Selection]\nDeviceType=tttttttttttttttt\n";
  const std::vector<std::string> states = {
      std::string("[Libraries]\nUseAltras=1\n") + test::kRemembered,
      type + "DeviceName=Acme 56k Voice\n", type + "DeviceName=ISDN Line\n"};
  test::ScopedTempDirectory folder;
  const std::string path = folder.File("dialkit.ini");
  int stop = 1;
  for (;; ++stop) {
    test::WriteFileBytes(path, states.front());
    const std::string end = RunLimited(32 << 20, [&] {
      g_stepsLeft = stop;
      g_replacementStepFilter = [](ReplacementStep, const char*) {
        if (--g_stepsLeft == 0) {
          raise(SIGKILL);
        }
        return true;
      };
      WriteModemSelection(&device, path.c_str());
    });
    if (end != "signal " + std::to_string(SIGKILL)) {
      break;
    }
    EXPECT_THAT(states, testing::Contains(test::ReadFileBytes(path))) << "step " << stop;
  }
  // Five steps for each replacement, every one of them met.
  EXPECT_EQ(stop, 5 * static_cast<int>(states.size() - 1) + 1);
  EXPECT_EQ(test::ReadFileBytes(path), states.back());
}

TEST(OddProfileFiles, ARunEndsWithinBoundsAndLeavesThemAsTheyWere) {
  for (const auto& row : kRows) {
    SCOPED_TRACE(testing::Message() << row.file << " " << static_cast<int>(row.kind));
    const test::RunWorld world;
    const std::string path = world.Root().File(row.file);
    MakeOddFile(path, row.kind);
    const fs::file_status before = fs::symlink_status(path);
    const size_t room = (32 << 20) + (row.kind == Kind::kShortLines ? kShortLinesSize : 0);
    const auto run = [&] {
      test::ScriptedWindowSystem ui;
      ui.AnswerDialogs({test::DialogAnswer::Pick(IDC_MODEM_LIST, 1)});
      test::PlayInProcess(world, test::kTypicalLine + " /log:run.log");
      EXPECT_EQ(ui.Events(), std::vector<std::string>(row.stored == kPicked, test::kDialog));
      EXPECT_EQ(test::StoredEntries(world.PhoneBookPath()), row.stored);
    };
    EXPECT_EQ(RunLimited(room, run), "");
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
  const test::RunWorld world;
  // A file larger than anything the process has held, with far less room than that: reading it
  // needs more memory than there is. Sparse, so that it costs no disk.
  fs::resize_file(world.ProgramFile("isp.ini"), 64 << 20);
  EXPECT_EQ(
      RunLimited(1 << 20, [&] { test::PlayInProcess(world, test::kTypicalLine + test::kQuiet); }),
      "exit 8");
  test::ExpectLog({.status = 8, .log = {"the run cannot go on: memory ran out"}}, world);
}

}  // namespace
