#include "platform/wingui/owner_draw.h"

namespace wingui {

void OwnerDrawItem::FillFace() const {
  FillSolid(dc(), rect(), GetSysColor(selected() ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetTextColor(dc(), GetSysColor(disabled() ? COLOR_GRAYTEXT : selected() ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
}

void OwnerDrawItem::DrawText(const std::string& text, UINT format) const {
  DrawTextIn(dc(), text, rect(), format);
}

void OwnerDrawItem::DrawFocus() const {
  if (focused()) DrawFocusRect(dc(), &rect());
}

void MeasureTextItem(MEASUREITEMSTRUCT& item, HWND window, HFONT font, const std::string& text,
                     int padX, int padY) {
  WindowDc dc(window);
  SelectScope select(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  const SIZE size = TextExtent(dc.get(), text);
  item.itemWidth = static_cast<UINT>(size.cx + 2 * padX);
  item.itemHeight = static_cast<UINT>(size.cy + 2 * padY);
}

}  // namespace wingui
