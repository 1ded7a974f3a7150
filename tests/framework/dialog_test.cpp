// The modal dialog class and its data exchange, run through the scripted window system: the order
// of initialisation, exchange and centring, what OK and Cancel store, and that no control keeps a
// window that has gone.
#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/list_dialog.h"
#include "support/scripted_window_system.h"

namespace {

using test::CListDialog;
using test::kLabelId;
using test::kListId;

TEST(DialogModalRun, InitializesExchangesAndEndsAsAnswered) {
  using test::DialogAnswer;
  const struct {
    const char* name;
    DialogAnswer answer;
    int result;
    int index;
    const char* steps;
  } cases[] = {
      {"OK after a pick", DialogAnswer::Pick(kListId, 2), IDOK, 2, "init load save "},
      {"Cancel after a pick", DialogAnswer::Pick(kListId, 2, IDCANCEL), IDCANCEL, 1, "init load "},
      {"window fails to open", DialogAnswer::FailToOpen(), -1, 1, ""},
  };
  for (const auto& c : cases) {
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

}  // namespace
