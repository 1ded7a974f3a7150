// The tool's files when a writer dies. A writer killed at any step of its replacements (SIGKILL, as
// a crash ends it) leaves the settings file whole: as it was, or as one complete write made it,
// never a part of one.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/run_cases.h"
#include "app/settings_file.h"
#include "framework/text.h"
#include "platform/file_replacement.h"
#include "support/posix/child_process.h"

namespace {

int g_stepsLeft;

// Runs `write` in a child process that is killed at the `stop`-th step of its replacements,
// counted from 1. False when the write was over before that step.
bool KilledAtStep(int stop, const std::function<void()>& write) {
  const pid_t child = fork();
  if (child == 0) {
    g_stepsLeft = stop;
    g_replacementStepFilter = [](ReplacementStep, const char*) {
      if (--g_stepsLeft == 0) {
        raise(SIGKILL);
      }
      return true;
    };
    write();
    _exit(0);
  }
  const int status = test::WaitForChild(child);
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

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
    if (!KilledAtStep(stop, [&] { WriteModemSelection(&device, path.c_str()); })) {
      break;
    }
    EXPECT_THAT(states, testing::Contains(test::ReadFileBytes(path))) << "step " << stop;
  }
  // Five steps for each replacement, every one of them met.
  EXPECT_EQ(stop, 5 * static_cast<int>(states.size() - 1) + 1);
  EXPECT_EQ(test::ReadFileBytes(path), states.back());
}

}  // namespace
