// The terminal front end through a pseudo-terminal, keys typed as a person types them: what a
// message box and a dialog show, which keys answer, that the terminal's settings come back, and
// what happens without any terminal at all.
#include "framework/posix/terminal_window_system.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "dialog_templates.h"
#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "resource.h"
#include "support/posix/child_process.h"
#include "support/posix/pseudo_terminal.h"
#include "support/test_files.h"

namespace {

// A dialog that lists names (three unless told), exchanges a position with its list and shows a
// fixed label.
constexpr UINT kListDialogTemplate = 500;
constexpr int kListId = 10;
constexpr int kLabelId = 11;

class CListDialog final : public CDialog {
 public:
  CListDialog() : CDialog(kListDialogTemplate) {}

  int index = 1;  // not the first, so that a position that is not stored stands out
  std::vector<std::string> names = {"alpha", "beta", "gamma"};
  CComboBox list;

 protected:
  BOOL OnInitDialog() override {
    list.SubclassDlgItem(kListId, this);
    for (const std::string& name : names) {
      list.AddString(name.c_str());
    }
    return CDialog::OnInitDialog();
  }

  void DoDataExchange(CDataExchange* exchange) override {
    DDX_Text(exchange, kLabelId, "Pick one:");
    DDX_CBIndex(exchange, kListId, index);
  }
};

#if defined(__SANITIZE_THREAD__)
constexpr bool kThreadSanitizer = true;
#elif defined(__has_feature)
constexpr bool kThreadSanitizer = __has_feature(thread_sanitizer);
#else
constexpr bool kThreadSanitizer = false;
#endif

const CDialogItemTemplate kListDialogItems[] = {
    {kLabelId, CDialogItemTemplate::kStatic, ""},
    {kListId, CDialogItemTemplate::kComboBox, ""},
    {IDOK, CDialogItemTemplate::kButton, "OK"},
    {IDCANCEL, CDialogItemTemplate::kButton, "Cancel"},
};
const CDialogTemplate kListDialog = {kListDialogTemplate, "Test Caption", kListDialogItems, 4};

const CDialogTemplate* FindTestTemplate(UINT templateId) {
  return templateId == kListDialog.id ? &kListDialog : nullptr;
}

constexpr UINT kQuestion = MB_OKCANCEL | MB_ICONWARNING;
constexpr UINT kDialog = ~0u;  // in place of a message box's style: the list dialog

// Control characters in the texts are shown as '?', so that no text sends the terminal commands.
// The dialog opens with its second name ("beta") selected. The front end runs on a thread of its
// own, as it blocks; the keys, typed once it shows "Enter: OK", come in parts between '|' with
// short pauses (shorter than an escape sequence may take). No keys: the terminal goes away.
TEST(TerminalFrontEnd, ShowsMessageBoxesAndDialogsAndAnswersByKey) {
  const struct {
    const char* name;
    UINT style;
    const char* keys;
    int result;
    const char* screen = nullptr;   // a box's whole screen; the dialog's last marked line
    int index = 1;                  // the dialog's position afterwards
    const char* typedEarlier = "";  // before the box appears
  } cases[] = {
      {"OK box, Enter", MB_OK | MB_ICONWARNING, "\r", IDOK,
       "\r\n== (!) Title?[2J ==\r\nNo modem.\r\nInstall? one.\r\n[ OK ]  Enter: OK -> OK\r\n"},
      {"OK box, Escape is its only answer", MB_OK, "\x1b", IDOK},
      {"question, Ctrl-C", MB_OKCANCEL, "\x03", IDCANCEL,
       "\r\n== Title?[2J ==\r\nNo modem.\r\nInstall? one.\r\n"
       "[ OK ]  [ Cancel ]  Enter: OK  Esc: Cancel -> Cancel\r\n"},
      {"question, keys typed before it appeared and arrows (one split in two) answer nothing",
       kQuestion, "x|\x1b[B|\x1bOA|\x1b|[A|\r", IDOK, nullptr, 1, "c\r"},
      {"question, the terminal goes away", kQuestion, "", IDCANCEL},
      {"dialog, Up stops at the top", kDialog, "\x1bOA|\x1bOA|\r", IDOK, " > 1  alpha", 0},
      // Had Down not stopped at the end, the split Up would not reach beta.
      {"dialog, Down stops at the end; an Up split in two", kDialog, "\x1b[B|\x1b[B|\x1b|[A|\r",
       IDOK, " > 2  beta", 1},
      {"dialog, digits; 0 or past the end do nothing", kDialog, "1|0|9|\r", IDOK, " > 1  alpha", 0},
      {"dialog, Escape after a move stores nothing", kDialog, "\x1b[B|\x1b", IDCANCEL,
       " > 3  gamma"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::PseudoTerminal terminal;
    const tcflag_t settings = terminal.LocalModes();
    if (*c.typedEarlier != '\0') {
      terminal.Type(c.typedEarlier);
      EXPECT_TRUE(terminal.WaitFor("\n"));  // its echo shows that the terminal has taken it in
    }
    CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
    CListDialog dialog;
    int answer = 0;
    std::thread front([&]() {
      answer = c.style == kDialog
                   ? windows.RunModalDialog(dialog)
                   : windows.ShowMessageBox("No modem.\nInstall\a one.", "Title\x1b[2J", c.style);
    });
    EXPECT_TRUE(terminal.WaitFor("Enter: OK")) << terminal.Screen();
    std::istringstream keys(c.keys);
    for (std::string part; std::getline(keys, part, '|');) {
      terminal.Type(part);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // A front end the keys did not answer is ended the same way, so that a fault fails the test
    // instead of hanging it.
    const bool typed = *c.keys != '\0';
    if (!typed || !(terminal.WaitFor(" -> ") && terminal.WaitFor("\n"))) {
      EXPECT_FALSE(typed) << "no answer shown: " << terminal.Screen();
      terminal.HangUp();
    }
    front.join();
    EXPECT_EQ(answer, c.result);
    if (typed) {
      EXPECT_EQ(terminal.LocalModes(), settings);
    }
    const std::string& screen = terminal.Screen();
    if (c.style == kDialog) {
      EXPECT_EQ(dialog.index, c.index);
      EXPECT_FALSE(dialog.list.IsAttached());  // the window has gone; so has the list's hold on it
      EXPECT_TRUE(screen.starts_with(
          "\r\n== Test Caption ==\r\nPick one:\r\n   1  alpha\r\n > 2  beta\r\n   3  gamma\r\n"
          "[ OK ]  [ Cancel ]  Up/Down or 1-9: choose  Enter: OK  Esc: Cancel"))
          << screen;
      // Redrawn or not, the last marked line is the current one.
      EXPECT_EQ(screen.substr(screen.rfind(" > "), std::string(c.screen).size()), c.screen);
    } else if (c.screen != nullptr) {
      EXPECT_EQ(screen, c.screen);
    }
  }
}

// 40 columns by 8 lines and 13 names, the last wider than the terminal: the first drawing fits
// the screen, no line wraps, and the mark moved to the last name is drawn with the keys below.
TEST(TerminalFrontEnd, SmallTerminalShowsTheListAroundTheMark) {
  test::PseudoTerminal terminal(40, 8);
  CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
  CListDialog dialog;
  dialog.names.assign(12, "a device");
  dialog.names.push_back("device 13" + std::string(40, 'x'));
  std::thread front([&]() { windows.RunModalDialog(dialog); });
  EXPECT_TRUE(terminal.WaitFor("Esc: Cancel"));
  for (int moved = 3; moved <= 13; ++moved) {
    terminal.Type("\x1b[B");
    EXPECT_TRUE(terminal.WaitFor(" > " + std::to_string(moved) + " "));
  }
  EXPECT_TRUE(terminal.WaitFor(" device 13xxx"));
  EXPECT_TRUE(terminal.WaitFor("Esc: Cancel"));
  terminal.Type("\r");
  EXPECT_TRUE(terminal.WaitFor(" -> OK"));
  front.join();
  EXPECT_EQ(dialog.index, 12);
  const std::string& screen = terminal.Screen();
  const std::string first = screen.substr(0, screen.find('\x1b'));
  EXPECT_LE(std::count(first.begin(), first.end(), '\n'), 8) << first;
  const std::regex breaks("\r\n|\r|\x1b\\[[0-9]*[AK]|\n");
  for (std::sregex_token_iterator line(screen.begin(), screen.end(), breaks, -1), end; line != end;
       ++line) {
    EXPECT_LT(line->length(), 40) << *line;
  }
}

TEST(TerminalFrontEnd, SignalThatEndsTheProcessRestoresTheTerminalFirst) {
  test::PseudoTerminal terminal;
  const tcflag_t settings = terminal.LocalModes();
  CTerminalWindowSystem windows(terminal.Path(), FindTestTemplate, -1);
  const pid_t child = fork();
  if (child == 0) {
    _exit(windows.ShowMessageBox("Waiting", "Title", MB_OKCANCEL));
  }
  EXPECT_TRUE(terminal.WaitFor("Esc: Cancel"));
  EXPECT_NE(terminal.LocalModes(), settings);
  kill(child, SIGTERM);
  // ThreadSanitizer runs a handler only where it chooses to, and a signal that comes while the
  // child is between two such places can stay unhandled while it waits for a key: under it the
  // signal is sent again every second. Elsewhere it is sent once, since a handler that restored
  // the terminal but did not end the process would then be ended by a second signal.
  auto lastSent = std::chrono::steady_clock::now();
  const int status = test::WaitForChild(child, 20, [&] {
    if (kThreadSanitizer && std::chrono::steady_clock::now() - lastSent > std::chrono::seconds(1)) {
      kill(child, SIGTERM);
      lastSent = std::chrono::steady_clock::now();
    }
    usleep(10000);
  });
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(terminal.LocalModes(), settings);
}

// The platform's window system in a process without a controlling terminal, as under a script
// or a service: nothing is asked, and nothing is taken as a yes.
TEST(TerminalFrontEnd, WithoutATerminalWritesToStandardErrorAndNeverSaysYes) {
  const test::ScopedTempDirectory directory;
  const std::string errors = directory.File("errors.txt");
  const pid_t child = fork();
  if (child == 0) {
    setsid();  // a new session has no controlling terminal
    dup2(open(errors.c_str(), O_WRONLY | O_CREAT, 0600), STDERR_FILENO);
    UseDialogTemplates(FindDialogTemplate);
    CWindowSystem& windows = PlatformWindowSystem();
    const bool neverYes = windows.ShowMessageBox("No modem.\nInstall one.", "Modem Warning",
                                                 MB_ICONWARNING) == IDOK &&
                          windows.ShowMessageBox("Overwrite?", "Object Already Exists",
                                                 MB_OKCANCEL | MB_ICONWARNING) == IDCANCEL &&
                          CDialog(IDD_MODEM_SELECT).DoModal() == -1;
    _exit(neverYes ? 0 : 1);
  }
  EXPECT_EQ(test::WaitForChild(child), 0);
  EXPECT_EQ(test::ReadFileBytes(errors),
            "== (!) Modem Warning ==\nNo modem.\nInstall one.\n"
            "== (!) Object Already Exists ==\nOverwrite?\n"
            "No terminal to answer this question: Cancel\n"
            "== Create Dial Up Networking Object ==\nNo terminal to show this dialog\n");
}

}  // namespace
