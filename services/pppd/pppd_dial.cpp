// A dial through pppd: starting it, following its log through the dial states, hanging up.
#include "pppd_dial.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "base/secret_buffer.h"
#include "ppp_system.h"
#include "service_answers.h"

namespace {

// The states of a dial through pppd, in order.
constexpr RASCONNSTATE kStates[] = {
    RASCS_OpenPort,        RASCS_PortOpened,          RASCS_ConnectDevice,
    RASCS_DeviceConnected, RASCS_AllDevicesConnected, RASCS_Authenticate,
    RASCS_Authenticated,   RASCS_Projected,           RASCS_Connected,
};
constexpr size_t kStateCount = sizeof kStates / sizeof kStates[0];

size_t IndexOf(RASCONNSTATE state) {
  for (size_t i = 0; i < kStateCount; ++i) {
    if (kStates[i] == state) {
      return i;
    }
  }
  return 0;
}

constexpr auto kPatienceAfterSigterm = std::chrono::seconds(5);

class CPppdDial final : public CDialProgress {
 public:
  CPppdDial(std::string program, std::vector<std::string> arguments, std::string_view password)
      : program_(std::move(program)), arguments_(std::move(arguments)), password_(password.size()) {
    std::memcpy(password_.Data(), password.data(), password.size());
    password_.SetSize(password.size());
  }

  ~CPppdDial() override {
    Stop();
    if (output_ >= 0) {
      close(output_);
    }
  }

  bool Next(DialOutcome& step) override {
    if (!started_) {
      started_ = true;
      if (!Start()) {
        step = {RASCS_OpenPort, kErrorHardwareFailure};
        done_ = true;
        return true;
      }
    }
    if (done_ || reported_ == kStateCount) {
      return false;
    }
    // The next state pppd names, or its end.
    while (reported_ == reached_) {
      if (!ReadMore()) {
        done_ = true;
        const int status = Reap();
        if (stopped_) {
          return false;
        }
        // The dial ends where it stood, with pppd's reason.
        step = {kStates[reported_ - 1],
                WIFEXITED(status) ? PppdExitError(WEXITSTATUS(status)) : kErrorHardwareFailure};
        return true;
      }
    }
    step = {kStates[reported_++], 0};
    return true;
  }

