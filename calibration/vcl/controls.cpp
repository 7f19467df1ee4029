// Child controls over plain Win32.
#include "calibration/vcl/controls.h"

#include <commctrl.h>

#include <algorithm>

namespace vcl {

Control::Control(HWND parent, int id, const char* windowClass, DWORD style, const Bounds& bounds,
                 const std::string& text, HFONT font)
    : id_(id), caption_(text), visible_((style & WS_VISIBLE) != 0), bounds_(bounds), font_(font) {
  hwnd_ = CreateWindowExA(0, windowClass, text.c_str(), WS_CHILD | style, bounds.left, bounds.top,
                          bounds.width, bounds.height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleA(nullptr), nullptr);
  if (hwnd_ && font) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void Control::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  SetWindowTextA(hwnd_, caption.c_str());
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnableWindow(hwnd_, enabled);
}

void Control::SetBounds(const Bounds& b) {
  if (b.left == bounds_.left && b.top == bounds_.top && b.width == bounds_.width &&
      b.height == bounds_.height)
    return;
  bounds_ = b;
  MoveWindow(hwnd_, b.left, b.top, b.width, b.height, TRUE);
}

void Control::Focus() { SetFocus(hwnd_); }

void Control::SetFont(HFONT font) {
  font_ = font;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

Label::Label(HWND parent, int id, const Bounds& bounds, const std::string& text, HFONT font,
             Sizing sizing, bool clickable)
    : Control(parent, id, "STATIC",
              WS_VISIBLE | SS_LEFT | SS_NOPREFIX | (clickable ? SS_NOTIFY : 0), bounds, text, font),
      sizing_(sizing) {
  Measure();
}

void Label::SetCaption(const std::string& caption) {
  Control::SetCaption(caption);
  Measure();
}

void Label::Measure() {
  if (sizing_ != Sizing::AutoSize || !hwnd_) return;
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, caption_.empty() ? " " : caption_.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_LEFT);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  SetBounds({bounds_.left, bounds_.top, caption_.empty() ? 0 : r.right, r.bottom});
}

Button::Button(HWND parent, int id, const Bounds& bounds, const std::string& text, HFONT font,
               int tag)
    : Control(parent, id, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, bounds, text, font),
      tag_(tag) {}

void Button::Click() {
  if (enabled_ && visible_ && onClick) onClick(*this);
}

ListBox::ListBox(HWND parent, int id, const Bounds& bounds, HFONT font)
    : Control(parent, id, "LISTBOX", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, bounds, "", font) {}

void ListBox::SetItems(const std::vector<std::string>& items) {
  if (items == items_) return;
  // Lists only grow or start again: add what is new, or fill afresh.
  size_t from = items_.size();
  if (items.size() < items_.size() || !std::equal(items_.begin(), items_.end(), items.begin())) {
    SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
    from = 0;
    selection_ = -1;
  }
  for (size_t i = from; i < items.size(); ++i)
    SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
  items_ = items;
}

void ListBox::SetSelection(int index) {
  if (index == selection_) return;
  selection_ = index;
  SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

StatusBar::StatusBar(HWND parent, int id, HFONT font)
    : Control(parent, id, STATUSCLASSNAMEA, WS_VISIBLE, Bounds{}, "", font) {
  int right = -1;
  SendMessageA(hwnd_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
}

void StatusBar::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  SendMessageA(hwnd_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(caption.c_str()));
}

}  // namespace vcl
