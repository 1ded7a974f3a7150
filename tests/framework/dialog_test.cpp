// The modal dialog class, its data exchange and the combo box, run through the scripted window
// system: the order of initialisation, exchange and centring, what OK and Cancel store, and
// that no control keeps a window that has gone.
#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/combo_box.h"
#include "framework/list_dialog.h"
#include "framework/memory_windows.h"
#include "support/scripted_window_system.h"

namespace {

using test::CListDialog;
using test::kLabelId;
using test::kListId;

struct ModalCase {
  const char* name;
  test::DialogAnswer answer;
  int result;
  int index;
  std::vector<std::string> steps;
};

TEST(DialogModalRun, InitializesExchangesAndEndsAsAnswered) {
  const ModalCase cases[] = {
      {"OK untouched", test::DialogAnswer::Ok(), IDOK, 1, {"init", "load", "save"}},
      {"OK after a pick", test::DialogAnswer::Pick(kListId, 2), IDOK, 2, {"init", "load", "save"}},
      {"Cancel after a pick",
       test::DialogAnswer::Pick(kListId, 2, IDCANCEL),
       IDCANCEL,
       1,
       {"init", "load"}},
      {"Cancel", test::DialogAnswer::Cancel(), IDCANCEL, 1, {"init", "load"}},
      {"window fails to open", test::DialogAnswer::FailToOpen(), -1, 1, {}},
  };
  for (const ModalCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::ScriptedWindowSystem windows;
    windows.AnswerDialogs({c.answer});
    CListDialog dialog;

    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_EQ(dialog.index, c.index);
    EXPECT_EQ(dialog.steps, c.steps);
    // The window has gone; so has the list's hold on it.
    EXPECT_FALSE(dialog.list.IsAttached());
    EXPECT_EQ(dialog.GetDlgItem(kListId), nullptr);

    ASSERT_EQ(windows.Dialogs().size(), 1u);
    const test::ShownDialog& shown = windows.Dialogs()[0];
    EXPECT_EQ(shown.templateId, test::kListDialogTemplate);
    if (c.result == -1) {
      EXPECT_TRUE(shown.controls.empty());
      continue;
    }
    EXPECT_TRUE(shown.centeredAfterInit);
    const test::ShownControl& list = shown.controls.at(kListId);
    EXPECT_EQ(list.items, (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_EQ(list.selection, 1);
    EXPECT_EQ(shown.controls.at(kLabelId).text, "Pick one:");
  }
}

// The answers the framework's combo box gets from an in-memory list, which the terminal front
// end and the tests' windows use: those of the platform's list.
TEST(ComboBox, AnswersAsThePlatformsListDoes) {
  CListDialog dialog;
  CMemoryDialogWindow window;
  CComboBox other;
  dialog.InitializeWindow(&window);
  EXPECT_FALSE(other.SubclassDlgItem(kListId, &dialog));  // no such control
  window.AddControl(kListId);
  ASSERT_TRUE(other.SubclassDlgItem(kListId, &dialog));
  EXPECT_EQ(other.AddString("alpha"), 0);
  EXPECT_EQ(other.AddString("beta"), 1);  // appended: the list does not sort

  const int cases[][3] = {
      // index, answer, current afterwards
      {1, 1, 1}, {0, 0, 0}, {2, CB_ERR, CB_ERR}, {1, 1, 1}, {-1, CB_ERR, CB_ERR},
  };
  for (const auto& [index, answer, current] : cases) {
    SCOPED_TRACE(index);
    EXPECT_EQ(other.SetCurSel(index), answer);
    EXPECT_EQ(other.GetCurSel(), current);
  }
  dialog.ReleaseWindow();
  EXPECT_FALSE(other.IsAttached());
  EXPECT_EQ(other.AddString("gamma"), 0);  // a message to no window answers 0
}

TEST(MessageBoxSeam, ShowsThroughTheWindowSystemInUseAndAnswersInOrder) {
  CWindowSystem* const platform = &PlatformWindowSystem();
  {
    test::ScriptedWindowSystem windows;
    EXPECT_EQ(&CurrentWindowSystem(), &windows);
    windows.AnswerMessageBoxes({IDCANCEL});
    EXPECT_EQ(ShowMessageBox("Overwrite?", "Question", MB_OKCANCEL | MB_ICONWARNING), IDCANCEL);
    EXPECT_EQ(ShowMessageBox("Done.", "Note", MB_OK), IDOK);

    ASSERT_EQ(windows.MessageBoxes().size(), 2u);
    EXPECT_EQ(windows.MessageBoxes()[0].text, "Overwrite?");
    EXPECT_EQ(windows.MessageBoxes()[0].title, "Question");
    EXPECT_EQ(windows.MessageBoxes()[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING));
    EXPECT_EQ(windows.Events(),
              (std::vector<std::string>{"message box: Question", "message box: Note"}));
  }
  EXPECT_EQ(&CurrentWindowSystem(), platform);
}

}  // namespace
