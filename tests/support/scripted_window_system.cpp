#include "support/scripted_window_system.h"

#include <gtest/gtest.h>

#include "framework/dialog.h"
#include "framework/memory_windows.h"

namespace test {

ScriptedWindowSystem::ScriptedWindowSystem() : previous_(ReplaceWindowSystem(this)) {}

ScriptedWindowSystem::~ScriptedWindowSystem() {
  ReplaceWindowSystem(previous_);
}

void ScriptedWindowSystem::AnswerMessageBoxes(std::initializer_list<int> answers) {
  messageBoxAnswers_.insert(messageBoxAnswers_.end(), answers);
}

void ScriptedWindowSystem::AnswerDialogs(std::initializer_list<DialogAnswer> answers) {
  dialogAnswers_.insert(dialogAnswers_.end(), answers);
}

int ScriptedWindowSystem::ShowMessageBox(const char* text, const char* title, UINT style) {
  messageBoxes_.push_back({text, title, style});
  events_.push_back(std::string("message box: ") + title);
  if (messageBoxAnswers_.empty()) {
    return IDOK;
  }
  const int answer = messageBoxAnswers_.front();
  messageBoxAnswers_.pop_front();
  return answer;
}

int ScriptedWindowSystem::RunModalDialog(CDialog& dialog) {
  DialogAnswer answer = DialogAnswer::Cancel();
  if (!dialogAnswers_.empty()) {
    answer = dialogAnswers_.front();
    dialogAnswers_.pop_front();
  }
  events_.push_back("dialog " + std::to_string(dialog.TemplateId()));
  ShownDialog shown{dialog.TemplateId(), answer.command != -1, {}, false};
  if (!shown.opened) {
    dialogs_.push_back(shown);
    return -1;
  }
  CMemoryDialogWindow window(true);
  bool answered = false;
  const auto recordInitializedWindow = [&]() {
    for (const auto& [id, control] : window.Controls()) {
      shown.controls[id] = {control->Text(), control->Items(), control->Selection()};
    }
    shown.centeredAfterInit = window.IsCentered();
  };
  const int result = RunMemoryDialog(dialog, window, [&]() {
    if (answered) {
      ADD_FAILURE() << "dialog " << dialog.TemplateId() << " did not end on its command";
      return IDCANCEL;
    }
    answered = true;
    recordInitializedWindow();
    if (answer.listId != 0) {
      window.AddControl(answer.listId).Send(CB_SETCURSEL, static_cast<uintptr_t>(answer.item), 0);
    }
    return answer.command;
  });
  if (!answered) {
    recordInitializedWindow();  // the dialog ended itself while it was initialised
  }
  dialogs_.push_back(shown);
  return result;
}

}  // namespace test
