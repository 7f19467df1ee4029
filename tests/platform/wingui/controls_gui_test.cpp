// The control wrappers and menus on the controls of a real dialog: what is set reads back.
#include "platform/wingui/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/wingui/dialog.h"
#include "platform/wingui/list_view.h"
#include "platform/wingui/menu.h"
#include "platform/wingui/rich_edit.h"
#include "tests/platform/wingui/wingui_test_resources.h"
#include "tests/support/win_test.h"

using namespace wingui;

namespace {

class CommandLog : public Dialog {
 public:
  CommandLog() : Dialog(IDD_PROBE) {}
  std::vector<int> commands;

 protected:
  bool OnCommand(int id, int code, HWND control) override {
    if (code == BN_CLICKED) commands.push_back(id);
    return Dialog::OnCommand(id, code, control);
  }
};

class Controls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(LoadRichEdit());
    ASSERT_TRUE(InitCommonControls(ICC_LISTVIEW_CLASSES));
  }
  void SetUp() override { ASSERT_TRUE(dialog_.CreateModeless(nullptr)); }
  HWND dialog() const { return dialog_.hwnd(); }

  CommandLog dialog_;
};

TEST_F(Controls, ButtonsCheckAndClickAsTheUserWould) {
  const Button check(dialog(), IDC_CHECK);
  EXPECT_FALSE(check.IsChecked());
  check.SetChecked(true);
  EXPECT_TRUE(check.IsChecked());
  check.Click();  // an auto check box flips and tells its parent
  EXPECT_FALSE(check.IsChecked());
  EXPECT_EQ(dialog_.commands, std::vector<int>{IDC_CHECK});

  EXPECT_EQ(CheckedRadio(dialog(), IDC_RADIO_A, IDC_RADIO_B), 0);
  CheckRadio(dialog(), IDC_RADIO_A, IDC_RADIO_B, IDC_RADIO_A);
  EXPECT_EQ(CheckedRadio(dialog(), IDC_RADIO_A, IDC_RADIO_B), IDC_RADIO_A);
  Button(dialog(), IDC_RADIO_B).Click();
  EXPECT_EQ(CheckedRadio(dialog(), IDC_RADIO_A, IDC_RADIO_B), IDC_RADIO_B);
  EXPECT_FALSE(Button(dialog(), IDC_RADIO_A).IsChecked());

  check.Enable(false);
  EXPECT_FALSE(check.IsEnabled());
  EXPECT_EQ(check.Id(), IDC_CHECK);
}

TEST_F(Controls, EditsSelectAndReplace) {
  const Edit edit(dialog(), IDC_FIRST_EDIT);
  edit.SetText("hello world");
  edit.Select(6, 11);
  EXPECT_EQ(edit.Selection(), (TextRange{6, 11}));
  edit.SetModified(false);
  edit.ReplaceSelection("there");
  EXPECT_EQ(edit.Text(), "hello there");
  EXPECT_TRUE(edit.IsModified());
  edit.Select(0, -1);
  EXPECT_EQ(edit.Selection(), (TextRange{0, 11}));
  EXPECT_EQ(edit.LineCount(), 1);
}

