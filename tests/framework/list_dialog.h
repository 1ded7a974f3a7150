// A dialog for the framework's tests: it lists names (three unless told), exchanges a position
// with its list and shows a fixed label, and notes each step the framework takes it through.
#pragma once

#include <string>
#include <vector>

#include "framework/combo_box.h"
#include "framework/dialog.h"

namespace test {

constexpr UINT kListDialogTemplate = 500;
constexpr int kListId = 10;
constexpr int kLabelId = 11;

class CListDialog final : public CDialog {
 public:
  CListDialog() : CDialog(kListDialogTemplate) {}

  int index = 1;      // not the first, so that a position that is not stored stands out
  std::string steps;  // "init", "load", "save", in the order taken
  std::vector<std::string> names = {"alpha", "beta", "gamma"};
  CComboBox list;

 protected:
  BOOL OnInitDialog() override {
    steps += "init ";
    list.SubclassDlgItem(kListId, this);
    for (const std::string& name : names) {
      list.AddString(name.c_str());
    }
    CDialog::OnInitDialog();
    return TRUE;
  }

  void DoDataExchange(CDataExchange* exchange) override {
    steps += exchange->saving ? "save " : "load ";
    DDX_Text(exchange, kLabelId, "Pick one:");
    DDX_CBIndex(exchange, kListId, index);
  }
};

}  // namespace test
