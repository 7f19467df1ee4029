#pragma once
// The pixels of a window's client area as they are on the display, for checks of solid areas
// and for PNGs under build/pictures.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/png_writer.h"
#include "tests/support/scratch_dir.h"

namespace qpadcaltest {

struct Colour {
  int r = 0, g = 0, b = 0;
  bool Near(Colour o, int tolerance = 12) const {
    return std::abs(r - o.r) <= tolerance && std::abs(g - o.g) <= tolerance &&
           std::abs(b - o.b) <= tolerance;
  }
};

inline std::string ColourText(Colour c) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

class ClientPixels {
 public:
  explicit ClientPixels(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    width_ = r.right;
    height_ = r.bottom;
    if (width_ <= 0 || height_ <= 0) return;
    HDC dc = GetDC(window);
    HDC mem = CreateCompatibleDC(dc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
      HGDIOBJ old = SelectObject(mem, dib);
      BitBlt(mem, 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
      GdiFlush();
      const auto* px = static_cast<const std::uint8_t*>(bits);
      rgb_.resize(static_cast<std::size_t>(width_) * height_ * 3);
      for (std::size_t i = 0; i < static_cast<std::size_t>(width_) * height_; ++i) {
        rgb_[i * 3] = px[i * 4 + 2];
        rgb_[i * 3 + 1] = px[i * 4 + 1];
        rgb_[i * 3 + 2] = px[i * 4];
      }
      SelectObject(mem, old);
      DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(window, dc);
  }

  int width() const { return width_; }
  int height() const { return height_; }
  Colour At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || rgb_.empty()) return {-1, -1, -1};
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {rgb_[i], rgb_[i + 1], rgb_[i + 2]};
  }
  // Pixels inside [x0, x1) x [y0, y1) for which pred holds.
  template <typename Pred>
  int Count(int x0, int y0, int x1, int y1, Pred pred) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (pred(At(x, y))) ++n;
    return n;
  }
  // Under build/pictures, for a look by eye.
  bool SavePng(const std::string& name) const {
    std::string folder = testsupport::EnvOr("ORVANE_BIN");
    folder = folder.substr(0, folder.find_last_of('\\')) + "\\pictures";
    testsupport::MakeDirs(folder);
    return !rgb_.empty() &&
           testsupport::WriteBinaryFile(folder + "\\" + name,
                                        testsupport::EncodePngRgb(width_, height_, rgb_));
  }

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::uint8_t> rgb_;
};

}  // namespace qpadcaltest