// Combo boxes and list boxes go through the same table of cases.
void CheckItemList(const ItemList& list, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(list.Selection(), -1);
  EXPECT_EQ(list.Add("beta"), 0);
  EXPECT_EQ(list.Add("alpha"), 1);
  EXPECT_EQ(list.Insert(0, "zeta"), 0);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.ItemText(0), "zeta");
  EXPECT_EQ(list.ItemText(2), "alpha");
  EXPECT_EQ(list.ItemText(7), "");  // no such item
  list.SetItemData(1, 0x5150);
  EXPECT_EQ(list.ItemData(1), 0x5150);
  list.Select(1);
  EXPECT_EQ(list.Selection(), 1);
  EXPECT_EQ(list.FindExact("ALPHA"), 2);
  EXPECT_EQ(list.FindExact("alp"), -1);
  EXPECT_TRUE(list.Remove(0));
  EXPECT_FALSE(list.Remove(5));
  EXPECT_EQ(list.ItemText(0), "beta");
  list.Select(-1);
  EXPECT_EQ(list.Selection(), -1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(Controls, ComboAndListBoxesHoldItemsWithData) {
  CheckItemList(ComboBox(dialog(), IDC_COMBO), "combo box");
  CheckItemList(ListBox(dialog(), IDC_LIST), "list box");

  const ListBox multi(dialog(), IDC_MULTI_LIST);
  for (const char* text : {"a", "b", "c"}) multi.Add(text);
  multi.SetSelected(0, true);
  multi.SetSelected(2, true);
  EXPECT_EQ(multi.SelectedItems(), (std::vector<int>{0, 2}));
  EXPECT_TRUE(ListBox(dialog(), IDC_LIST).SelectedItems().empty());
}

TEST_F(Controls, RichEditsHoldWideTextFormatsAndStreams) {
  const RichEdit rich(dialog(), IDC_RICH);
  rich.SetText("abc def");
  EXPECT_EQ(rich.Text(), "abc def");
  EXPECT_EQ(rich.TextLength(), 7);
  rich.Select(4, 7);
  EXPECT_EQ(rich.Selection(), (TextRange{4, 7}));
  EXPECT_EQ(rich.TextOfRange(0, 3), "abc");

  CharFormat bold;
  bold.mask = CFM_BOLD | CFM_COLOR;
  bold.effects = CFE_BOLD;
  bold.color = RGB(200, 0, 0);
  ASSERT_TRUE(rich.SetCharFormat(bold));
  const CharFormat got = rich.GetCharFormat();
  EXPECT_TRUE(got.mask & CFM_BOLD);
  EXPECT_TRUE(got.effects & CFE_BOLD);
  EXPECT_EQ(got.color, RGB(200, 0, 0));
  rich.Select(0, 3);
  EXPECT_FALSE(rich.GetCharFormat().effects & CFE_BOLD);

  // Characters outside the ANSI code page, as the macro boxes show them.
  const std::wstring arrows = L"a\u2193b";
  rich.SetTextWide(arrows);
  EXPECT_EQ(rich.TextWide(), arrows);
  EXPECT_EQ(rich.TextLength(), 3);
  rich.Select(3, 3);
  rich.ReplaceSelectionWide(L"\u2191");
  EXPECT_EQ(rich.TextWide(), L"a\u2193b\u2191");

  // Plain text in and out; a line end counts as one position.
  ASSERT_TRUE(rich.StreamInText("line one\r\nline two"));
  EXPECT_EQ(rich.StreamOutText(), "line one\r\nline two");
  EXPECT_EQ(rich.TextLength(), 17);
  EXPECT_EQ(rich.TextWide(), L"line one\rline two");
  rich.Select(5, 8);
  ASSERT_TRUE(rich.StreamInText("1", true));
  EXPECT_EQ(rich.StreamOutText(), "line 1\r\nline two");
  rich.Select(0, 4);
  EXPECT_EQ(rich.StreamOutText(true), "line");

  rich.SetEventMask(ENM_SELCHANGE | ENM_CHANGE);
  EXPECT_EQ(rich.EventMask(), static_cast<DWORD>(ENM_SELCHANGE | ENM_CHANGE));
}

TEST_F(Controls, ListViewsHoldRowsOfCells) {
  const ListView list(dialog(), IDC_LIST_VIEW);
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  EXPECT_EQ(list.AddColumn("Name", 80), 0);
  EXPECT_EQ(list.AddColumn("Value", 80), 1);
  EXPECT_EQ(list.ColumnCount(), 2);
  EXPECT_EQ(list.AddRow("first", 10), 0);
  EXPECT_EQ(list.AddRow("second", 11), 1);
  EXPECT_TRUE(list.SetCell(0, 1, "one"));
  const std::string longText(700, 'x');  // longer than the first buffer
  EXPECT_TRUE(list.SetCell(1, 1, longText));
  EXPECT_EQ(list.Cell(0, 0), "first");
  EXPECT_EQ(list.Cell(0, 1), "one");
  EXPECT_EQ(list.Cell(1, 1), longText);
  EXPECT_EQ(list.RowData(1), 11);
  EXPECT_EQ(list.SelectedRow(), -1);
  list.SelectRow(1);
  EXPECT_EQ(list.SelectedRow(), 1);
  list.SelectRow(-1);
  EXPECT_EQ(list.SelectedRow(), -1);
  EXPECT_TRUE(list.RemoveRow(0));
  EXPECT_EQ(list.RowCount(), 1);
  EXPECT_EQ(list.Cell(0, 0), "second");
  list.Clear();
  EXPECT_EQ(list.RowCount(), 0);
}

TEST_F(Controls, MenusChangeByIdAndByPosition) {
  OwnedMenu bar = OwnedMenu::Load(IDM_PROBE);
  ASSERT_TRUE(bar);
  const Menu file = bar.get().SubMenu(0);
  ASSERT_EQ(file.Count(), 3);
  EXPECT_EQ(file.TextAt(0), "One");
  EXPECT_EQ(file.IdAt(1), static_cast<UINT>(IDM_PROBE_TWO));
  EXPECT_TRUE(file.IsChecked(IDM_PROBE_TWO));
  EXPECT_FALSE(file.IsCheckedAt(0));
  EXPECT_TRUE(file.Check(IDM_PROBE_ONE, true));
  EXPECT_TRUE(file.IsCheckedAt(0));
  EXPECT_TRUE(file.CheckAt(1, false));
  EXPECT_FALSE(file.IsChecked(IDM_PROBE_TWO));

  // Ids reach into popups; positions do not.
  EXPECT_FALSE(bar.get().IsEnabled(IDM_PROBE_INNER));
  EXPECT_TRUE(bar.get().Enable(IDM_PROBE_INNER, true));
  EXPECT_TRUE(file.SubMenu(2).IsEnabledAt(0));
  EXPECT_FALSE(file.IsEnabled(39999));  // no such item
  EXPECT_FALSE(file.IsChecked(39999));

  EXPECT_TRUE(file.SetItemAt(0, 40005, "Uno"));
  EXPECT_EQ(file.IdAt(0), 40005u);
  EXPECT_EQ(file.Text(40005), "Uno");
  EXPECT_FALSE(file.IsCheckedAt(0));
  EXPECT_TRUE(file.SetText(IDM_PROBE_TWO, "Dos"));
  EXPECT_EQ(file.TextAt(1), "Dos");

  OwnedMenu popup = OwnedMenu::Popup();
  popup.get().Append(40020, "Layer");
  popup.get().AppendSeparator();
  EXPECT_TRUE(file.AppendPopup("Layers", std::move(popup)));
  EXPECT_FALSE(popup);  // handed over to the File menu
  EXPECT_EQ(file.Count(), 4);
  EXPECT_EQ(file.SubMenu(3).Count(), 2);
  EXPECT_TRUE(file.InsertAt(0, 40021, "First"));
  EXPECT_EQ(file.TextAt(0), "First");
  EXPECT_TRUE(file.DeleteAt(4));
  EXPECT_TRUE(file.Delete(40021));
  EXPECT_EQ(file.Count(), 3);

  ASSERT_TRUE(SetWindowMenu(dialog(), std::move(bar)));
  EXPECT_EQ(Menu::OfWindow(dialog()).SubMenu(0).TextAt(0), "Uno");
}

TEST_F(Controls, TheProbeDialogPicture) {
  Edit(dialog(), IDC_FIRST_EDIT).SetText("first");
  ComboBox(dialog(), IDC_COMBO).Add("combo");
  ComboBox(dialog(), IDC_COMBO).Select(0);
  RichEdit(dialog(), IDC_RICH).SetTextWide(L"Rich \u2193 text");
  testsupport::PumpMessages(30);
  const std::string path = testsupport::SavePicture(dialog(), "wingui_probe_dialog");
  ASSERT_FALSE(path.empty());
  std::string bytes(8, '\0');
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::fread(bytes.data(), 1, 8, f), 8u);
  std::fclose(f);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
}

}  // namespace
