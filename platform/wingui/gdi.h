#pragma once
// GDI with scope objects: pens, brushes, fonts and bitmaps deleted with their owner, objects
// selected for a scope, device contexts released, and painting through a memory bitmap.

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

namespace wingui {

// A GDI object deleted with its owner.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

Pen MakePen(COLORREF color, int width = 1, int style = PS_SOLID);
Brush MakeBrush(COLORREF color);
// A font by face and size in points for the screen, or for the reference DC (a printer).
Font MakeFont(const std::string& face, int points, int weight = FW_NORMAL, bool italic = false,
              HDC reference = nullptr);

// Selects an object into a DC for the scope and then puts the old one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectScope() { SelectObject(dc_, old_); }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// GetDC / ReleaseDC of a window (null: the screen).
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  // False when the window gave none.
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory DC compatible with reference (null: the screen).
class MemoryDc {
 public:
  explicit MemoryDc(HDC reference = nullptr) : dc_(CreateCompatibleDC(reference)) {}
  ~MemoryDc() { DeleteDC(dc_); }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// BeginPaint / EndPaint of WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { BeginPaint(window, &paint_); }
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return paint_.hdc; }
  const RECT& dirty() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
};

// A 32-bit top-down bitmap with a DC of its own whose pixels can be read and written: an
// off-screen canvas, and what tests paint into.
class DibBitmap {
 public:
  DibBitmap(int width, int height);
  DibBitmap(const DibBitmap&) = delete;
  DibBitmap& operator=(const DibBitmap&) = delete;
  ~DibBitmap();

  explicit operator bool() const { return bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // RGB(...) of a pixel once GDI is done (0 outside the bitmap).
  COLORREF Pixel(int x, int y) const;
  // The pixels, rows top to bottom, each 0x00RRGGBB.
  const std::uint32_t* bits() const { return bits_; }

 private:
  int width_;
  int height_;
  MemoryDc dc_;
  Bitmap bitmap_;
  std::uint32_t* bits_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Painting through a memory bitmap the size of an area: the caller draws into dc() in the
// target's own coordinates (with the target's font and colours), and the finished area is
// copied to the target at the end, so the area never shows half-painted.
class BufferedPaint {
 public:
  BufferedPaint(HDC target, const RECT& area);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  HDC dc() const { return memory_.get(); }
  const RECT& area() const { return area_; }

 private:
  HDC target_;
  RECT area_;
  MemoryDc memory_;
  Bitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

void FillSolid(HDC dc, const RECT& area, COLORREF color);
// Text in the DC's current font and colour, transparent over what is there.
void DrawTextIn(HDC dc, const std::string& text, RECT area,
                UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE);
SIZE TextExtent(HDC dc, const std::string& text);

}  // namespace wingui
