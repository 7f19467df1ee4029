#pragma once
// Owner-drawn items (buttons, list and combo boxes, menus): WM_DRAWITEM in plain words, drawn
// through a buffer, and WM_MEASUREITEM sizes from texts.

#include <windows.h>

#include <string>

#include "platform/wingui/gdi.h"

namespace wingui {

// One item to draw. dc() is a buffer over the item's rectangle in the control's coordinates;
// the finished item is copied to the control when this goes.
class OwnerDrawItem {
 public:
  explicit OwnerDrawItem(const DRAWITEMSTRUCT& item) : item_(item), buffer_(item.hDC, item.rcItem) {}

  HDC dc() const { return buffer_.dc(); }
  const RECT& rect() const { return item_.rcItem; }
  // The item's index in its list (-1: an empty list's focus rectangle); a menu's command id.
  int index() const { return static_cast<int>(item_.itemID); }
  ULONG_PTR data() const { return item_.itemData; }
  int controlId() const { return static_cast<int>(item_.CtlID); }
  // ODT_BUTTON, ODT_LISTBOX, ODT_COMBOBOX, ODT_MENU...
  UINT controlType() const { return item_.CtlType; }

  bool selected() const { return (item_.itemState & ODS_SELECTED) != 0; }
  bool focused() const { return (item_.itemState & ODS_FOCUS) != 0; }
  bool disabled() const { return (item_.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0; }
  bool checked() const { return (item_.itemState & ODS_CHECKED) != 0; }
  // Only the focus changed: a focus rectangle is enough.
  bool focusOnly() const { return item_.itemAction == ODA_FOCUS; }

  // The item's face: the selection colours when selected, else the window colours (of the
  // system), with its text in them.
  void FillFace() const;
  void DrawText(const std::string& text, UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE) const;
  void DrawFocus() const;

 private:
  const DRAWITEMSTRUCT item_;
  BufferedPaint buffer_;
};

// WM_MEASUREITEM: the size of the text in the font (null: the dialog font) as measured on the
// window's DC, plus padding on each side.
void MeasureTextItem(MEASUREITEMSTRUCT& item, HWND window, HFONT font, const std::string& text,
                     int padX = 0, int padY = 0);

}  // namespace wingui
