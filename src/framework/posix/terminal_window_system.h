// The POSIX window system: message boxes and dialogs in the terminal. It talks to a terminal
// device (the controlling terminal, /dev/tty, for the platform's window system), not to standard
// input and output, so it works when those are redirected. Without a terminal, message boxes are
// written to a fallback descriptor (standard error) and answered without a person: OK for a box
// with only an OK button, Cancel for a question, and dialogs do not open.
// docs/terminal-front-end.md describes what the user sees and which keys answer.
#pragma once

#include <string>

#include "framework/dialog_template.h"
#include "framework/window_system.h"

class CTerminalWindowSystem final : public CWindowSystem {
 public:
  // `terminalPath` is opened anew for each message box and dialog; `findTemplate` gives the
  // dialogs' templates; `fallbackDescriptor` receives what cannot be shown.
  CTerminalWindowSystem(std::string terminalPath, DialogTemplateLookup findTemplate,
                        int fallbackDescriptor);

  int ShowMessageBox(const char* text, const char* title, UINT style) override;
  int RunModalDialog(CDialog& dialog) override;

 private:
  std::string terminalPath_;
  DialogTemplateLookup findTemplate_;
  int fallbackDescriptor_;
};
