// The terminal front end through a pseudo-terminal, keys typed as a person types them: what a
// message box and a dialog show, which keys answer, that the terminal's settings come back, and
// what happens without any terminal at all.
#include "framework/posix/terminal_window_system.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/list_dialog.h"
#include "framework/posix/terminal.h"
#include "resource.h"

namespace {

using std::chrono::milliseconds;

const CDialogItemTemplate kListDialogItems[] = {
    {test::kLabelId, CDialogItemTemplate::kStatic, ""},
    {test::kListId, CDialogItemTemplate::kComboBox, ""},
    {IDOK, CDialogItemTemplate::kButton, "OK"},
    {IDCANCEL, CDialogItemTemplate::kButton, "Cancel"},
};
const CDialogTemplate kListDialog = {test::kListDialogTemplate, "Test Caption", kListDialogItems,
                                     4};

const CDialogTemplate* FindTestTemplate(UINT templateId) {
  return templateId == kListDialog.id ? &kListDialog : nullptr;
}

// A pseudo-terminal: the front end opens its terminal side by name, the test reads the screen
// and types on the other side. The test keeps the terminal side open as well, so that the
// terminal does not go away between two message boxes and its settings can be read.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master_, 0);
    EXPECT_EQ(grantpt(master_), 0);
    EXPECT_EQ(unlockpt(master_), 0);
    path_ = ptsname(master_);
    terminal_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
    EXPECT_GE(terminal_, 0);
    winsize size{24, 80, 0, 0};
    ioctl(master_, TIOCSWINSZ, &size);
  }
  ~PseudoTerminal() {
    HangUp();
    close(terminal_);
  }

  const std::string& Path() const { return path_; }
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
    for (;;) {
      const size_t found = screen_.find(text, seen_);
      if (found != std::string::npos) {
        seen_ = found + text.size();
        return true;
      }
      const auto left =
          std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd waiting{master_, POLLIN, 0};
      if (left.count() <= 0 || poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
        return false;
      }
      char buffer[512];
      const ssize_t count = read(master_, buffer, sizeof buffer);
      if (count <= 0) {
        return false;
      }
      screen_.append(buffer, static_cast<size_t>(count));
    }
  }

  // The terminal goes away: a front end still waiting for a key sees the end.
  void HangUp() {
    if (master_ >= 0) {
      close(master_);
      master_ = -1;
    }
  }

 private:
  int master_ = -1;
  int terminal_ = -1;
  std::string path_;
  std::string screen_;
  size_t seen_ = 0;
};

// Runs `show` on a thread of its own, as the front end blocks; once `ready` is on the screen,
// types `keys`, whose parts between '|' come with short pauses (shorter than an escape sequence
// may take), and returns the answer. No keys at all: the terminal goes away instead.
int Drive(PseudoTerminal& terminal, const std::function<int()>& show, const std::string& ready,
          const std::string& keys) {
  int answer = 0;
  std::thread front([&]() { answer = show(); });
  const bool shown = terminal.WaitFor(ready);
  EXPECT_TRUE(shown) << terminal.Screen();
  if (shown && !keys.empty()) {
    for (size_t start = 0, end = 0; start <= keys.size(); start = end + 1) {
      end = std::min(keys.find('|', start), keys.size());
      terminal.Type(keys.substr(start, end - start));
      std::this_thread::sleep_for(milliseconds(5));
    }
    EXPECT_TRUE(terminal.WaitFor(" -> ") && terminal.WaitFor("\n"));
  } else {
    terminal.HangUp();
  }
  front.join();
  return answer;
}

constexpr UINT kQuestion = MB_OKCANCEL | MB_ICONWARNING;

struct MessageBoxCase {
  const char* name;
  UINT style;
  const char* typedEarlier;  // before the box appears
  const char* keys;
  int answer;
};

TEST(TerminalMessageBox, AnswersByKey) {
  const MessageBoxCase cases[] = {
      {"OK box, Enter", MB_OK | MB_ICONWARNING, "", "\r", IDOK},
      {"OK box, Escape is its only answer", MB_OK, "", "\x1b", IDOK},
      {"question, Enter", kQuestion, "", "\r", IDOK},
      {"question, Escape", kQuestion, "", "\x1b", IDCANCEL},
      {"question, c", kQuestion, "", "c", IDCANCEL},
      {"question, Ctrl-C", kQuestion, "", "\x03", IDCANCEL},
      {"question, arrows (one split in two) answer nothing", kQuestion, "",
       "x|\x1b[B|\x1bOA|\x1b|[A|\r", IDOK},
      {"question, keys typed before it appeared are dropped", kQuestion, "\r", "c", IDCANCEL},
      {"question, the terminal goes away", kQuestion, "", "", IDCANCEL},
      {"OK box, the terminal goes away", MB_OK, "", "", IDOK},
  };
  for (const MessageBoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    PseudoTerminal terminal;
    const tcflag_t settings = terminal.LocalModes();
    if (*c.typedEarlier != '\0') {
      // Its echo shows that the terminal has taken it in.
      terminal.Type(c.typedEarlier);
      EXPECT_TRUE(terminal.WaitFor("\n"));
    }
    CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);

    EXPECT_EQ(Drive(
                  terminal, [&]() { return windows.ShowMessageBox("Text", "Title", c.style); },
                  "Enter: OK", c.keys),
              c.answer);
    if (*c.keys != '\0') {
      EXPECT_EQ(terminal.LocalModes(), settings);
    }
  }
}

