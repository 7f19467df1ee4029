// Pages with their windowless pictures and shapes.
#include "calibration/vcl/page.h"

#include "calibration/vcl/application.h"

namespace vcl {

namespace {
constexpr const char* kPageClass = "TTabSheet";
constexpr COLORREF kOutlineColour = RGB(0xD0, 0x10, 0x10);

void RegisterPageClass() {
  wingui::WindowClass page;
  page.name = kPageClass;
  page.style = 0;
  page.background = nullptr;  // a page paints all of itself, off screen
  wingui::RegisterWindowClass(page);
}
}  // namespace

HBRUSH FaceBrush() {
  static HBRUSH brush = CreateSolidBrush(kFaceColour);
  return brush;
}

Bitmap::Bitmap(const PixelImage& image) : width_(image.width), height_(image.height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = image.width;
  bi.bmiHeader.biHeight = -image.height;  // rows top to bottom
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ && bits) memcpy(bits, image.bgr.data(), image.bgr.size());
}

Bitmap::~Bitmap() {
  if (bitmap_) DeleteObject(bitmap_);
}

std::unique_ptr<Bitmap> Bitmap::FromJpegResource(HINSTANCE module, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  PixelImage image;
  if (!data || !DecodeJpeg(static_cast<const std::uint8_t*>(data), SizeofResource(module, found), image))
    return nullptr;
  return std::make_unique<Bitmap>(image);
}

void Bitmap::Draw(HDC dc, int left, int top) const {
  if (!bitmap_) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap_);
  BitBlt(dc, left, top, width_, height_, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

Picture::Picture(Page& page, const Bitmap* bitmap, int left, int top, bool visible)
    : page_(page), bitmap_(bitmap), left_(left), top_(top), visible_(visible) {}

RECT Picture::Rect() const {
  const int w = bitmap_ ? bitmap_->Width() : 0, h = bitmap_ ? bitmap_->Height() : 0;
  return RECT{left_, top_, left_ + w, top_ + h};
}

void Picture::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  page_.InvalidateRect(Rect());
}

void Picture::SetPosition(int left, int top) {
  if (left == left_ && top == top_) return;
  page_.InvalidateRect(Rect());
  left_ = left;
  top_ = top;
  page_.InvalidateRect(Rect());
}

void Picture::Paint(HDC dc) const {
  if (visible_ && bitmap_) bitmap_->Draw(dc, left_, top_);
}

Shape::Shape(Page& page, const Bounds& bounds, int tag) : page_(page), bounds_(bounds), tag_(tag) {}

void Shape::Invalidate() const {
  page_.InvalidateRect(RECT{bounds_.left - 2, bounds_.top - 2, bounds_.left + bounds_.width + 2,
                            bounds_.top + bounds_.height + 2});
}

void Shape::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Invalidate();
}

void Shape::SetSolid(bool solid) {
  if (solid == solid_) return;
  solid_ = solid;
  Invalidate();
}

void Shape::SetBounds(const Bounds& b) {
  if (b.left == bounds_.left && b.top == bounds_.top && b.width == bounds_.width &&
      b.height == bounds_.height)
    return;
  Invalidate();
  bounds_ = b;
  Invalidate();
}

void Shape::Paint(HDC dc) const {
  if (!visible_ || !solid_) return;
  HPEN pen = CreatePen(PS_SOLID, 3, kOutlineColour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  // The pen is centred on the rectangle's edge, as the shape's bounds are its outer edge.
  RoundRect(dc, bounds_.left + 1, bounds_.top + 1, bounds_.left + bounds_.width - 1,
            bounds_.top + bounds_.height - 1, 12, 12);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

Page::Page(HWND parent, int number, const Bounds& b) : number_(number) {
  DrawsItself();
  RegisterPageClass();
  CreateArgs args;
  args.className = kPageClass;
  args.style = WS_CHILD | WS_CLIPCHILDREN;
  args.exStyle = WS_EX_CONTROLPARENT;
  args.x = b.left;
  args.y = b.top;
  args.width = b.width;
  args.height = b.height;
  args.parent = parent;
  Create(args);
}

void Page::SetVisible(bool visible) { Show(visible ? SW_SHOWNA : SW_HIDE); }

Picture& Page::AddPicture(const Bitmap* bitmap, int left, int top, bool visible) {
  pictures_.push_back(std::make_unique<Picture>(*this, bitmap, left, top, visible));
  return *pictures_.back();
}

Shape& Page::AddShape(const Bounds& bounds, int tag) {
  shapes_.push_back(std::make_unique<Shape>(*this, bounds, tag));
  return *shapes_.back();
}

void Page::InvalidateRect(const RECT& r) const { ::InvalidateRect(hwnd(), &r, FALSE); }

void Page::Paint(HDC dc, const RECT& area) {
  const RECT client = ClientRect();
  // Drawn off screen first, so that a blinking outline does not flicker.
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ old = SelectObject(mem, canvas);
  FillRect(mem, &client, FaceBrush());
  for (const auto& p : pictures_) p->Paint(mem);
  for (const auto& s : shapes_) s->Paint(mem);
  BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, mem, area.left,
         area.top, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(canvas);
  DeleteDC(mem);
}

bool Page::HandleMessage(wingui::Message& m) {
  switch (m.id) {
    case WM_ERASEBKGND:
      m.result = 1;
      return true;
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // The form answers for every control, wherever it sits.
      m.result = SendMessageA(GetParent(hwnd()), m.id, m.wParam, m.lParam);
      return true;
    case WM_SETCURSOR:
      if (Application::Busy()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        m.result = TRUE;
        return true;
      }
      break;
  }
  return wingui::Window::HandleMessage(m);
}

}  // namespace vcl
