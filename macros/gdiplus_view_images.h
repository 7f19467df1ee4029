#pragma once
// The keypad view's pictures decoded by GDI+ (started by the program): each picture is a
// bitmap and, with a canvas, a cached bitmap made for the canvas's graphics.

#include <windows.h>
#include <objidl.h>  // gdiplus needs it with the lean headers
#include <gdiplus.h>

#include <memory>

#include "macros/model/view_images.h"

class GdiplusCanvas : public ViewCanvas {
 public:
  GdiplusCanvas(std::unique_ptr<Gdiplus::Bitmap> background, int width, int height);
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  Gdiplus::Bitmap& Bitmap() { return *bitmap_; }
  Gdiplus::Graphics& Graphics() { return *graphics_; }
  Gdiplus::Bitmap& Background() { return *background_; }
  Gdiplus::CachedBitmap* CachedBackground() { return cachedBackground_.get(); }

 private:
  int width_;
  int height_;
  std::unique_ptr<Gdiplus::Bitmap> background_;
  std::unique_ptr<Gdiplus::Bitmap> bitmap_;  // 32-bit ARGB, the size of the background
  std::unique_ptr<Gdiplus::Graphics> graphics_;
  std::unique_ptr<Gdiplus::CachedBitmap> cachedBackground_;
};

class GdiplusImage : public ViewImage {
 public:
  GdiplusImage(std::unique_ptr<Gdiplus::Bitmap> bitmap, GdiplusCanvas* canvas);
  int Width() const override;
  int Height() const override;
  Gdiplus::Bitmap& Bitmap() { return *bitmap_; }
  Gdiplus::CachedBitmap* Cached() { return cached_.get(); }

 private:
  std::unique_ptr<Gdiplus::Bitmap> bitmap_;
  std::unique_ptr<Gdiplus::CachedBitmap> cached_;  // null without a canvas
};

class GdiplusImageLoader : public ViewImageLoader {
 public:
  std::shared_ptr<ViewCanvas> CreateCanvas(const std::wstring& backgroundPath) override;
  // The canvas must be one of this loader's (or null).
  std::shared_ptr<ViewImage> LoadImage(const std::wstring& path, ViewCanvas* canvas) override;
};

// GDI+ for the life of the object (the program starts it itself; tests use this).
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool Ok() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};
