// Message boxes and dialogs in the terminal.
#include "framework/posix/terminal_window_system.h"

#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "framework/memory_windows.h"
#include "framework/posix/terminal.h"

namespace {

// Texts come from the command line and from files: a control character in them would be taken
// by the terminal as a command, so each is shown as '?'. Line feeds stay line breaks where the
// text has room for them, and become blanks where it has not.
std::string Printable(std::string_view text, bool keepLineBreaks) {
  std::string printable(text);
  for (char& c : printable) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      c = keepLineBreaks ? '\n' : ' ';
    } else if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
      c = '?';
    }
  }
  return printable;
}

std::string TitleLine(const char* title, bool warning) {
  return std::string("== ") + (warning ? "(!) " : "") + Printable(title, false) + " ==\n";
}

// A message box as text: its title, with the warning marker for the warning icon, and its text
// with its line breaks.
std::string MessageBody(const char* text, const char* title, UINT style) {
  const bool warning = (style & MB_ICONMASK) == MB_ICONWARNING;
  return TitleLine(title != nullptr ? title : "", warning) +
         Printable(text != nullptr ? text : "", true) + "\n";
}

const char* AnswerWord(int answer) {
  return answer == IDOK ? " -> OK\n" : " -> Cancel\n";
}

// Draws a dialog in the terminal, line by line: the caption, then each control in the
// template's order, the buttons together on the last line. Everything from the list down is
// drawn again when the selection moves; those lines are cut to the terminal's width, so that
// none wraps and the cursor can go back up over them.
class CTerminalDialogView {
 public:
  CTerminalDialogView(CTerminal& terminal, const CDialogTemplate& dialogTemplate,
                      CMemoryDialogWindow& window)
      : terminal_(terminal), template_(dialogTemplate), window_(window) {}

  void Draw() {
    const std::vector<std::string> lines = Lines();
    std::string out = "\n" + TitleLine(template_.caption, false);
    for (size_t i = 0; i < lines.size(); ++i) {
      out += i >= liveStart_ ? Fitted(lines[i]) : lines[i];
      out += i + 1 < lines.size() ? "\n" : "";
    }
    terminal_.Write(out);
  }

  void Redraw() {
    const std::vector<std::string> lines = Lines();
    const size_t liveLines = lines.size() - liveStart_;
    std::string out = "\r";
    if (liveLines > 1) {
      out += "\x1b[" + std::to_string(liveLines - 1) + "A";
    }
    for (size_t i = liveStart_; i < lines.size(); ++i) {
      out += "\x1b[2K" + Fitted(lines[i]) + (i + 1 < lines.size() ? "\n" : "");
    }
    terminal_.Write(out);
  }

 private:
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    std::string buttons;
    bool hasList = false;
    liveStart_ = SIZE_MAX;
    for (size_t i = 0; i < template_.itemCount; ++i) {
      const CDialogItemTemplate& item = template_.items[i];
      const CMemoryControl& control = *window_.Control(item.id);
      switch (item.kind) {
        case CDialogItemTemplate::kStatic:
          lines.push_back(Printable(control.Text(), false));
          break;
        case CDialogItemTemplate::kComboBox:
          hasList = true;
          liveStart_ = std::min(liveStart_, lines.size());
          for (size_t index = 0; index < control.Items().size(); ++index) {
            const bool current = static_cast<int>(index) == control.Selection();
            lines.push_back((current ? " > " : "   ") + std::to_string(index + 1) + "  " +
                            Printable(control.Items()[index], false));
          }
          break;
        case CDialogItemTemplate::kButton:
          buttons += "[ " + Printable(control.Text(), false) + " ]  ";
          break;
      }
    }
    lines.push_back(buttons + (hasList ? "Up/Down or 1-9: choose  " : "") +
                    "Enter: OK  Esc: Cancel");
    liveStart_ = std::min(liveStart_, lines.size() - 1);
    return lines;
  }

  std::string Fitted(const std::string& line) const {
    const int width = terminal_.Width();
    return width > 1 && line.size() >= static_cast<size_t>(width)
               ? line.substr(0, static_cast<size_t>(width) - 1)
               : line;
  }

  CTerminal& terminal_;
  const CDialogTemplate& template_;
  CMemoryDialogWindow& window_;
  size_t liveStart_ = 0;
};

