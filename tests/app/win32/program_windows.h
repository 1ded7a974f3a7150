// Meeting a running program the way a person does: through its windows. A test starts the program
// as a separate process, waits for each of its message boxes and dialogs to appear on the screen,
// reads what they show, answers them, and waits for the program to end. Every wait has a time-out,
// so a program that shows nothing, or hangs, fails the test instead of stopping the test run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test {

// Long enough for the first start of a program in a fresh Wine prefix; a warm start takes well
// under a second.
constexpr DWORD kWindowTimeoutMs = 20000;

// A program started with a command line of its own, in a directory of its own. Ended by force
// when it is still running at the end of the test.
class RunningProgram {
 public:
  // Starts `program` with the command line `"program" arguments` (arguments as they are,
  // blanks included) and `startDirectory` as its current directory. Check Started().
  RunningProgram(const std::string& program, const std::string& arguments,
                 const std::string& startDirectory);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Started() const { return process_.hProcess != nullptr; }

  // The program's next visible dialog window (a message box or a dialog), waited for; null when
  // the program ended first or nothing came within the time-out.
  HWND WaitForWindow(DWORD timeoutMs = kWindowTimeoutMs);

  // Waits until `window` is gone (answered); false on time-out.
  static bool WaitUntilClosed(HWND window, DWORD timeoutMs = kWindowTimeoutMs);

  // Waits for the program to end and gives its exit code; false on time-out.
  bool WaitForExit(DWORD* exitCode, DWORD timeoutMs = kWindowTimeoutMs);

 private:
  PROCESS_INFORMATION process_ = {};
};

// A window's title, or a control's text, in the system's ANSI code page. The text is asked for
// in UTF-16 and converted here, which works across processes under Wine as well.
std::string WindowText(HWND window);

// The text of the dialog's control `id`; empty when there is no such control.
std::string ControlText(HWND dialog, int id);

// The items of a combo box, in list order.
std::vector<std::string> ComboBoxItems(HWND comboBox);

// What a message box shows, as far as a person can tell from outside the program.
struct MessageBoxView {
  std::string title;
  std::string text;
  bool icon;                 // an icon is shown
  std::vector<int> buttons;  // identifiers of the buttons shown (IDOK, IDCANCEL, ...), ascending
  bool owned;                // it has an owner window
};

MessageBoxView ViewMessageBox(HWND messageBox);

// Answers a message box or dialog as its button `commandId` (IDOK, IDCANCEL) does.
void PressButton(HWND window, int commandId);

// Presses and releases `key` on `control`, through the program's own message loop, where the
// dialog manager handles it as it handles the keyboard.
void PressKey(HWND control, UINT key);

// Saves what the screen shows of `window` as a PNG file at `path`; false when it cannot. The
// window is repainted first, so that the picture is complete.
bool SaveWindowPicture(HWND window, const std::string& path);

}  // namespace test
