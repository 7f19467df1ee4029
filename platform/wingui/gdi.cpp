#include "platform/wingui/gdi.h"

#include <cstring>

namespace wingui {

Pen MakePen(COLORREF color, int width, int style) { return Pen(CreatePen(style, width, color)); }

Brush MakeBrush(COLORREF color) { return Brush(CreateSolidBrush(color)); }

Font MakeFont(const std::string& face, int points, int weight, bool italic, HDC reference) {
  WindowDc screen(nullptr);
  const HDC dc = reference ? reference : screen.get();
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  // The face is cut to the field rather than overrun it.
  std::strncpy(lf.lfFaceName, face.c_str(), sizeof lf.lfFaceName - 1);
  return Font(CreateFontIndirectA(&lf));
}

DibBitmap::DibBitmap(int width, int height) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return;
  bits_ = static_cast<std::uint32_t*>(bits);
  old_ = SelectObject(dc_.get(), bitmap_.get());
}

DibBitmap::~DibBitmap() {
  if (old_) SelectObject(dc_.get(), old_);
}

COLORREF DibBitmap::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  const std::uint32_t p = bits_[static_cast<std::size_t>(y) * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

BufferedPaint::BufferedPaint(HDC target, const RECT& area)
    : target_(target), area_(area), memory_(target) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width > 0 && height > 0) bitmap_.Reset(CreateCompatibleBitmap(target, width, height));
  if (bitmap_) old_ = SelectObject(memory_.get(), bitmap_.get());
  SetViewportOrgEx(memory_.get(), -area.left, -area.top, nullptr);
  // Text drawn into the buffer looks as it would on the target.
  SelectObject(memory_.get(), GetCurrentObject(target, OBJ_FONT));
  SetTextColor(memory_.get(), GetTextColor(target));
  SetBkColor(memory_.get(), GetBkColor(target));
}

BufferedPaint::~BufferedPaint() {
  if (!bitmap_) return;
  BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
         memory_.get(), area_.left, area_.top, SRCCOPY);
  SelectObject(memory_.get(), old_);
}

void FillSolid(HDC dc, const RECT& area, COLORREF color) {
  const Brush brush = MakeBrush(color);
  FillRect(dc, &area, brush.get());
}

void DrawTextIn(HDC dc, const std::string& text, RECT area, UINT format) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
  SetBkMode(dc, oldMode);
}

SIZE TextExtent(HDC dc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

}  // namespace wingui
