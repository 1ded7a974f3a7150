// A window system for tests: it records every message box and dialog in the order shown and
// answers as the test told it, with no person and no screen. While it exists it is the window
// system in use; on both platforms the framework's dialogs run against in-memory controls.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/in_memory_windows.h"
#include "framework/window_system.h"

namespace test {

struct ShownMessageBox {
  std::string text;
  std::string title;
  UINT style;
};

// One control's list as the dialog had set it up when its initialisation was over.
struct ShownControl {
  std::vector<std::string> items;
  int selection;  // -1: none
};

// Every control the dialog asked for, by identifier; none: the dialog did not open.
using ShownDialog = std::map<int, ShownControl>;

// How the "user" answers a dialog: optionally picks an item in a list first, then presses OK
// or Cancel; or the window fails to open.
struct DialogAnswer {
  static DialogAnswer Ok() { return {IDOK, 0, 0}; }
  static DialogAnswer Cancel() { return {IDCANCEL, 0, 0}; }
  static DialogAnswer FailToOpen() { return {-1, 0, 0}; }
  // Selects item `item` of list `listId` (CB_SETCURSEL, as the user's choice), then presses OK.
  static DialogAnswer Pick(int listId, int item) { return {IDOK, listId, item}; }

  int command;  // IDOK, IDCANCEL or -1
  int listId;   // 0: no change of selection
  int item;
};

class ScriptedWindowSystem final : public CWindowSystem {
 public:
  ScriptedWindowSystem() : previous_(ReplaceWindowSystem(this)) {}
  ~ScriptedWindowSystem() { ReplaceWindowSystem(previous_); }
  ScriptedWindowSystem(const ScriptedWindowSystem&) = delete;
  ScriptedWindowSystem& operator=(const ScriptedWindowSystem&) = delete;

  // Answers for the message boxes to come, in order; a box beyond them is answered IDOK.
  void AnswerMessageBoxes(std::initializer_list<int> answers) {
    messageBoxAnswers_.insert(messageBoxAnswers_.end(), answers);
  }
  // Answers for the dialogs to come, in order; a dialog beyond them is cancelled.
  void AnswerDialogs(std::initializer_list<DialogAnswer> answers) {
    dialogAnswers_.insert(dialogAnswers_.end(), answers);
  }

  const std::vector<ShownMessageBox>& MessageBoxes() const { return messageBoxes_; }
  const std::vector<ShownDialog>& Dialogs() const { return dialogs_; }
  // Everything shown, in order: "message box: <title>" and "dialog <template id>".
  const std::vector<std::string>& Events() const { return events_; }

  int ShowMessageBox(const char* text, const char* title, UINT style) override {
    messageBoxes_.push_back({text, title, style});
    events_.push_back(std::string("message box: ") + title);
    return Next(messageBoxAnswers_, IDOK);
  }

  int RunModalDialog(CDialog& dialog) override {
    const DialogAnswer answer = Next(dialogAnswers_, DialogAnswer::Cancel());
    events_.push_back("dialog " + std::to_string(dialog.TemplateId()));
    ShownDialog shown;
    if (answer.command == -1) {
      dialogs_.push_back(shown);
      return -1;
    }
    CMemoryDialogWindow window(true);
    bool answered = false;
    const int result = RunMemoryDialog(dialog, window, [&]() {
      if (answered) {
        ADD_FAILURE() << "dialog " << dialog.TemplateId() << " did not end on its command";
        return IDCANCEL;
      }
      answered = true;
      for (const auto& [id, control] : window.Controls()) {
        shown[id] = {control->Items(), control->Selection()};
      }
      if (answer.listId != 0) {
        window.AddControl(answer.listId).Send(CB_SETCURSEL, static_cast<uintptr_t>(answer.item), 0);
      }
      return answer.command;
    });
    dialogs_.push_back(shown);
    return result;
  }

 private:
  template <typename Answer>
  static Answer Next(std::deque<Answer>& answers, Answer otherwise) {
    if (!answers.empty()) {
      otherwise = answers.front();
      answers.pop_front();
    }
    return otherwise;
  }

  CWindowSystem* previous_;
  std::deque<int> messageBoxAnswers_;
  std::deque<DialogAnswer> dialogAnswers_;
  std::vector<ShownMessageBox> messageBoxes_;
  std::vector<ShownDialog> dialogs_;
  std::vector<std::string> events_;
};

}  // namespace test
