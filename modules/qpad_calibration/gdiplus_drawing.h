#pragma once
// The overlay's pictures, text styles and canvas in GDI+ (the flat interface, so that every
// failure is a status, never an exception or a null object). The host process starts GDI+.
#include <windows.h>
#include <objidl.h>  // gdiplus needs it with the lean headers
#include <gdiplus.h>

#include <memory>
#include <string>

#include "modules/qpad_calibration/overlay_scene.h"

namespace qpadcal {

template <typename T, Gdiplus::GpStatus(WINGDIPAPI* Free)(T*)>
struct GdipFree {
  void operator()(T* object) const {
    if (object) Free(object);
  }
};
using GdipImagePtr =
    std::unique_ptr<Gdiplus::GpImage,
                    GdipFree<Gdiplus::GpImage, Gdiplus::DllExports::GdipDisposeImage>>;
using GdipFontPtr = std::unique_ptr<Gdiplus::GpFont,
                                    GdipFree<Gdiplus::GpFont, Gdiplus::DllExports::GdipDeleteFont>>;
using GdipBrushPtr =
    std::unique_ptr<Gdiplus::GpBrush,
                    GdipFree<Gdiplus::GpBrush, Gdiplus::DllExports::GdipDeleteBrush>>;

class GdipPicture : public OverlayPicture {
 public:
  explicit GdipPicture(GdipImagePtr image);
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  Gdiplus::GpImage* image() const { return image_.get(); }  // null: nothing to draw

 private:
  GdipImagePtr image_;
  int width_ = 0;
  int height_ = 0;
};

class GdipTextStyle : public OverlayTextStyle {
 public:
  GdipTextStyle(GdipFontPtr font, GdipBrushPtr brush)
      : font_(std::move(font)), brush_(std::move(brush)) {}
  Gdiplus::GpFont* font() const { return font_.get(); }  // either null: no text drawn
  Gdiplus::GpBrush* brush() const { return brush_.get(); }

 private:
  GdipFontPtr font_;
  GdipBrushPtr brush_;
};

std::unique_ptr<OverlayPicture> LoadGdipPicture(const std::wstring& path);
// Regular style at the size in points; a family that does not exist gives the generic
// sans-serif family (GDI+ itself would give no font and the text would not be drawn).
std::unique_ptr<OverlayTextStyle> MakeGdipTextStyle(const std::wstring& familyName, float points,
                                                    Rgb colour);

// Draws into a device context (a window's paint) with near-aligned text.
class GdipCanvas : public OverlayCanvas {
 public:
  explicit GdipCanvas(HDC dc);
  ~GdipCanvas() override;
  GdipCanvas(const GdipCanvas&) = delete;
  GdipCanvas& operator=(const GdipCanvas&) = delete;
  void DrawPicture(const OverlayPicture& picture, const IntRect& rect) override;
  void DrawText(const std::wstring& text, const OverlayTextStyle& style,
                const FloatRect& layout) override;

 private:
  Gdiplus::GpGraphics* graphics_ = nullptr;
  Gdiplus::GpStringFormat* format_ = nullptr;
};

}  // namespace qpadcal
