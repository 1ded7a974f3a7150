// A pseudo-terminal for tests: the front end (in the test's own process, or a program the test
// starts) talks to its terminal side as to a person's terminal; the test reads the screen and
// types on the other side. The test keeps the terminal side open as well, so that the terminal
// does not go away between two questions and its settings can be read.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "support/posix/child_process.h"

namespace test {

class PseudoTerminal {
 public:
  explicit PseudoTerminal(unsigned short columns = 80, unsigned short lines = 24) {
    char path[256] = "";
    const winsize size{lines, columns, 0, 0};
    EXPECT_EQ(openpty(&master_, &terminal_, path, nullptr, &size), 0);
    path_ = path;
  }
  ~PseudoTerminal() {
    HangUp();
    close(terminal_);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // The terminal side's device name.
  const std::string& Path() const { return path_; }
  // Everything the terminal has shown so far.
  const std::string& Screen() const { return screen_; }
  tcflag_t LocalModes() const {
    termios settings{};
    tcgetattr(terminal_, &settings);
    return settings.c_lflag;
  }

  void Type(const std::string& keys) {
    EXPECT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }

  // Reads the screen until `text` appears after what earlier waits found; false after 5 s.
  bool WaitFor(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    size_t found;
    while ((found = screen_.find(text, seen_)) == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (!ReadScreen(static_cast<int>(left.count()))) {
        return false;
      }
    }
    seen_ = found + text.size();
    return true;
  }

  // The terminal goes away: a front end still waiting for a key sees the end.
  void HangUp() {
    if (master_ >= 0) {
      close(master_);
      master_ = -1;
    }
  }

  // Starts `arguments[0]` with the others as its arguments, in its own session with this
  // terminal as its controlling terminal and its standard streams, in `directory`, with
  // `environment` added to the test's. Returns the process id.
  pid_t Start(const std::vector<std::string>& arguments, const std::string& directory,
              const std::vector<std::pair<std::string, std::string>>& environment) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
      argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t process = fork();
    if (process == 0) {
      // In the child only async-signal-safe calls until exec, but for setenv, which is safe here
      // since the child has one thread.
      setsid();
      const int terminal = open(path_.c_str(), O_RDWR);  // becomes the controlling terminal
      if (terminal < 0 || chdir(directory.c_str()) != 0) {
        _exit(127);
      }
      for (const int stream : {0, 1, 2}) {
        dup2(terminal, stream);
      }
      for (const auto& [name, value] : environment) {
        setenv(name.c_str(), value.c_str(), 1);
      }
      execv(argv[0], argv.data());
      _exit(127);
    }
    EXPECT_GT(process, 0);
    return process;
  }

  // Waits up to 20 s for the started program to end, reading the screen meanwhile; its exit
  // status, or -1 when it had to be killed or did not exit normally.
  int WaitForExit(pid_t process) {
    const int status = WaitForChild(process, 20, [this] { ReadScreen(50); });
    while (ReadScreen(50)) {
    }
    if (status == -1) {
      ADD_FAILURE() << "its screen:\n" << screen_;
    }
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  bool ReadScreen(int timeoutMilliseconds) {
    pollfd waiting{master_, POLLIN, 0};
    char buffer[512];
    ssize_t count = 0;
    if (timeoutMilliseconds > 0 && poll(&waiting, 1, timeoutMilliseconds) > 0) {
      count = read(master_, buffer, sizeof buffer);
    }
    screen_.append(buffer, count > 0 ? static_cast<size_t>(count) : 0);
    return count > 0;
  }

  int master_ = -1;
  int terminal_ = -1;
  std::string path_;
  std::string screen_;
  size_t seen_ = 0;
};

}  // namespace test