// Control characters in the texts are shown as '?', so that no text sends the terminal commands.
TEST(TerminalMessageBox, ShowsTitleWarningMarkerTextAndButtons) {
  struct Case {
    const char* title;
    UINT style;
    const char* keys;
    const char* screen;
  };
  const Case cases[] = {
      {"Modem Warning", MB_OK | MB_ICONWARNING, "\r",
       "== (!) Modem Warning ==\r\nNo modem.\r\nInstall? one.\r\n[ OK ]  Enter: OK -> OK\r\n"},
      {"Question\x1b[2J", MB_OKCANCEL, "\x1b",
       "== Question?[2J ==\r\nNo modem.\r\nInstall? one.\r\n"
       "[ OK ]  [ Cancel ]  Enter: OK  Esc: Cancel -> Cancel\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    PseudoTerminal terminal;
    CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
    Drive(
        terminal,
        [&]() { return windows.ShowMessageBox("No modem.\nInstall\a one.", c.title, c.style); },
        "Enter: OK", c.keys);
    EXPECT_EQ(terminal.Screen(), std::string("\r\n") + c.screen);
  }
}

struct DialogCase {
  const char* name;
  const char* keys;
  int result;
  int index;
  const char* marked;  // the line marked as current at the end
};

TEST(TerminalDialog, ShowsCaptionLabelAndListAndMovesTheSelectionByKey) {
  // The dialog opens with its second name ("beta") selected.
  const DialogCase cases[] = {
      {"Enter", "\r", IDOK, 1, " > 2  beta"},
      {"Down", "\x1b[B|\r", IDOK, 2, " > 3  gamma"},
      {"Up stops at the top; application cursor keys", "\x1bOA|\x1bOA|\r", IDOK, 0, " > 1  alpha"},
      {"Down stops at the end", "\x1b[B|\x1b[B|\r", IDOK, 2, " > 3  gamma"},
      {"digits; 0 and beyond the list do nothing", "1|0|9|\r", IDOK, 0, " > 1  alpha"},
      {"an arrow's sequence split in two", "\x1b|[A|\r", IDOK, 0, " > 1  alpha"},
      {"Escape after a move stores nothing", "\x1b[B|\x1b", IDCANCEL, 1, " > 3  gamma"},
      {"c", "c", IDCANCEL, 1, " > 2  beta"},
  };
  for (const DialogCase& c : cases) {
    SCOPED_TRACE(c.name);
    PseudoTerminal terminal;
    const tcflag_t settings = terminal.LocalModes();
    CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
    test::CListDialog dialog;

    EXPECT_EQ(
        Drive(
            terminal, [&]() { return windows.RunModalDialog(dialog); }, "Esc: Cancel", c.keys),
        c.result);
    EXPECT_EQ(dialog.index, c.index);
    const std::string& screen = terminal.Screen();
    EXPECT_EQ(screen.find("\r\n== Test Caption ==\r\nPick one:\r\n   1  alpha\r\n > 2  beta\r\n"
                          "   3  gamma\r\n[ OK ]  [ Cancel ]  Up/Down or 1-9: choose  Enter: OK  "
                          "Esc: Cancel"),
              0u)
        << screen;
    // Redrawn or not, the last marked line is the current one.
    EXPECT_EQ(screen.substr(screen.rfind(" > "), std::string(c.marked).size()), c.marked);
    EXPECT_EQ(terminal.LocalModes(), settings);
  }
}

TEST(TerminalFrontEnd, SignalThatEndsTheProcessRestoresTheTerminalFirst) {
  PseudoTerminal terminal;
  const tcflag_t settings = terminal.LocalModes();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
    windows.ShowMessageBox("Waiting", "Title", MB_OKCANCEL);
    _exit(0);
  }
  EXPECT_TRUE(terminal.WaitFor("Esc: Cancel"));
  EXPECT_NE(terminal.LocalModes(), settings);
  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(terminal.LocalModes(), settings);
}

// The platform's window system in a process without a controlling terminal, as under a script
// or a service: nothing is asked, and nothing is taken as a yes.
TEST(TerminalFrontEnd, WithoutATerminalWritesToStandardErrorAndNeverSaysYes) {
  int errors[2];
  ASSERT_EQ(pipe(errors), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setsid();  // a new session has no controlling terminal
    dup2(errors[1], STDERR_FILENO);
    close(errors[0]);
    close(errors[1]);
    CWindowSystem& windows = PlatformWindowSystem();
    int failures = 0;
    if (windows.ShowMessageBox("No modem.\nInstall one.", "Modem Warning",
                               MB_OK | MB_ICONWARNING) != IDOK) {
      failures |= 1;
    }
    if (windows.ShowMessageBox("Overwrite?", "Object Already Exists",
                               MB_OKCANCEL | MB_ICONWARNING) != IDCANCEL) {
      failures |= 2;
    }
    CDialog dialog(IDD_MODEM_SELECT);
    if (dialog.DoModal() != -1) {
      failures |= 4;
    }
    _exit(failures);
  }
  close(errors[1]);
  std::string written;
  char buffer[512];
  for (ssize_t count; (count = read(errors[0], buffer, sizeof buffer)) > 0;) {
    written.append(buffer, static_cast<size_t>(count));
  }
  close(errors[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(written,
            "== (!) Modem Warning ==\nNo modem.\nInstall one.\n"
            "== (!) Object Already Exists ==\nOverwrite?\n"
            "No terminal to answer this question: Cancel\n"
            "== Create Dial Up Networking Object ==\nNo terminal to show this dialog\n");
}

}  // namespace
