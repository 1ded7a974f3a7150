// The Windows window system with a real dialog template, driven from a second thread as a person
// would answer it: the controls hold what the dialog put there, the window is centred, and OK,
// Cancel and Escape end it as they should.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
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

std::string ItemText(HWND window, int id) {
  char text[256] = "";
  GetDlgItemTextA(window, id, text, sizeof text);
  return text;
}

struct AnswerCase {
  const char* name;
  int pick;  // -1: no change
  void (*answer)(HWND window);
  int result;
  int index;
};

TEST(Win32Dialog, ShowsWhatTheDialogSetUpCentredAndEndsAsAnswered) {
  const AnswerCase cases[] = {
      {"OK after a pick", 2, [](HWND w) { PostMessageA(w, WM_COMMAND, IDOK, 0); }, IDOK, 2},
      {"OK untouched", -1, [](HWND w) { PostMessageA(w, WM_COMMAND, IDOK, 0); }, IDOK, 1},
      {"Cancel after a pick", 0, [](HWND w) { PostMessageA(w, WM_COMMAND, IDCANCEL, 0); }, IDCANCEL,
       1},
      {"Escape", 0,
       [](HWND w) { PostMessageA(GetDlgItem(w, test::kListId), WM_KEYDOWN, VK_ESCAPE, 0); },
       IDCANCEL, 1},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::CListDialog dialog;
    std::string label;
    LRESULT count = 0;
    LRESULT selection = 0;
    RECT window{};
    std::thread person([&]() {
      HWND shown = WaitForWindow("Test Caption");
      if (shown == nullptr) {
        return;
      }
      label = ItemText(shown, test::kLabelId);
      count = SendDlgItemMessageA(shown, test::kListId, CB_GETCOUNT, 0, 0);
      selection = SendDlgItemMessageA(shown, test::kListId, CB_GETCURSEL, 0, 0);
      GetWindowRect(shown, &window);
      if (c.pick >= 0) {
        SendDlgItemMessageA(shown, test::kListId, CB_SETCURSEL, c.pick, 0);
      }
      c.answer(shown);
    });
    const int result = dialog.DoModal();
    person.join();

    EXPECT_EQ(result, c.result);
    EXPECT_EQ(dialog.index, c.index);
    EXPECT_EQ(label, "Pick one:");
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
