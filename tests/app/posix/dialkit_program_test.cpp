// The tool's own program, started as a person starts it, over every situation of the run
// (run_cases.h) but the one that needs a service inside the test's process: copied into a
// directory of its own, started by a shell from another directory, with a pseudo-terminal as its
// terminal, against a stand-in system of the test's own. Questions are answered with keys; a quiet
// run leaves the terminal untouched and says on standard error why it fell short, if it did.
//
// DIALKIT_TEST_WRAPPER, when set, names a program and its arguments (separated by blanks) that
// start the tool instead: tools/test-all runs these runs again under valgrind that way, where an
// error or a leak makes the exit status 99, and the ARM builds' tests start it under qemu-user.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/run_cases.h"
#include "support/posix/child_process.h"
#include "support/posix/pseudo_terminal.h"

namespace {

namespace fs = std::filesystem;

// The keys that move `item` places down the dialog's list, then give `command`.
std::string Keys(int command, int item = 0) {
  std::string keys;
  for (int i = 0; i < item; ++i) {
    keys += "\x1b[B";
  }
  return keys + (command == IDOK ? "\r" : "\x1b");
}

TEST(DialkitProgram, PlaysEverySituationOfTheRunThroughTheTerminal) {
  const fs::path builtDirectory = fs::read_symlink("/proc/self/exe").parent_path();
  for (const test::RunCase& c : test::kRunCases) {
    if (c.service == test::Service::kLargeEntries) {
      continue;
    }
    SCOPED_TRACE(c.name);
    const test::RunWorld world(c);
    fs::copy_file(builtDirectory / "dialkit", world.program / "dialkit");
    // The stand-in service in the system directory, where the loader looks second.
    if (c.service == test::Service::kStandIn) {
      fs::copy_file(builtDirectory / "rasapi32.dll.so",
                    world.Root().path() / "system32" / "rasapi32.dll.so");
    }
    // A shell splits the wrapper into its words, and the command line into the program's
    // arguments as a person's shell would. The terminal is the program's, whatever its standard
    // output is.
    test::PlayCase(c, world, [&](const std::string& line, const std::vector<std::string>& shown) {
      test::PseudoTerminal terminal;
      const pid_t process =
          terminal.Start({"/bin/sh", "-fc",
                          "exec $DIALKIT_TEST_WRAPPER \"$0\" " + line + " 2>errors.txt >output.txt",
                          world.ProgramFile("dialkit")},
                         world.start.string(), {{"SystemRoot", world.Root().path().string()}});
      int boxes = 0;
      for (const std::string& event : shown) {
        if (event == test::kDialog) {
          EXPECT_TRUE(terminal.WaitFor("Create Dial Up Networking Object")) << terminal.Screen();
          const auto answer = c.dialogAnswer.value_or(test::DialogAnswer::Cancel());
          terminal.Type(Keys(answer.command, answer.item));
          continue;
        }
        EXPECT_TRUE(terminal.WaitFor(event.substr(event.find(": ") + 2))) << terminal.Screen();
        // The first line of the text: the terminal ends lines its own way.
        const std::string& text = c.firstText;
        if (boxes == 0 && !text.empty()) {
          EXPECT_TRUE(terminal.WaitFor(text.substr(0, text.find('\n')))) << terminal.Screen();
        }
        terminal.Type(Keys(boxes++ == 0 ? c.answer : IDOK));
      }
      // A question left unanswered keeps the program waiting: it does not end.
      const int status = terminal.WaitForExit(process);
      if (line.find(test::kQuiet) != std::string::npos) {
        EXPECT_EQ(terminal.Screen(), "");
        const std::string errors = test::ReadFileBytes((world.start / "errors.txt").string());
        EXPECT_EQ(errors.empty(), status == 0) << errors;
      }
      return test::Played{status, test::ReadFileBytes((world.start / "output.txt").string())};
    });
  }
}

// A script that stopped reading the errors of a quiet run (its pipe closed) still gets the run's
// own status, not a process killed by the broken pipe.
TEST(DialkitProgram, AQuietRunKeepsItsStatusWhenNobodyReadsItsErrors) {
  const test::RunWorld world;  // its system, in the environment
  int errors[2];
  ASSERT_EQ(pipe(errors), 0);
  close(errors[0]);
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGPIPE, SIG_DFL);
    dup2(errors[1], STDERR_FILENO);
    execl("/bin/sh", "sh", "-fc",
          "exec $DIALKIT_TEST_WRAPPER \"$0\" INIT=missing.ini CONNECT=x /quiet",
          (fs::read_symlink("/proc/self/exe").parent_path() / "dialkit").c_str(), nullptr);
    _exit(127);
  }
  close(errors[1]);
  const int status = test::WaitForChild(child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
}

}  // namespace