  void Stop() override {
    pid_t process;
    {
      std::lock_guard<std::mutex> lock(lock_);
      stopped_ = true;
      process = reaped_ ? 0 : process_;
    }
    if (process <= 0) {
      return;
    }
    kill(process, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kPatienceAfterSigterm;
    while (!TryReap()) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(process, SIGKILL);
        while (!TryReap()) {
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

 private:
  bool Start() {
    int output[2];
    int secret[2] = {-1, -1};
    if (pipe2(output, O_CLOEXEC) != 0) {
      return false;
    }
    if (password_.Size() != 0 && pipe2(secret, O_CLOEXEC) != 0) {
      close(output[0]);
      close(output[1]);
      return false;
    }
    std::vector<char*> argv;
    argv.push_back(program_.data());
    for (std::string& argument : arguments_) {
      argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::lock_guard<std::mutex> lock(lock_);
    if (stopped_) {
      return false;
    }
    const pid_t process = fork();
    if (process == 0) {
      // Only async-signal-safe calls until exec.
      dup2(output[1], STDOUT_FILENO);
      dup2(output[1], STDERR_FILENO);
      if (secret[0] >= 0) {
        dup2(secret[0], 3);
      }
      const int null = open("/dev/null", O_RDONLY);
      if (null >= 0) {
        dup2(null, STDIN_FILENO);
      }
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(output[1]);
    if (secret[0] >= 0) {
      close(secret[0]);
      // Small enough for the pipe's buffer: the write never waits for pppd.
      const ssize_t written = write(secret[1], password_.Data(), password_.Size());
      static_cast<void>(written);
      close(secret[1]);
    }
    password_.Wipe();
    if (process < 0) {
      close(output[0]);
      return false;
    }
    process_ = process;
    output_ = output[0];
    reached_ = IndexOf(RASCS_ConnectDevice) + 1;
    return true;
  }

  // Reads what pppd has written, a line at a time; false at its end.
  bool ReadMore() {
    for (;;) {
      const size_t newline = pending_.find('\n');
      if (newline != std::string::npos) {
        const std::string line = pending_.substr(0, newline);
        pending_.erase(0, newline + 1);
        reached_ = std::max(reached_, IndexOf(PppdLineState(line)) + 1);
        return true;
      }
      if (stopped_) {
        return false;
      }
      pollfd waiting{output_, POLLIN, 0};
      const int ready = poll(&waiting, 1, 200);
      if (ready < 0 && errno != EINTR) {
        return false;
      }
      if (ready > 0) {
        char chunk[512];
        const ssize_t count = read(output_, chunk, sizeof chunk);
        if (count > 0) {
          pending_.append(chunk, static_cast<size_t>(count));
        } else if (count == 0 || errno != EINTR) {
          return false;  // the end of its output
        }
      } else if (TryReap()) {
        return false;  // it has ended, while a child of its may still hold its output open
      }
    }
  }

  // Waits for pppd to end; its wait status. The lock is never held while waiting, so that a
  // hang-up can always reach pppd.
  int Reap() {
    while (!TryReap()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::lock_guard<std::mutex> lock(lock_);
    return status_;
  }

  // Reaps pppd when it has ended; true once it is reaped, by either thread.
  bool TryReap() {
    std::lock_guard<std::mutex> lock(lock_);
    if (reaped_ || process_ <= 0) {
      return true;
    }
    int status = 0;
    const pid_t ended = waitpid(process_, &status, WNOHANG);
    if (ended == process_ || (ended < 0 && errno == ECHILD)) {
      reaped_ = true;
      status_ = ended == process_ ? status : 0;
    }
    return reaped_;
  }

  std::string program_;
  std::vector<std::string> arguments_;
  CSecretBuffer password_;
  std::mutex lock_;    // the process and its end, shared with Stop
  pid_t process_ = 0;  // under the lock
  bool reaped_ = false;
  int status_ = 0;
  std::atomic<bool> stopped_{false};
  // The dial thread's own.
  int output_ = -1;
  std::string pending_;
  bool started_ = false;
  bool done_ = false;
  size_t reached_ = 0;   // states reached, from the start of kStates
  size_t reported_ = 0;  // states reported
};

}  // namespace

std::vector<std::string> PppdArguments(const std::string& root, const std::string& name,
                                       const std::string& user, bool withPassword) {
  std::vector<std::string> arguments;
  if (root.empty()) {
    arguments = {"call", name};
  } else {
    arguments = {"file", PeerFilePath(root, name)};
  }
  for (const char* option : {"nodetach", "logfd", "1"}) {
    arguments.emplace_back(option);
  }
  if (!user.empty()) {
    arguments.insert(arguments.end(), {"user", user});
  }
  if (withPassword) {
    arguments.insert(arguments.end(), {"plugin", "passwordfd.so", "passwordfd", "3"});
  }
  return arguments;
}

RASCONNSTATE PppdLineState(const std::string& line) {
  const struct {
    const char* text;
    RASCONNSTATE state;
  } kLines[] = {
      {"Serial connection established.", RASCS_DeviceConnected},
      {"Using interface ", RASCS_AllDevicesConnected},
      {"Connect: ", RASCS_Authenticate},
      {"authentication succeeded", RASCS_Authenticated},
      {"local  IP address ", RASCS_Projected},
      {"remote IP address ", RASCS_Connected},
  };
  for (const auto& known : kLines) {
    if (line.find(known.text) != std::string::npos) {
      return known.state;
    }
  }
  return RASCS_OpenPort;
}

DWORD PppdExitError(int status) {
  switch (status) {
    case 0:
    case 5:  // ended by a signal: a hang-up
      return kErrorUserDisconnection;
    case 2:  // an option of the peer file is wrong
      return kErrorCorruptPhoneBook;
    case 3:  // not root
      return kErrorAccessDenied;
    case 6:  // the serial port is locked
    case 7:  // it cannot be opened
      return kErrorPortNotAvailable;
    case 8:  // the chat script failed: no carrier, busy, no answer
      return kErrorNoAnswer;
    case 9:  // the pty command (pptp) failed
      return kErrorVpnFailed;
    case 10:  // the link's protocols could not be agreed
      return kErrorPppNoProtocols;
    case 11:  // the peer failed to authenticate
    case 19:  // this end failed to authenticate
      return kErrorAuthenticationFailure;
    case 15:  // the peer stopped answering
      return kErrorPppTimeout;
    case 16:  // the modem hung up
      return kErrorPortDisconnected;
    case 12:  // idle, connect time or callback
    case 13:
    case 14:
      return kErrorDisconnection;
    default:  // 1 fatal, 4 no PPP in the kernel, 17 loopback, 18 init script, and any other
      return kErrorHardwareFailure;
  }
}

std::unique_ptr<CDialProgress> PppdDial(std::string program, std::vector<std::string> arguments,
                                        std::string_view password) {
  return std::make_unique<CPppdDial>(std::move(program), std::move(arguments), password);
}
