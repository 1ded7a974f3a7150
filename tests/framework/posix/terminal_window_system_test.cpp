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
// types the chunks of keys with short pauses (shorter than an escape sequence may take), waits
// for the answer and returns it.
int Drive(PseudoTerminal& terminal, const std::function<int()>& show, const std::string& ready,
          const std::vector<std::string>& keys) {
  int answer = 0;
  std::thread front([&]() { answer = show(); });
  if (terminal.WaitFor(ready)) {
    for (const std::string& chunk : keys) {
      terminal.Type(chunk);
      std::this_thread::sleep_for(milliseconds(20));
    }
    EXPECT_TRUE(terminal.WaitFor(" -> "));
    EXPECT_TRUE(terminal.WaitFor("\n"));
  } else {
    ADD_FAILURE() << "not shown; screen: " << terminal.Screen();
    terminal.HangUp();
  }
  front.join();
  return answer;
}

struct MessageBoxCase {
  const char* name;
  UINT style;
  const char* typedEarlier;  // before the box appears
  std::vector<std::string> keys;
  int answer;
  std::vector<std::string> shown;
  const char* notShown;
};

TEST(TerminalMessageBox, ShowsTitleMarkerTextAndButtonsAndAnswersByKey) {
  const UINT question = MB_OKCANCEL | MB_ICONWARNING;
  const MessageBoxCase cases[] = {
      {"warning, Enter",
       MB_OK | MB_ICONWARNING,
       "",
       {"\r"},
       IDOK,
       {"== (!) Title ==\r\nline one\r\nline two\r\n[ OK ]  Enter: OK -> OK\r\n"},
       "Cancel"},
      {"no icon, Escape is the only answer",
       MB_OK,
       "",
       {"\x1b"},
       IDOK,
       {"== Title ==\r\n", " -> OK"},
       "(!)"},
      {"question, Enter",
       question,
       "",
       {"\r"},
       IDOK,
       {"== (!) Title ==", "[ OK ]  [ Cancel ]  Enter: OK  Esc: Cancel -> OK"},
       nullptr},
      {"question, Escape", question, "", {"\x1b"}, IDCANCEL, {" -> Cancel"}, nullptr},
      {"question, c", question, "", {"c"}, IDCANCEL, {" -> Cancel"}, nullptr},
      {"question, Ctrl-C", question, "", {"\x03"}, IDCANCEL, {" -> Cancel"}, nullptr},
      {"question, arrows and other keys answer nothing",
       question,
       "",
       {"x", "\x1b[B", "\x1bOA", "\x1b[1;5A", "\r"},
       IDOK,
       {" -> OK"},
       nullptr},
      {"question, an arrow's sequence split in two",
       question,
       "",
       {"\x1b", "[B", "\r"},
       IDOK,
       {" -> OK"},
       nullptr},
      {"question, keys typed before it appeared are dropped",
       question,
       "\r",
       {"c"},
       IDCANCEL,
       {" -> Cancel"},
       nullptr},
  };
  for (const MessageBoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    PseudoTerminal terminal;
    const tcflag_t settings = terminal.LocalModes();
    terminal.Type(c.typedEarlier);
    CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);

    const int answer = Drive(
        terminal, [&]() { return windows.ShowMessageBox("line one\nline two", "Title", c.style); },
        "Enter: OK", c.keys);

    EXPECT_EQ(answer, c.answer);
    for (const std::string& text : c.shown) {
      EXPECT_NE(terminal.Screen().find(text), std::string::npos) << text;
    }
    if (c.notShown != nullptr) {
      EXPECT_EQ(terminal.Screen().find(c.notShown), std::string::npos) << c.notShown;
    }
    EXPECT_EQ(terminal.LocalModes(), settings);
  }
}

