#pragma once
// Thin wrappers over the standard controls: a view reads and sets them in plain words. They
// hold a handle only and never own the control (its parent destroys it).

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace wingui {

// Registers the common-control classes (ICC_LISTVIEW_CLASSES...) for the process.
bool InitCommonControls(DWORD classes);

class Control {
 public:
  Control() = default;
  explicit Control(HWND hwnd) : hwnd_(hwnd) {}
  // The control with this id in a dialog or window.
  Control(HWND parent, int id) : hwnd_(GetDlgItem(parent, id)) {}

  HWND hwnd() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }
  int Id() const { return GetDlgCtrlID(hwnd_); }

  std::string Text() const;
  void SetText(const std::string& text) const;
  void Enable(bool enabled = true) const { EnableWindow(hwnd_, enabled); }
  bool IsEnabled() const { return IsWindowEnabled(hwnd_) != 0; }
  void Show(bool visible = true) const { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
  bool IsVisible() const { return IsWindowVisible(hwnd_) != 0; }
  void Focus() const { SetFocus(hwnd_); }
  void SetFont(HFONT font, bool redraw = true) const;
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(hwnd_, msg, wParam, lParam);
  }

 protected:
  HWND hwnd_ = nullptr;
};

// Push buttons, check boxes and radio buttons.
class Button : public Control {
 public:
  using Control::Control;
  bool IsChecked() const { return CheckState() == BST_CHECKED; }
  void SetChecked(bool checked) const { SetCheckState(checked ? BST_CHECKED : BST_UNCHECKED); }
  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
  int CheckState() const { return static_cast<int>(Send(BM_GETCHECK)); }
  void SetCheckState(int state) const { Send(BM_SETCHECK, static_cast<WPARAM>(state)); }
  // As the user's click: the parent gets BN_CLICKED (an auto button also changes its check).
  void Click() const { Send(BM_CLICK); }
};

// The id of the checked radio button of firstId..lastId, or 0 when none is.
int CheckedRadio(HWND parent, int firstId, int lastId);
// Checks id and unchecks the others of firstId..lastId.
void CheckRadio(HWND parent, int firstId, int lastId, int id);

// Character positions [start, end) in a text control.
struct TextRange {
  int start = 0;
  int end = 0;
  bool operator==(const TextRange&) const = default;
};

class Edit : public Control {
 public:
  using Control::Control;
  TextRange Selection() const;
  // end -1: to the end of the text.
  void Select(int start, int end) const { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }
  void ReplaceSelection(const std::string& text, bool undoable = true) const;
  // 0: as much as the control can hold.
  void SetLimit(int chars) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
  void SetReadOnly(bool readOnly) const { Send(EM_SETREADONLY, readOnly); }
  bool IsModified() const { return Send(EM_GETMODIFY) != 0; }
  void SetModified(bool modified) const { Send(EM_SETMODIFY, modified); }
  int LineCount() const { return static_cast<int>(Send(EM_GETLINECOUNT)); }
  // The line of a character position, and the first position of a line (-1 past the end).
  int LineFromChar(int position) const;
  int LineIndex(int line) const { return static_cast<int>(Send(EM_LINEINDEX, static_cast<WPARAM>(line))); }
  void ScrollCaret() const { Send(EM_SCROLLCARET); }
};

// Combo boxes and list boxes: the same operations under different message numbers.
class ItemList : public Control {
 public:
  // The new item's index, or -1.
  int Add(const std::string& text) const;
  int Insert(int index, const std::string& text) const;
  bool Remove(int index) const;
  void Clear() const { Send(m_->reset); }
  int Count() const { return static_cast<int>(Send(m_->count)); }
  // The selected index, or -1 (the first selected of a multiple-selection list box is the
  // caret's; use ListBox::SelectedItems there).
  int Selection() const { return static_cast<int>(Send(m_->getCurSel)); }
  // -1 clears the selection.
  void Select(int index) const { Send(m_->setCurSel, static_cast<WPARAM>(index)); }
  std::string ItemText(int index) const;
  LPARAM ItemData(int index) const { return Send(m_->getItemData, static_cast<WPARAM>(index)); }
  void SetItemData(int index, LPARAM data) const;
  // The first item whose whole text equals text (case-insensitive) after index after, or -1.
  int FindExact(const std::string& text, int after = -1) const;

  struct Messages {
    UINT add, insert, remove, reset, count, getCurSel, setCurSel, getText, getTextLength,
        getItemData, setItemData, findExact;
  };

 protected:
  ItemList(HWND hwnd, const Messages& messages) : Control(hwnd), m_(&messages) {}

 private:
  const Messages* m_;
};

class ComboBox : public ItemList {
 public:
  ComboBox() : ComboBox(nullptr) {}
  explicit ComboBox(HWND hwnd);
  ComboBox(HWND parent, int id) : ComboBox(GetDlgItem(parent, id)) {}
  void ShowDropDown(bool shown) const { Send(CB_SHOWDROPDOWN, shown); }
};

class ListBox : public ItemList {
 public:
  ListBox() : ListBox(nullptr) {}
  explicit ListBox(HWND hwnd);
  ListBox(HWND parent, int id) : ListBox(GetDlgItem(parent, id)) {}
  // Multiple-selection list boxes.
  std::vector<int> SelectedItems() const;
  void SetSelected(int index, bool selected) const { Send(LB_SETSEL, selected, index); }
  int TopIndex() const { return static_cast<int>(Send(LB_GETTOPINDEX)); }
};

}  // namespace wingui
