// The Windows window system with a real dialog template, driven from a second thread as a person
// would answer it: the controls hold what the dialog put there, the window is centred, and OK,
// Cancel and Escape end it as they should.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "framework/list_dialog.h"

namespace {

// The visible dialog-class window with this caption, waited for up to 5 s; null when none came.
HWND WaitForWindow(const char* caption) {
  for (int tries = 0; tries < 100; ++tries) {
    HWND window = FindWindowA("#32770", caption);
    if (window != nullptr && IsWindowVisible(window)) {
      return window;
    }
    Sleep(50);
  }
  return nullptr;
}

TEST(Win32Dialog, ShowsWhatTheDialogSetUpCentredAndEndsAsAnswered) {
  const struct {
    const char* name;
    int pick;     // -1: no change
    int command;  // 0: the Escape key in the list
    int result;
    int index;
  } cases[] = {
      {"OK after a pick", 2, IDOK, IDOK, 2},
      {"OK untouched", -1, IDOK, IDOK, 1},
      {"Cancel after a pick", 0, IDCANCEL, IDCANCEL, 1},
      {"Escape", 0, 0, IDCANCEL, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::CListDialog dialog;
    char label[64] = "";
    LRESULT count = 0;
    LRESULT selection = 0;
    RECT window{};
    std::thread person([&]() {
      HWND shown = WaitForWindow("Test Caption");
      if (shown == nullptr) {
        return;
      }
      GetDlgItemTextA(shown, test::kLabelId, label, sizeof label);
      count = SendDlgItemMessageA(shown, test::kListId, CB_GETCOUNT, 0, 0);
      selection = SendDlgItemMessageA(shown, test::kListId, CB_GETCURSEL, 0, 0);
      GetWindowRect(shown, &window);
      if (c.pick >= 0) {
        SendDlgItemMessageA(shown, test::kListId, CB_SETCURSEL, c.pick, 0);
      }
      if (c.command != 0) {
        PostMessageA(shown, WM_COMMAND, c.command, 0);
      } else {
        PostMessageA(GetDlgItem(shown, test::kListId), WM_KEYDOWN, VK_ESCAPE, 0);
      }
    });
    const int result = dialog.DoModal();
    person.join();

    EXPECT_EQ(result, c.result);
    EXPECT_EQ(dialog.index, c.index);
    EXPECT_STREQ(label, "Pick one:");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(selection, 1);
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((window.left + window.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (area.top + area.bottom) / 2, 1);
    EXPECT_FALSE(dialog.list.IsAttached());
  }
}

TEST(Win32Dialog, TemplateTheExecutableDoesNotCarryFailsToOpen) {
  CDialog dialog(999);
  EXPECT_EQ(dialog.DoModal(), -1);
}

}  // namespace