TEST(TerminalMessageBox, ShowsControlCharactersOfItsTextsAsQuestionMarks) {
  PseudoTerminal terminal;
  CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
  Drive(terminal, [&]() { return windows.ShowMessageBox("a\x07z", "Bad\x1b[2JTitle", MB_OK); },
        "Enter: OK", {"\r"});
  EXPECT_NE(terminal.Screen().find("== Bad?[2JTitle ==\r\na?z\r\n"), std::string::npos);
  EXPECT_EQ(terminal.Screen().find("\x1b[2J"), std::string::npos);
}

TEST(TerminalMessageBox, TerminalThatGoesAwayAnswersAsNoTerminalDoes) {
  for (const UINT style : {MB_OK, MB_OKCANCEL}) {
    SCOPED_TRACE(style);
    PseudoTerminal terminal;
    CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
    int answer = 0;
    std::thread front([&]() { answer = windows.ShowMessageBox("text", "Title", style); });
    EXPECT_TRUE(terminal.WaitFor("Enter: OK"));
    terminal.HangUp();
    front.join();
    EXPECT_EQ(answer, style == MB_OK ? IDOK : IDCANCEL);
  }
}

struct DialogCase {
  const char* name;
  std::vector<std::string> keys;
  int result;
  int index;
  const char* marked;  // the line marked as current at the end
};

TEST(TerminalDialog, ShowsCaptionLabelAndListAndMovesTheSelectionByKey) {
  // The dialog opens with its second name ("beta") selected.
  const DialogCase cases[] = {
      {"Enter", {"\r"}, IDOK, 1, " > 2  beta"},
      {"o", {"o"}, IDOK, 1, " > 2  beta"},
      {"Down", {"\x1b[B", "\r"}, IDOK, 2, " > 3  gamma"},
      {"Up, application cursor keys", {"\x1bOA", "\r"}, IDOK, 0, " > 1  alpha"},
      {"Up stops at the top", {"\x1b[A", "\x1b[A", "\x1b[A", "\r"}, IDOK, 0, " > 1  alpha"},
      {"Down stops at the end", {"\x1b[B", "\x1b[B", "\x1b[B", "\r"}, IDOK, 2, " > 3  gamma"},
      {"digit", {"3", "\r"}, IDOK, 2, " > 3  gamma"},
      {"digits beyond the list and 0 do nothing", {"9", "0", "\r"}, IDOK, 1, " > 2  beta"},
      {"an arrow's sequence split in two", {"\x1b", "[A", "\r"}, IDOK, 0, " > 1  alpha"},
      {"Escape after a move stores nothing", {"\x1b[B", "\x1b"}, IDCANCEL, 1, " > 3  gamma"},
      {"c", {"c"}, IDCANCEL, 1, " > 2  beta"},
      {"Ctrl-C", {"\x03"}, IDCANCEL, 1, " > 2  beta"},
  };
  for (const DialogCase& c : cases) {
    SCOPED_TRACE(c.name);
    PseudoTerminal terminal;
    const tcflag_t settings = terminal.LocalModes();
    CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
    test::CListDialog dialog;

    const int result = Drive(
        terminal, [&]() { return windows.RunModalDialog(dialog); }, "Esc: Cancel", c.keys);

    EXPECT_EQ(result, c.result);
    EXPECT_EQ(dialog.index, c.index);
    const std::string& screen = terminal.Screen();
    EXPECT_NE(screen.find("== Test Caption ==\r\nPick one:\r\n   1  alpha\r\n > 2  beta\r\n"
                          "   3  gamma\r\n[ OK ]  [ Cancel ]  "),
              std::string::npos)
        << screen;
    // Redrawn or not, the last marked line is the current one.
    EXPECT_EQ(screen.substr(screen.rfind(" > "), std::string(c.marked).size()), c.marked);
    EXPECT_EQ(terminal.LocalModes(), settings);
  }
}

TEST(TerminalDialog, DialogWithoutATemplateDoesNotOpen) {
  PseudoTerminal terminal;
  CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
  CDialog dialog(999);
  EXPECT_EQ(windows.RunModalDialog(dialog), -1);
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