// The position the selection moves to for `key`, or -1 when the key does not move it.
int MovedSelection(TerminalKey key, char character, int selection, int count) {
  if (count == 0) {
    return -1;
  }
  switch (key) {
    case TerminalKey::kUp:
      return std::max(selection - 1, 0);
    case TerminalKey::kDown:
      return std::min(selection + 1, count - 1);
    case TerminalKey::kCharacter:
      if (character >= '1' && character <= '9' && character - '1' < count) {
        return character - '1';
      }
      return -1;
    default:
      return -1;
  }
}

bool IsOkKey(TerminalKey key, char character) {
  return key == TerminalKey::kEnter ||
         (key == TerminalKey::kCharacter && (character == 'o' || character == 'O'));
}

// Escape, `c`, Ctrl-C and a terminal that has gone.
bool IsCancelKey(TerminalKey key, char character) {
  return key == TerminalKey::kEscape || key == TerminalKey::kInterrupt ||
         key == TerminalKey::kEnd ||
         (key == TerminalKey::kCharacter && (character == 'c' || character == 'C'));
}

}  // namespace

CTerminalWindowSystem::CTerminalWindowSystem(std::string terminalPath, TemplateLookup findTemplate,
                                             int fallbackDescriptor)
    : terminalPath_(std::move(terminalPath)),
      findTemplate_(findTemplate),
      fallbackDescriptor_(fallbackDescriptor) {}

int CTerminalWindowSystem::ShowMessageBox(const char* text, const char* title, UINT style) {
  const bool question = (style & MB_TYPEMASK) == MB_OKCANCEL;
  // Without a person to answer, a question is never taken as a yes.
  const int unanswered = question ? IDCANCEL : IDOK;
  CTerminal terminal(terminalPath_.c_str());
  if (!terminal.IsOpen()) {
    WriteToDescriptor(fallbackDescriptor_,
                      MessageBody(text, title, style) +
                          (question ? "No terminal to answer this question: Cancel\n" : ""));
    return unanswered;
  }
  terminal.Write("\n" + MessageBody(text, title, style) +
                 (question ? "[ OK ]  [ Cancel ]  Enter: OK  Esc: Cancel" : "[ OK ]  Enter: OK"));
  int answer = 0;
  while (answer == 0) {
    const TerminalKey key = terminal.ReadKey();
    const char character = terminal.LastCharacter();
    if (IsOkKey(key, character)) {
      answer = IDOK;
    } else if (IsCancelKey(key, character)) {
      answer = unanswered;
    }
  }
  terminal.Write(AnswerWord(answer));
  return answer;
}

int CTerminalWindowSystem::RunModalDialog(CDialog& dialog) {
  const CDialogTemplate* dialogTemplate =
      findTemplate_ != nullptr ? findTemplate_(dialog.TemplateId()) : nullptr;
  if (dialogTemplate == nullptr) {
    return -1;
  }
  CTerminal terminal(terminalPath_.c_str());
  if (!terminal.IsOpen()) {
    WriteToDescriptor(fallbackDescriptor_, TitleLine(dialogTemplate->caption, false) +
                                               "No terminal to show this dialog\n");
    return -1;
  }
  CMemoryDialogWindow window;
  int listId = 0;
  for (size_t i = 0; i < dialogTemplate->itemCount; ++i) {
    const CDialogItemTemplate& item = dialogTemplate->items[i];
    window.AddControl(item.id).Send(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(item.text));
    if (item.kind == CDialogItemTemplate::kComboBox && listId == 0) {
      listId = item.id;
    }
  }
  CTerminalDialogView view(terminal, *dialogTemplate, window);
  bool drawn = false;
  const int result = RunMemoryDialog(dialog, window, [&]() {
    drawn ? view.Redraw() : view.Draw();
    drawn = true;
    for (;;) {
      const TerminalKey key = terminal.ReadKey();
      const char character = terminal.LastCharacter();
      if (IsOkKey(key, character)) {
        return IDOK;
      }
      if (IsCancelKey(key, character)) {
        return IDCANCEL;
      }
      CMemoryControl* list = window.Control(listId);
      if (list == nullptr) {
        continue;
      }
      const int moved =
          MovedSelection(key, character, list->Selection(), static_cast<int>(list->Items().size()));
      if (moved >= 0 && moved != list->Selection()) {
        // As the user's choice: the list changes, the dialog hears of it on OK.
        list->Send(CB_SETCURSEL, static_cast<uintptr_t>(moved), 0);
        view.Redraw();
      }
    }
  });
  terminal.Write(AnswerWord(result));
  return result;
}

CWindowSystem& PlatformWindowSystem() {
  static CTerminalWindowSystem windowSystem("/dev/tty", FindDialogTemplate, STDERR_FILENO);
  return windowSystem;
}
