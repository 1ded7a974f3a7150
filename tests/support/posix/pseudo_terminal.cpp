#include "support/posix/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>

#include "support/posix/child_process.h"

namespace test {

namespace {
using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
}
}  // namespace

PseudoTerminal::PseudoTerminal() {
  char path[256] = "";
  winsize size{24, 80, 0, 0};
  EXPECT_EQ(openpty(&master_, &terminal_, path, nullptr, &size), 0);
  path_ = path;
}

PseudoTerminal::~PseudoTerminal() {
  HangUp();
  close(terminal_);
}

tcflag_t PseudoTerminal::LocalModes() const {
  termios settings{};
  tcgetattr(terminal_, &settings);
  return settings.c_lflag;
}

void PseudoTerminal::Type(const std::string& keys) {
  EXPECT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
}

void PseudoTerminal::Resize(unsigned short columns, unsigned short lines) {
  const winsize size{lines, columns, 0, 0};
  EXPECT_EQ(ioctl(master_, TIOCSWINSZ, &size), 0);
}

bool PseudoTerminal::ReadScreen(int timeoutMilliseconds) {
  pollfd waiting{master_, POLLIN, 0};
  char buffer[512];
  ssize_t count = 0;
  if (timeoutMilliseconds > 0 && poll(&waiting, 1, timeoutMilliseconds) > 0) {
    count = read(master_, buffer, sizeof buffer);
  }
  screen_.append(buffer, count > 0 ? static_cast<size_t>(count) : 0);
  return count > 0;
}

bool PseudoTerminal::WaitFor(const std::string& text) {
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  size_t found;
  while ((found = screen_.find(text, seen_)) == std::string::npos) {
    if (!ReadScreen(MillisecondsLeft(deadline))) {
      return false;
    }
  }
  seen_ = found + text.size();
  return true;
}

void PseudoTerminal::HangUp() {
  if (master_ >= 0) {
    close(master_);
    master_ = -1;
  }
}

pid_t PseudoTerminal::Start(const std::vector<std::string>& arguments, const std::string& directory,
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

int PseudoTerminal::WaitForExit(pid_t process) {
  const int status = WaitForChild(process, 20, [this] { ReadScreen(50); });
  while (ReadScreen(50)) {
  }
  if (status == -1) {
    ADD_FAILURE() << "its screen:\n" << screen_;
  }
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace test
