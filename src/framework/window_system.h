// The window system: everything of the user interface that differs between platforms, behind one
// seam. The framework shows message boxes and runs modal dialogs only through
// CurrentWindowSystem(), which is the platform's (the real dialogs and message boxes on Windows,
// the terminal front end on POSIX) unless a test has put a scripted one in its place.
//
// A window system offers the dialog's window and its controls as objects that take the
// platform's window messages, so the dialog classes, their data exchange and the controls'
// wrappers are the same code on every platform and in tests.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/dialog_template.h"
#include "framework/window_constants.h"
#include "platform_types.h"

class CDialog;

// One control of an open dialog window. Message parameters are as wide as a pointer, as the
// platform's are; a text travels as its address in `lParam`.
class CControlWindow {
 public:
  virtual intptr_t Send(UINT message, uintptr_t wParam, intptr_t lParam) = 0;

 protected:
  ~CControlWindow() = default;
};

// An open dialog window. It belongs to the window system, which destroys it when the modal run
// ends; the controls it hands out live exactly as long.
class CDialogWindow {
 public:
  // The control with this identifier; null when the dialog has none.
  virtual CControlWindow* FindControl(int id) = 0;
  // Ends the modal run with `result` once the message in hand has been dealt with.
  virtual void EndModal(int result) = 0;
  // Centres the window on the screen (the dialog has no parent window to centre on).
  virtual void Center() = 0;

 protected:
  ~CDialogWindow() = default;
};

class CWindowSystem {
 public:
  // Shows a message box without an owner window and waits for the answer: IDOK or IDCANCEL.
  // `style` is the platform's MB_ buttons and icon.
  virtual int ShowMessageBox(const char* text, const char* title, UINT style) = 0;

  // Runs `dialog` modally. The window system creates the window from the dialog's template;
  // when it cannot, it returns -1 and calls nothing of the dialog. Otherwise it calls
  // dialog.InitializeWindow(window), passes the user's OK and Cancel to
  // dialog.HandleCommand(IDOK or IDCANCEL) until the window has been ended, calls
  // dialog.ReleaseWindow() and returns the result the window was ended with.
  virtual int RunModalDialog(CDialog& dialog) = 0;

 protected:
  ~CWindowSystem() = default;
};

// The platform's window system. What it does on each platform is described in its
// implementation (on POSIX: docs/terminal-front-end.md).
CWindowSystem& PlatformWindowSystem();

// The window system in use.
CWindowSystem& CurrentWindowSystem();

// Hands the platform's window system the program's dialog templates, for a window system with no
// resource format of its own (the terminal, whose dialogs do not open without them). Windows
// takes the program's dialogs from its resources instead, and does nothing with these.
void UseDialogTemplates(DialogTemplateLookup findTemplate);

// Puts `windowSystem` in place (null: the platform's again) and returns the one it replaces:
// for tests, and for a run that records or withholds what it would show.
CWindowSystem* ReplaceWindowSystem(CWindowSystem* windowSystem);

// The tool's message box: no owner window, the platform's MB_ style; returns IDOK or IDCANCEL.
int ShowMessageBox(const char* text, const char* title, UINT style);

// A message box that warns, with OK alone.
void ShowWarning(const char* text, const char* title);

// Keeps the system's own boxes away, for a run with nobody at the screen: on Windows the ones in
// which the system would ask about a drive without a disk or a file it cannot open
// (SetErrorMode); on POSIX nothing is shown but by the tool, so there is nothing to do.
void TurnOffSystemErrorBoxes();

// Writes `line` and a line break where a person can read what a run that shows no windows has
// to say: standard error on POSIX; nowhere on Windows, where the tool is a GUI program without a
// console.
void WriteUnshownLine(std::string_view line);
