// Pages of a form: child windows, one shown at a time, that paint their pictures and outline
// shapes themselves (under their child controls) and pass control notifications on to the form.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "calibration/vcl/controls.h"
#include "calibration/vcl/jpeg_image.h"
#include "platform/wingui/window.h"

namespace vcl {

// A decoded picture as a device-independent bitmap.
class Bitmap {
 public:
  explicit Bitmap(const PixelImage& image);
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  // A JPEG stored as an RCDATA resource of the module; null when it is missing or damaged.
  static std::unique_ptr<Bitmap> FromJpegResource(HINSTANCE module, int id);
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Draw(HDC dc, int left, int top) const;

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0, height_ = 0;
};

class Page;

// A picture drawn by its page.
class Picture {
 public:
  Picture(Page& page, const Bitmap* bitmap, int left, int top, bool visible);
  void SetVisible(bool visible);
  void SetPosition(int left, int top);
  bool Visible() const { return visible_; }
  int Left() const { return left_; }
  int Top() const { return top_; }
  void Paint(HDC dc) const;

 private:
  RECT Rect() const;
  Page& page_;
  const Bitmap* bitmap_;
  int left_, top_;
  bool visible_;
};

// A rounded rectangle outline (3-pixel pen) drawn by its page; a clear pen draws nothing.
class Shape {
 public:
  Shape(Page& page, const Bounds& bounds, int tag);
  int Tag() const { return tag_; }
  void SetVisible(bool visible);
  void SetSolid(bool solid);
  void SetBounds(const Bounds& bounds);
  bool Visible() const { return visible_; }
  bool Solid() const { return solid_; }
  const Bounds& GetBounds() const { return bounds_; }
  void Paint(HDC dc) const;

 private:
  void Invalidate() const;
  Page& page_;
  Bounds bounds_;
  int tag_;
  bool visible_ = true;
  bool solid_ = false;
};

class Page : public wingui::Window {
 public:
  Page(HWND parent, int number, const Bounds& bounds);

  HWND Handle() const { return hwnd(); }
  int Number() const { return number_; }
  void SetVisible(bool visible);
  Picture& AddPicture(const Bitmap* bitmap, int left, int top, bool visible = true);
  Shape& AddShape(const Bounds& bounds, int tag);
  const std::vector<std::unique_ptr<Shape>>& Shapes() const { return shapes_; }
  void InvalidateRect(const RECT& r) const;

 private:
  bool HandleMessage(wingui::Message& m) override;
  void Paint(HDC dc, const RECT& area) override;
  int number_;
  std::vector<std::unique_ptr<Picture>> pictures_;
  std::vector<std::unique_ptr<Shape>> shapes_;
};

// The face brush shared by forms, pages and labels.
HBRUSH FaceBrush();

}  // namespace vcl
