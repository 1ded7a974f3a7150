// The terminal in raw mode, its keys, and the settings that come back on every way out.
#include "framework/posix/terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

// How long the rest of an escape sequence may take to arrive. Terminals send a key's whole
// sequence at once; a lone Escape is followed by nothing for much longer than this.
constexpr int kEscapeSequenceWaitMilliseconds = 100;

constexpr unsigned char kEscapeByte = 0x1b;
constexpr unsigned char kControlC = 0x03;
constexpr unsigned char kControlD = 0x04;

// The signals whose default action ends the process. Raw mode turns off the keys that send them,
// but they can still come from elsewhere; the terminal must not be left raw.
constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
constexpr size_t kEndingSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

// What the signal handler restores. Only the outermost raw terminal of the process is recorded:
// a nested one (a message box shown from a dialog) returns to the outer one's raw mode itself.
int g_rawDescriptor = -1;
termios g_rawSaved{};
struct sigaction g_previousActions[kEndingSignalCount];
bool g_handled[kEndingSignalCount];

extern "C" void RestoreTerminalAndResignal(int signalNumber) {
  tcsetattr(g_rawDescriptor, TCSANOW, &g_rawSaved);
  for (size_t i = 0; i < kEndingSignalCount; ++i) {
    if (kEndingSignals[i] == signalNumber) {
      sigaction(signalNumber, &g_previousActions[i], nullptr);
    }
  }
  // Delivered as soon as this handler returns, now with the earlier action.
  raise(signalNumber);
}

void GuardAgainstEndingSignals(int descriptor, const termios& saved) {
  g_rawDescriptor = descriptor;
  g_rawSaved = saved;
  struct sigaction action {};
  action.sa_handler = RestoreTerminalAndResignal;
  sigemptyset(&action.sa_mask);
  for (size_t i = 0; i < kEndingSignalCount; ++i) {
    sigaction(kEndingSignals[i], nullptr, &g_previousActions[i]);
    // A signal the process ignores ends nothing.
    g_handled[i] = g_previousActions[i].sa_handler != SIG_IGN;
    if (g_handled[i]) {
      sigaction(kEndingSignals[i], &action, nullptr);
    }
  }
}

void StopGuarding() {
  for (size_t i = 0; i < kEndingSignalCount; ++i) {
    if (g_handled[i]) {
      sigaction(kEndingSignals[i], &g_previousActions[i], nullptr);
    }
  }
  g_rawDescriptor = -1;
}

}  // namespace

CTerminal::CTerminal(const char* path) {
  const int descriptor = open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) {
    return;
  }
  if (!isatty(descriptor) || tcgetattr(descriptor, &saved_) != 0) {
    close(descriptor);
    return;
  }
  const bool outermost = g_rawDescriptor < 0;
  if (outermost) {
    GuardAgainstEndingSignals(descriptor, saved_);
  }
  termios raw = saved_;
  raw.c_iflag &= ~(ICRNL | INLCR | IGNCR | IXON | ISTRIP);
  raw.c_lflag &= ~(ICANON | ECHO | ISIG | IEXTEN);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(descriptor, TCSAFLUSH, &raw) != 0) {
    if (outermost) {
      StopGuarding();
    }
    close(descriptor);
    return;
  }
  descriptor_ = descriptor;
}

CTerminal::~CTerminal() {
  if (descriptor_ < 0) {
    return;
  }
  // Keys typed after the answer are dropped, so that they reach neither the next question nor
  // the shell.
  tcsetattr(descriptor_, TCSAFLUSH, &saved_);
  if (g_rawDescriptor == descriptor_) {
    StopGuarding();
  }
  close(descriptor_);
}

void WriteToDescriptor(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(descriptor, text.data(), text.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return;
    }
    text.remove_prefix(static_cast<size_t>(written));
  }
}

int CTerminal::ReadByte(int timeoutMilliseconds) {
  if (pendingByte_ >= 0) {
    const int byte = pendingByte_;
    pendingByte_ = -1;
    return byte;
  }
  for (;;) {
    pollfd waiting{descriptor_, POLLIN, 0};
    const int ready = poll(&waiting, 1, timeoutMilliseconds);
    if (ready == 0) {
      return -1;
    }
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      return -2;
    }
    unsigned char byte = 0;
    const ssize_t count = read(descriptor_, &byte, 1);
    if (count == 1) {
      return byte;
    }
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
      continue;
    }
    return -2;
  }
}

TerminalKey CTerminal::ReadKey() {
  const int byte = ReadByte(-1);
  if (byte < 0) {
    return TerminalKey::kEnd;
  }
  switch (byte) {
    case '\r':
    case '\n':
      return TerminalKey::kEnter;
    case kControlC:
    case kControlD:
      return TerminalKey::kInterrupt;
    case kEscapeByte:
      break;
    default:
      lastCharacter_ = static_cast<char>(byte);
      return TerminalKey::kCharacter;
  }
  const int next = ReadByte(kEscapeSequenceWaitMilliseconds);
  if (next != '[' && next != 'O') {
    // A lone Escape; whatever came after it is a key of its own.
    if (next >= 0) {
      pendingByte_ = next;
    }
    return TerminalKey::kEscape;
  }
  // A control sequence: parameter and intermediate bytes, then the final byte that names the key.
  int final = 0;
  do {
    final = ReadByte(kEscapeSequenceWaitMilliseconds);
  } while (final >= 0x20 && final < 0x40);
  if (final == 'A') {
    return TerminalKey::kUp;
  }
  if (final == 'B') {
    return TerminalKey::kDown;
  }
  return TerminalKey::kOther;
}

int CTerminal::Width() const {
  winsize size{};
  return ioctl(descriptor_, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

int CTerminal::Height() const {
  winsize size{};
  return ioctl(descriptor_, TIOCGWINSZ, &size) == 0 ? size.ws_row : 0;
}
