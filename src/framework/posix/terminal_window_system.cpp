// Message boxes and dialogs in the terminal.
#include "framework/posix/terminal_window_system.h"

#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "framework/in_memory_windows.h"
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
  return std::string("== ") + (warning ? "(!) " : "") + Printable(title, false) + " ==";
}

// A message box as text: its title, with the warning marker for the warning icon, and its text
// with its line breaks.
std::string MessageBody(const char* text, const char* title, UINT style) {
  const bool warning = (style & MB_ICONMASK) == MB_ICONWARNING;
  return TitleLine(title != nullptr ? title : "", warning) + "\n" +
         Printable(text != nullptr ? text : "", true) + "\n";
}

const char* AnswerWord(int answer) {
  return answer == IDOK ? " -> OK\n" : " -> Cancel\n";
}

// Draws a dialog in the terminal, line by line: the caption, then each control in the template's
// order, and last the buttons and the keys, on as many lines as the width needs. Everything
// from the list down is drawn again when the selection moves. The terminal's size is taken when
// the dialog opens: every line is cut to its width, so that none wraps and the cursor can go
// back up over them, and the list shows only as many names, around the selection, as leave the
// caption and the keys on a screen of its height.
class CTerminalDialogView {
 public:
  CTerminalDialogView(CTerminal& terminal, const CDialogTemplate& dialogTemplate,
                      CMemoryDialogWindow& window)
      : terminal_(terminal),
        template_(dialogTemplate),
        window_(window),
        width_(terminal.Width()),
        height_(terminal.Height()) {}

  void Draw() {
    const std::vector<std::string> lines = Lines();
    std::string out = "\n";
    for (size_t i = 0; i < lines.size(); ++i) {
      out += Fitted(lines[i]) + (i + 1 < lines.size() ? "\n" : "");
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
    std::vector<std::string> lines = {TitleLine(template_.caption, false)};
    std::vector<std::string> keys;
    const CMemoryControl* list = nullptr;
    size_t listStart = 0;
    for (size_t i = 0; i < template_.itemCount; ++i) {
      const CDialogItemTemplate& item = template_.items[i];
      const CMemoryControl& control = *window_.Control(item.id);
      switch (item.kind) {
        case CDialogItemTemplate::kStatic:
          lines.push_back(Printable(control.Text(), false));
          break;
        case CDialogItemTemplate::kComboBox:
          if (list == nullptr) {
            list = &control;
            listStart = lines.size();
          }
          break;
        case CDialogItemTemplate::kButton:
          keys.push_back("[ " + Printable(control.Text(), false) + " ]");
          break;
      }
    }
    if (list != nullptr) {
      keys.emplace_back("Up/Down or 1-9: choose");
    }
    keys.emplace_back("Enter: OK");
    keys.emplace_back("Esc: Cancel");
    const std::vector<std::string> footer = Wrapped(keys);
    liveStart_ = lines.size();
    if (list != nullptr) {
      const std::vector<std::string> shown = ListWindow(*list, lines.size() + footer.size());
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(listStart), shown.begin(),
                   shown.end());
      liveStart_ = listStart;
    }
    lines.insert(lines.end(), footer.begin(), footer.end());
    return lines;
  }

  // The list's lines that fit beside `otherLines` on the screen, at least one: the window that
  // shows the selection, moved only as far as the selection has left it.
  std::vector<std::string> ListWindow(const CMemoryControl& list, size_t otherLines) {
    const size_t count = list.Items().size();
    size_t visible = count;
    if (height_ > 0) {
      const size_t room = static_cast<size_t>(height_);
      visible = std::min(count, room > otherLines ? room - otherLines : 1);
    }
    const int selection = list.Selection();
    if (selection >= 0) {
      const size_t selected = static_cast<size_t>(selection);
      top_ = std::min(top_, selected);
      top_ = std::max(top_ + visible, selected + 1) - visible;
    }
    top_ = std::min(top_, count - visible);
    std::vector<std::string> lines;
    for (size_t index = top_; index < top_ + visible; ++index) {
      const bool current = static_cast<int>(index) == selection;
      lines.push_back((current ? " > " : "   ") + std::to_string(index + 1) + "  " +
                      Printable(list.Items()[index], false));
    }
    return lines;
  }

  // The pieces joined by two blanks, on as few lines of the terminal's width as hold them.
  std::vector<std::string> Wrapped(const std::vector<std::string>& pieces) const {
    std::vector<std::string> lines(1);
    for (const std::string& piece : pieces) {
      if (!lines.back().empty() && width_ > 1 &&
          lines.back().size() + 2 + piece.size() >= static_cast<size_t>(width_)) {
        lines.emplace_back();
      }
      lines.back() += (lines.back().empty() ? "" : "  ") + piece;
    }
    return lines;
  }

  std::string Fitted(const std::string& line) const {
    return width_ > 1 && line.size() >= static_cast<size_t>(width_)
               ? line.substr(0, static_cast<size_t>(width_) - 1)
               : line;
  }

  CTerminal& terminal_;
  const CDialogTemplate& template_;
  CMemoryDialogWindow& window_;
  const int width_;
  const int height_;
  size_t liveStart_ = 0;
  size_t top_ = 0;  // the first name of the list on the screen
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

CTerminalWindowSystem::CTerminalWindowSystem(std::string terminalPath,
                                             DialogTemplateLookup findTemplate,
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
                                               "\nNo terminal to show this dialog\n");
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

namespace {

DialogTemplateLookup g_programTemplates = nullptr;

}  // namespace

void UseDialogTemplates(DialogTemplateLookup findTemplate) {
  g_programTemplates = findTemplate;
}

CWindowSystem& PlatformWindowSystem() {
  static CTerminalWindowSystem windowSystem(
      "/dev/tty",
      [](UINT templateId) {
        return g_programTemplates != nullptr ? g_programTemplates(templateId) : nullptr;
      },
      STDERR_FILENO);
  return windowSystem;
}

void WriteUnshownLine(std::string_view line) {
  WriteToDescriptor(STDERR_FILENO, std::string(line) + "\n");
}

void TurnOffSystemErrorBoxes() {}
