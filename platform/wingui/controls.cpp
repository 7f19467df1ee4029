#include "platform/wingui/controls.h"

#include <commctrl.h>

#include "platform/wingui/window_text.h"

namespace wingui {
namespace {

constexpr ItemList::Messages kComboMessages{
    CB_ADDSTRING,  CB_INSERTSTRING, CB_DELETESTRING,  CB_RESETCONTENT, CB_GETCOUNT,
    CB_GETCURSEL,  CB_SETCURSEL,    CB_GETLBTEXT,     CB_GETLBTEXTLEN, CB_GETITEMDATA,
    CB_SETITEMDATA, CB_FINDSTRINGEXACT};
constexpr ItemList::Messages kListBoxMessages{
    LB_ADDSTRING,  LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
    LB_GETCURSEL,  LB_SETCURSEL,    LB_GETTEXT,      LB_GETTEXTLEN,   LB_GETITEMDATA,
    LB_SETITEMDATA, LB_FINDSTRINGEXACT};

LPARAM TextParam(const std::string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

}  // namespace

bool InitCommonControls(DWORD classes) {
  INITCOMMONCONTROLSEX init{sizeof init, classes};
  return InitCommonControlsEx(&init) != 0;
}

std::string Control::Text() const { return WindowTextOf(hwnd_); }

void Control::SetText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }

void Control::SetFont(HFONT font, bool redraw) const {
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

int CheckedRadio(HWND parent, int firstId, int lastId) {
  for (int id = firstId; id <= lastId; ++id)
    if (IsDlgButtonChecked(parent, id) == BST_CHECKED) return id;
  return 0;
}

void CheckRadio(HWND parent, int firstId, int lastId, int id) {
  CheckRadioButton(parent, firstId, lastId, id);
}

TextRange Edit::Selection() const {
  DWORD start = 0, end = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

void Edit::ReplaceSelection(const std::string& text, bool undoable) const {
  Send(EM_REPLACESEL, undoable, TextParam(text));
}

int Edit::LineFromChar(int position) const {
  return static_cast<int>(Send(EM_LINEFROMCHAR, static_cast<WPARAM>(position)));
}

int ItemList::Add(const std::string& text) const {
  const auto index = static_cast<int>(Send(m_->add, 0, TextParam(text)));
  return index < 0 ? -1 : index;
}

int ItemList::Insert(int index, const std::string& text) const {
  const auto at = static_cast<int>(Send(m_->insert, static_cast<WPARAM>(index), TextParam(text)));
  return at < 0 ? -1 : at;
}

bool ItemList::Remove(int index) const {
  return static_cast<int>(Send(m_->remove, static_cast<WPARAM>(index))) >= 0;
}

std::string ItemList::ItemText(int index) const {
  const auto length = static_cast<int>(Send(m_->getTextLength, static_cast<WPARAM>(index)));
  if (length < 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const auto got = static_cast<int>(
      Send(m_->getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data())));
  text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return text;
}

void ItemList::SetItemData(int index, LPARAM data) const {
  Send(m_->setItemData, static_cast<WPARAM>(index), data);
}

int ItemList::FindExact(const std::string& text, int after) const {
  const auto index = static_cast<int>(Send(m_->findExact, static_cast<WPARAM>(after), TextParam(text)));
  return index < 0 ? -1 : index;
}

ComboBox::ComboBox(HWND hwnd) : ItemList(hwnd, kComboMessages) {}

ListBox::ListBox(HWND hwnd) : ItemList(hwnd, kListBoxMessages) {}

std::vector<int> ListBox::SelectedItems() const {
  const auto count = static_cast<int>(Send(LB_GETSELCOUNT));
  if (count <= 0) return {};
  std::vector<int> items(static_cast<std::size_t>(count));
  const auto got = static_cast<int>(
      Send(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(items.data())));
  items.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return items;
}

}  // namespace wingui
